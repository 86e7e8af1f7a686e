// Loading the command set and registering its hotkeys.
#include "runner.h"

static_assert(HOTKEY_ALREADY_REGISTERED == ERROR_HOTKEY_ALREADY_REGISTERED, "the system's answer");

void ReleaseHotkeys(HWND window) {
  for (int id = 0; id < MAX_COMMANDS; ++id) UnregisterHotKey(window, id);
}

// Brings the window's hotkeys, the model's table and the icon's tip in line
// with the set file, and tells once which hotkeys could not be had (another
// program holds one, an earlier record took it, no key types its character,
// or the system's reason) and how many commands the file held beyond those used.
void LoadCommandSet(HWND window, RunnerModel& model, TrayIcon& tray) {
  ReleaseHotkeys(window);
  HotkeyWish wishes[MAX_COMMANDS];
  const int count = model.Load(wishes);
  for (HotkeyWish& wish : wishes) {
    if (&wish - wishes == count) break;
    // The key's code, with the shift state the character needs in the high
    // byte, passed on as it is; -1 when no key types it, which no hotkey has.
    wish.VirtualKey = VkKeyScanA(wish.Key);
    wish.Registered = wish.VirtualKey != -1 &&
                      RegisterHotKey(window, wish.Slot, wish.Modifiers, static_cast<UINT>(wish.VirtualKey));
    if (!wish.Registered && wish.VirtualKey != -1) wish.Error = GetLastError();
  }
  UpdateTrayTip(tray, model.Tip());
  const MessageText notice = model.LoadNotice(wishes, count);
  if (!notice.empty()) ShowLoadBalloon(tray, notice);
}
