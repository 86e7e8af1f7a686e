// The ".." button: picks a program with the Open dialog for the command field.
#include <windows.h>
#include <commdlg.h>

#include "control_ids.h"
#include "desktop.h"
#include "setup_dialog.h"
#include "wide_text.h"

namespace {

constexpr wchar_t BROWSE_TITLE[] = L"Open a command";
constexpr wchar_t BROWSE_FILTER[] = L"All Files\0*.*\0";  // the literal adds the closing NUL
constexpr DWORD BROWSE_FLAGS = OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER |
                               OFN_NODEREFERENCELINKS | OFN_LONGNAMES;
static_assert(BROWSE_FLAGS == 0x381808, "the Open dialog's flags");
constexpr desktop::FileDialog OPEN_COMMAND = {BROWSE_TITLE, BROWSE_FILTER, L"", BROWSE_FLAGS, false};
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
bool AnsiPath(std::string_view path, FieldText& ansi) {
  const WideText<PATH_UNITS> wide(path);
  wchar_t shortPath[MAX_PATH] = {};
  return wide.Ok() && (InCodePage(wide.c_str(), ansi) ||
                       (GetShortPathNameW(wide.c_str(), shortPath, MAX_PATH) && InCodePage(shortPath, ansi)));
}

}  // namespace

void BrowseForCommand(SetupDialog& dialog) {
  if (dialog.Browsing) {  // one Open dialog at a time: show the one that is up
    if (HWND open = OpenDialog()) SetForegroundWindow(open);
    return;
  }
  SetupForm& form = dialog.Form;
  if (form.DriveRefused()) return;

  // No owner: the editor's dialog stays usable while the Open dialog is up.
  // The name box starts with the set's name.
  dialog.Browsing = true;
  const PathText path = desktop::ChooseFile(nullptr, OPEN_COMMAND, form.SetFileName, form.BrowseDir);
  dialog.Browsing = false;
  if (path.empty() || !IsWindow(dialog.Handle)) return;
  FieldText command;
  if (!AnsiPath(path, command)) {
    MessageText text(NO_ANSI_PATH);
    desktop::ShowMessage(dialog.Handle, text.Append(path), APP_TITLE_WIDE, MB_OK | MB_ICONSTOP);
    return;
  }
  form.TakeBrowsedProgram(command, DirectoryPart(path));
  ShowForm(dialog);
}
