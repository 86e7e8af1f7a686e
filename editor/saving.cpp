// Ok and Cancel: the two ways out of the editor.
#include <windows.h>

#include "command_set.h"
#include "control_ids.h"
#include "runner_link.h"
#include "setup_form.h"

namespace {

using MessageText = FixedText<1023>;
constexpr char SAVE_FAILED[] = "The command set could not be saved to\r\n";
constexpr char READ_FAILED[] = "The command set could not be read from\r\n";
constexpr char READ_FAILED_CONSEQUENCE[] =
    "\r\n\r\nThe list starts empty. Ok would replace the file with this list; "
    "Cancel leaves it as it is.";
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

namespace {

// What failed, on which file, and the system's reason.
void DescribeFailure(MessageText& text, const char* what, const PathText& path, sys::ErrorCode error) {
  FixedText<255> reason;
  sys::DescribeError(error, reason);
  text.Append(what).Append(path);
  if (path.WasCut()) text.Append(CUT_MARK);
  text.Append("\r\n\r\n").Append(reason);
}

}  // namespace

void TfSetup::ReportSaveFailure(sys::ErrorCode error) {
  MessageText text;
  DescribeFailure(text, SAVE_FAILED, SetPath, error);
  MessageBoxA(Handle, text.c_str(), APP_TITLE, MB_OK | MB_ICONSTOP);
}

void TfSetup::ReportUnreadableSet(sys::ErrorCode error) {
  MessageText text;
  DescribeFailure(text, READ_FAILED, SetPath, error);
  text.Append(READ_FAILED_CONSEQUENCE);
  MessageBoxA(Handle, text.c_str(), APP_TITLE, MB_OK | MB_ICONWARNING);
}
