// Loading the command set and registering its hotkeys.
#include "runner.h"

#include "hotkey_text.h"

namespace {

void ReleaseHotkeys(HWND window) {
  for (int id = 0; id < MAX_COMMANDS; ++id) UnregisterHotKey(window, id);
}

// Only combinations with Ctrl or Alt become global hotkeys, with the slot as
// their id. One that cannot be had (another program holds it, an earlier
// record took it, no key types the character) is left out without a word.
void RegisterRecordHotkey(HWND window, int slot) {
  const HotkeyCode& code = TheRunner.Commands.Records[slot].Hotkey;
  if (!WantsGlobalHotkey(code)) return;
  // The key's code, with the shift state the character needs in the high
  // byte, or -1 when no key types it: passed on as it is.
  int key = VkKeyScanA(code.Key);
  RegisterHotKey(window, slot, HotkeyModifiers(code), static_cast<UINT>(key));
}

}  // namespace

bool SetFilePath(PathText& path) {
  path.Clear();
  if (TheRunner.ProgramDir.empty()) return false;
  path.Append(TheRunner.ProgramDir).Append(TheRunner.SetFileName);
  return !path.WasCut();
}

// Brings hotkeys, table and tip in line with the set file. A missing file is
// created empty; one that cannot be read gives an empty set.
void LoadCommandSet() {
  HWND window = TheRunner.Window;
  ReleaseHotkeys(window);
  TheRunner.LastIndex = -1;

  PathText path;
  if (SetFilePath(path)) {
    if (sys::IsExistingFile(path.c_str())) {
      ReadCommandSet(path.c_str(), TheRunner.Commands);
      TheRunner.LastIndex = TheRunner.Commands.Count - 1;
      for (int slot = 0; slot <= TheRunner.LastIndex; ++slot) RegisterRecordHotkey(window, slot);
    } else {
      CreateEmptySetFile(path.c_str());
    }
  }
  UpdateTrayTip();
}
