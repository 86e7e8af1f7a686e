// Ok and Cancel: the two ways out of the editor.
#include <windows.h>

#include "command_set.h"
#include "control_ids.h"
#include "runner_link.h"
#include "setup_form.h"

namespace {

using MessageText = FixedText<1023>;
constexpr char SAVE_FAILED[] = "The command set could not be saved to\r\n";
constexpr char CUT_MARK[] = "...";

}  // namespace

void TfSetup::btnOkClick() {
  StoreRecord(CurrentIndex);
  // Written beside the set file and moved over it in one step: a failure
  // leaves the previous file whole, and the dialog keeps every edit.
  sys::ErrorCode error = ERROR_FILENAME_EXCED_RANGE;
  if (SetPath.WasCut() || !SaveCommandSet(SetPath.c_str(), Commands, error)) {
    ReportSaveFailure(error);
    return;
  }
  if (HWND runner = FindWindowA(RUNNER_CLASS_NAME, nullptr)) PostMessageA(runner, WM_RELOADSET, 0, 0);
  Close();
}

void TfSetup::btnCancelClick() { Close(); }

void TfSetup::Close() { DestroyWindow(Handle); }

void TfSetup::ReportSaveFailure(sys::ErrorCode error) {
  FixedText<255> reason;
  sys::DescribeError(error, reason);
  MessageText text;
  text.Append(SAVE_FAILED).Append(SetPath);
  if (SetPath.WasCut()) text.Append(CUT_MARK);
  text.Append("\r\n\r\n").Append(reason);
  MessageBoxA(Handle, text.c_str(), APP_TITLE, MB_OK | MB_ICONSTOP);
}
