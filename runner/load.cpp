// Loading the command set and registering its hotkeys.
#include "runner.h"

void ReleaseHotkeys(HWND window) {
  for (int id = 0; id < MAX_COMMANDS; ++id) UnregisterHotKey(window, id);
}

// Brings hotkeys, table and tip in line with the set file. A hotkey that
// cannot be had (another program holds it, an earlier record took it, no key
// types the character) is left out.
void LoadCommandSet() {
  HWND window = TheRunner.Window;
  ReleaseHotkeys(window);
  HotkeyWish wishes[MAX_COMMANDS];
  const int count = TheRunner.Model.Load(wishes);
  for (int i = 0; i < count; ++i) {
    // The key's code, with the shift state the character needs in the high
    // byte, or -1 when no key types it: passed on as it is.
    const int key = VkKeyScanA(wishes[i].Key);
    RegisterHotKey(window, wishes[i].Slot, wishes[i].Modifiers, static_cast<UINT>(key));
  }
  UpdateTrayTip();
}
