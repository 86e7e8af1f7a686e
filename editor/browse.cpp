// The ".." button: picks a program with the Open dialog for the command field.
#include <windows.h>
#include <commdlg.h>

#include "setup_dialog.h"
#include "wide_text.h"

namespace {

constexpr wchar_t BROWSE_TITLE[] = L"Open a command";
constexpr wchar_t BROWSE_FILTER[] = L"All Files\0*.*\0";  // the literal adds the closing NUL
constexpr DWORD BROWSE_FLAGS = OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER |
                               OFN_NODEREFERENCELINKS | OFN_LONGNAMES;
static_assert(BROWSE_FLAGS == 0x381808, "the Open dialog's flags");
constexpr DWORD BROWSE_FILE_SIZE = 260;          // nMaxFile
constexpr DWORD BROWSE_CUSTOM_FILTER_SIZE = 40;  // nMaxCustFilter
constexpr char NO_ANSI_PATH[] = "The path of this program cannot be stored in a command:\r\n";

// The editor's Open dialog, when it is up: it has no owner, so it may be
// behind the editor's dialog.
HWND OpenDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
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

// The whole path, not empty, in the ANSI code page that commands are kept in.
bool InCodePage(const wchar_t* path, FieldText& ansi) {
  BOOL lost = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, ansi.data(),
                                    static_cast<int>(ansi.capacity() + 1), nullptr, &lost);
  ansi.TakeCString();
  return n > 1 && !lost;  // n counts the NUL
}

// The path as it is, or in its short form, which is ASCII, when the volume
// gives one.
bool AnsiPath(const wchar_t* path, FieldText& ansi) {
  wchar_t shortPath[MAX_PATH] = {};
  return InCodePage(path, ansi) ||
         (GetShortPathNameW(path, shortPath, MAX_PATH) && InCodePage(shortPath, ansi));
}

}  // namespace

void BrowseForCommand() {
  if (Dialog.Browsing) {  // one Open dialog at a time: show the one that is up
    if (HWND open = OpenDialog()) SetForegroundWindow(open);
    return;
  }
  if (fSetup.DriveRefused()) return;

  // The name box starts with the set's name.
  WideText<BROWSE_FILE_SIZE + 1> file(fSetup.SetFileName);
  if (!file.Ok()) file = WideText<BROWSE_FILE_SIZE + 1>("");
  const WideText<PATH_UNITS> folder(fSetup.BrowseDir);
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  dialog.lpstrFilter = BROWSE_FILTER;
  dialog.nMaxCustFilter = BROWSE_CUSTOM_FILTER_SIZE;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = BROWSE_FILE_SIZE;
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrTitle = BROWSE_TITLE;
  dialog.Flags = BROWSE_FLAGS;
  dialog.lpstrDefExt = L"";

  // No owner: the editor's dialog stays usable while the Open dialog is up.
  Dialog.Browsing = true;
  const bool chosen = GetOpenFileNameW(&dialog);
  Dialog.Browsing = false;
  if (!chosen || !IsWindow(Dialog.Handle)) return;
  PathText path;
  FieldText command;
  FromWide(file.c_str(), path);
  if (!AnsiPath(file.c_str(), command)) {
    MessageText text(NO_ANSI_PATH);
    ShowMessage(text.Append(path), MB_OK | MB_ICONSTOP);
    return;
  }
  fSetup.btBrowseChosen(command, DirectoryPart(path));
  ShowForm();
}
