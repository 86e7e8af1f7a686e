// Filling in a command without typing: the hotkey field takes the key
// combinations pressed in it, and the ".." button picks a program with the
// Open dialog.
#include <windows.h>
#include <commdlg.h>

#include "field_text.h"
#include "hotkey_text.h"
#include "paths.h"
#include "setup_form.h"

namespace {

// Bit 29 of a key message's data: Alt is held.
constexpr LPARAM ALT_CONTEXT_BIT = LPARAM(1) << 29;

// The Open dialog.
constexpr char BROWSE_TITLE[] = "Open a command";
constexpr char BROWSE_FILTER[] = "All Files\0*.*\0";  // the literal adds the closing NUL
constexpr DWORD BROWSE_FLAGS = OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER |
                               OFN_NODEREFERENCELINKS | OFN_LONGNAMES;
static_assert(BROWSE_FLAGS == 0x381808, "the Open dialog's flags");
constexpr DWORD BROWSE_FILE_SIZE = 260;          // nMaxFile
constexpr DWORD BROWSE_CUSTOM_FILTER_SIZE = 40;  // nMaxCustFilter
constexpr std::size_t BROWSE_BUFFER_SIZE = BROWSE_FILE_SIZE + 2;
constexpr std::size_t NAME_FROM_FILE_CAPACITY = 255;
// The name Add gives a new command: a command named so, or not at all, is
// named after the program picked for it.
constexpr std::string_view UNNAMED = "[Name]";

std::string_view Trimmed(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

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

bool TfSetup::PreviewKey(const MSG& msg) {
  if (msg.hwnd != eHotkey || (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)) return false;
  TShiftState shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= SS_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) shift |= SS_CTRL;
  if (msg.lParam & ALT_CONTEXT_BIT) shift |= SS_ALT;
  return eHotkeyKeyDown(static_cast<WORD>(msg.wParam), shift);
}

bool TfSetup::eHotkeyKeyDown(WORD key, TShiftState shift) {
  if (!(shift & (SS_CTRL | SS_ALT))) return false;  // no hotkey without Ctrl or Alt
  SetFieldText(eHotkey, FormatShortCut(ComposeShortCut(key, shift)));
  // Taken: Alt+O becomes a hotkey here and does not also press Ok.
  return true;
}

void TfSetup::btBrowseClick() {
  if (Browsing) {  // one Open dialog at a time: show the one that is up
    if (HWND open = OpenDialog()) SetForegroundWindow(open);
    return;
  }

  char file[BROWSE_BUFFER_SIZE] = {};
  const std::string_view initialName(SetFileName.c_str());
  for (std::size_t i = 0; i < initialName.size() && i < BROWSE_FILE_SIZE; ++i) file[i] = initialName[i];

  OPENFILENAMEA dialog = {};
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.lpstrFilter = BROWSE_FILTER;
  dialog.nMaxCustFilter = BROWSE_CUSTOM_FILTER_SIZE;
  dialog.lpstrFile = file;
  dialog.nMaxFile = BROWSE_FILE_SIZE;
  dialog.lpstrInitialDir = BrowseDir.c_str();
  dialog.lpstrTitle = BROWSE_TITLE;
  dialog.Flags = BROWSE_FLAGS;
  dialog.lpstrDefExt = "";

  // No owner: the editor's dialog stays usable while the Open dialog is up.
  Browsing = true;
  const bool chosen = GetOpenFileNameA(&dialog);
  Browsing = false;
  if (!chosen || !IsWindow(Handle)) return;

  const std::string_view path(file);
  SetFieldText(eCommand, path);
  FieldText name;
  ReadFieldText(eName, name);
  const std::string_view trimmed = Trimmed(name);
  if (trimmed.empty() || trimmed == UNNAMED) {
    const std::string_view fileName = FileNamePart(path);
    const std::size_t kept = fileName.size() < NAME_FROM_FILE_CAPACITY ? fileName.size() : NAME_FROM_FILE_CAPACITY;
    SetFieldText(eName, std::string_view(fileName.data(), kept));
  }
  BrowseDir.Clear();
  BrowseDir.Append(DirectoryPart(path));
}
