// The ".." button: picks a program with the Open dialog for the command field.
// The Open dialog runs on a thread of its own, with a message loop of its
// own, so that the editor's dialog goes on taking its keys (Tab, Enter,
// Escape, access keys) while it is up; the choice is posted back.
#include <windows.h>
#include <commdlg.h>

#include "code_page.h"
#include "control_ids.h"
#include "desktop.h"
#include "setup_dialog.h"

namespace {

constexpr wchar_t BROWSE_TITLE[] = L"Open a command";
constexpr wchar_t BROWSE_FILTER[] = L"All Files\0*.*\0";  // the literal adds the closing NUL
constexpr DWORD BROWSE_FLAGS = OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER |
                               OFN_NODEREFERENCELINKS | OFN_LONGNAMES;
static_assert(BROWSE_FLAGS == 0x381808, "the Open dialog's flags");
constexpr desktop::FileDialog OPEN_COMMAND = {BROWSE_TITLE, BROWSE_FILTER, L"", BROWSE_FLAGS, false};
constexpr char NO_ANSI_PATH[] = "The path of this program cannot be stored in a command:\r\n";

// The Open dialog, when it is up: it has no owner, so it may be behind the
// editor's dialog.
HWND OpenDialog(DWORD thread) {
  HWND found = nullptr;
  EnumThreadWindows(
      thread,
      [](HWND window, LPARAM result) -> BOOL {
        wchar_t title[sizeof BROWSE_TITLE / sizeof(wchar_t) + 1] = {};
        GetWindowTextW(window, title, sizeof title / sizeof(wchar_t));
        if (!IsWindowVisible(window) || lstrcmpW(title, BROWSE_TITLE) != 0) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The Open dialog's thread. The form's set name and Browse folder do not
// change while it runs: the editor changes them only when the choice is back.
DWORD WINAPI ChooseProgram(void* data) {
  SetupDialog& dialog = *static_cast<SetupDialog*>(data);
  // No owner: the editor's dialog stays usable while the Open dialog is up.
  // The name box starts with the set's name.
  dialog.Browsed = desktop::ChooseFile(nullptr, OPEN_COMMAND, dialog.Form.SetFileName, dialog.Form.BrowseDir);
  PostMessageA(dialog.Handle, WM_BROWSED, 0, 0);
  return 0;
}

}  // namespace

void BrowseForCommand(SetupDialog& dialog) {
  if (dialog.Browsing) {  // one Open dialog at a time: show the one that is up
    if (HWND open = OpenDialog(dialog.BrowseThread)) SetForegroundWindow(open);
    return;
  }
  if (dialog.Form.DriveRefused()) return;
  HANDLE thread = CreateThread(nullptr, 0, ChooseProgram, &dialog, 0, &dialog.BrowseThread);
  if (!thread) return;
  CloseHandle(thread);
  dialog.Browsing = true;
}

void TakeBrowsedProgram(SetupDialog& dialog) {
  dialog.Browsing = false;
  const PathText& path = dialog.Browsed;
  if (path.empty()) return;
  FieldText command, name;
  if (!ProgramInCodePage(path, CP_ACP, command, name)) {
    MessageText text(NO_ANSI_PATH);
    desktop::ShowMessage(dialog.Handle, text.Append(path), APP_TITLE_WIDE, MB_OK | MB_ICONSTOP);
    return;
  }
  dialog.Form.TakeBrowsedProgram(command, name, DirectoryPart(path));
  ShowForm(dialog);
}
