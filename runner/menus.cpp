// The two tray menus and the starting of a command.
#include "runner.h"

#include "hotkey_text.h"

namespace {

// Opens above and to the left of the pointer; items are chosen with the left button.
constexpr UINT MENU_TRACK_FLAGS = TPM_RIGHTALIGN | TPM_BOTTOMALIGN;
static_assert(MENU_TRACK_FLAGS == 0x28, "menu position flags");

constexpr char SEPARATOR_MARK = '-';
constexpr char ACCELERATOR_COLUMN = '\t';

struct ControlItem {
  UINT Id;
  const char* Text;  // null: a separator
};

constexpr ControlItem CONTROL_MENU[] = {
    {IDM_ABOUT, "About Tasklark"},
    {IDM_SETUP, "Setup Tasklark"},
    {0, nullptr},
    {IDM_LOAD, "Load commandset"},
    {IDM_SAVEAS, "Save commandset as ..."},
    {0, nullptr},
    {IDM_CLOSE, "Close Tasklark"},
};

// The name, a TAB and the hotkey text shown in the accelerator column.
using MenuLabel = FixedText<NAME_CAPACITY + 1 + HotkeyText::capacity()>;

bool IsSeparator(const CommandRecord& record) {
  std::string_view name = record.Name.Stored();
  return !name.empty() && name[0] == SEPARATOR_MARK;
}

void AppendSeparator(HMENU menu) { AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); }

// Item ids are the slot indexes, separators included, so an id always names
// its record.
void AppendCommandItem(HMENU menu, int slot) {
  const CommandRecord& record = TheRunner.Commands.Records[slot];
  if (IsSeparator(record)) {
    AppendSeparator(menu);
    return;
  }
  MenuLabel label(MenuLabelText(record));
  label.Append(ACCELERATOR_COLUMN).Append(HotkeyCodeToMenuText(record.Hotkey));
  AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(slot), label.c_str());
}

// Shows the menu at the point and destroys it; a choice arrives afterwards
// as a WM_COMMAND. The runner has to be the foreground window for the menu
// to close when the user clicks elsewhere, and the posted WM_NULL lets a
// second click on the icon work at once.
void TrackAndDestroy(HWND window, HMENU menu, POINT at) {
  SetForegroundWindow(window);
  if (TrackPopupMenu(menu, MENU_TRACK_FLAGS, at.x, at.y, 0, window, nullptr))
    SetForegroundWindow(window);
  PostMessageA(window, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

}  // namespace

void ShowCommandMenu(HWND window) {
  POINT at = {};
  GetCursorPos(&at);
  if (TheRunner.LastIndex < 0) return;  // nothing to offer: no menu at all
  HMENU menu = CreatePopupMenu();
  for (int slot = 0; slot <= TheRunner.LastIndex; ++slot) AppendCommandItem(menu, slot);
  TrackAndDestroy(window, menu, at);
}

void ShowControlMenu(HWND window) {
  POINT at = {};
  GetCursorPos(&at);
  HMENU menu = CreatePopupMenu();
  for (const ControlItem& item : CONTROL_MENU) {
    if (item.Text) AppendMenuA(menu, MF_STRING, item.Id, item.Text);
    else AppendSeparator(menu);
  }
  TrackAndDestroy(window, menu, at);
}

// Starts the record's command line from the root of its drive (from the
// runner's own current directory when that drive is missing) and comes back
// to the directory the runner had.
void RunCommand(int index) {
  const CommandRecord& record = TheRunner.Commands.Records[index];
  FixedText<COMMAND_CAPACITY> commandLine(CommandLineText(record));
  const char root[] = {record.Drive, ':', '\\', '\0'};

  FixedText<CURRENT_DIR_CAPACITY>& saved = TheRunner.SavedDirectory;
  DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(saved.capacity() + 1), saved.data());
  // A directory that could not be remembered is never left.
  bool remembered = length > 0 && length <= saved.capacity();
  if (remembered) {
    saved.TakeCString();
    SetCurrentDirectoryA(root);
  }
  WinExec(commandLine.c_str(), static_cast<UINT>(record.ShowCmd));
  if (remembered) SetCurrentDirectoryA(saved.c_str());
}
