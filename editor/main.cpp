// larkedit: edits a command set of Tasklark in one dialog, "Configure
// Tasklark". Ok writes the set and has a running Tasklark load it again.
#include <windows.h>
#include <commctrl.h>

#include "setup_dialog.h"

namespace {

// The editor's one dialog and all its state; zero until the dialog starts.
// WinMain hands it to the dialog, which hands it on.
SetupDialog editor;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  HWND dialog = CreateSetupDialog(instance, editor);
  if (!dialog) return 1;
  // The editor has nothing to do hidden.
  ShowWindow(dialog, showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);
  SetForegroundWindow(dialog);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
