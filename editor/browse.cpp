// The ".." button: picks a program with the Open dialog for the command field.
#include <windows.h>
#include <commdlg.h>

#include "setup_dialog.h"

namespace {

constexpr char BROWSE_TITLE[] = "Open a command";
constexpr char BROWSE_FILTER[] = "All Files\0*.*\0";  // the literal adds the closing NUL
constexpr DWORD BROWSE_FLAGS = OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER |
                               OFN_NODEREFERENCELINKS | OFN_LONGNAMES;
static_assert(BROWSE_FLAGS == 0x381808, "the Open dialog's flags");
constexpr DWORD BROWSE_FILE_SIZE = 260;          // nMaxFile
constexpr DWORD BROWSE_CUSTOM_FILTER_SIZE = 40;  // nMaxCustFilter

// The editor's Open dialog, when it is up: it has no owner, so it may be
// behind the editor's dialog.
HWND OpenDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM result) -> BOOL {
        char title[sizeof BROWSE_TITLE + 1] = {};
        GetWindowTextA(window, title, sizeof title);
        if (!IsWindowVisible(window) || std::string_view(title) != BROWSE_TITLE) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

void BrowseForCommand() {
  if (Dialog.Browsing) {  // one Open dialog at a time: show the one that is up
    if (HWND open = OpenDialog()) SetForegroundWindow(open);
    return;
  }
  if (fSetup.DriveRefused()) return;

  // The name box starts with the set's name.
  char file[BROWSE_FILE_SIZE + 2] = {};
  lstrcpynA(file, fSetup.SetFileName.c_str(), BROWSE_FILE_SIZE + 1);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.lpstrFilter = BROWSE_FILTER;
  dialog.nMaxCustFilter = BROWSE_CUSTOM_FILTER_SIZE;
  dialog.lpstrFile = file;
  dialog.nMaxFile = BROWSE_FILE_SIZE;
  dialog.lpstrInitialDir = fSetup.BrowseDir.c_str();
  dialog.lpstrTitle = BROWSE_TITLE;
  dialog.Flags = BROWSE_FLAGS;
  dialog.lpstrDefExt = "";

  // No owner: the editor's dialog stays usable while the Open dialog is up.
  Dialog.Browsing = true;
  const bool chosen = GetOpenFileNameA(&dialog);
  Dialog.Browsing = false;
  if (!chosen || !IsWindow(Dialog.Handle)) return;
  fSetup.btBrowseChosen(file);
  ShowForm();
}
