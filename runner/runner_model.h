// What the runner does, apart from any window: the set it holds, the answer to
// each command id, the items of its two menus, the start of a command and
// what it opens when it names no program, the editor's command line and the
// steps of Save as. The rest of runner/ puts this on the screen and into the
// system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ansi_text.h"
#include "command_set.h"
#include "fixed_text.h"
#include "hotkey_text.h"
#include "messages.h"
#include "error.h"
#include "paths.h"
#include "program.h"

// A set file's name without its folder: 255 UTF-16 units, in UTF-8.
constexpr std::size_t SET_FILE_NAME_CAPACITY = 3 * 255;
using SetFileNameText = FixedText<SET_FILE_NAME_CAPACITY>;

// The tray icon's tip holds 64 characters with the closing NUL, its balloon
// 256 (UTF-16 units); the balloon tells of at most 5 hotkeys.
constexpr std::size_t TIP_CHARS = 64;
constexpr std::size_t BALLOON_CHARS = 256;
constexpr int BALLOON_LINES = 5;

// The tray shows its icon at the small-icon size of the screen's resolution:
// 16 pixels at 96 per inch, 20 at 120, 24 at 144, 32 at 192.
int TrayIconPixels(unsigned dpi);

// The name, a TAB and the hotkey text in the menu's accelerator column.
using MenuLabel = FixedText<NAME_CAPACITY + 1 + HotkeyText::capacity()>;

enum class RunnerCommand { None, Run, About, Setup, Load, SaveAs, Close };

struct ControlMenuItem {
  unsigned Id;
  const char* Text;  // null: a separator
};
constexpr int CONTROL_MENU_SIZE = 7;
extern const ControlMenuItem CONTROL_MENU[CONTROL_MENU_SIZE];

struct CommandMenuItem {
  bool Separator;
  MenuLabel Label;  // ends at its first NUL when handed to the menu
};

// A record's hotkey as the system registers it: only with Ctrl or Alt.
struct HotkeyWish {
  int Slot;
  unsigned Modifiers;  // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4
  char Key;            // the character whose key is asked of the layout
  // What the system answered: the key (-1: no key types the character),
  // whether the hotkey was given, and if not, why (0: not told).
  int VirtualKey;
  bool Registered;
  error::Code Error;
};
// The system's answer for a hotkey that is taken already.
constexpr error::Code HOTKEY_ALREADY_REGISTERED = 1409;

// Starting a record's command: from the root of its drive, with its show command.
struct Launch {
  char Root[4];
  FixedText<COMMAND_CAPACITY> CommandLine;
  std::int32_t ShowCmd;
};

// A command line as it starts: UTF-8, as long as any the system takes.
using CommandText = program::Line;

// The system's answers to a start whose command names no program. These are
// Windows' codes: the runner starts commands on Windows only.
namespace start_error {
constexpr error::Code FILE_NOT_FOUND = 2;
constexpr error::Code PATH_NOT_FOUND = 3;
constexpr error::Code ACCESS_DENIED = 5;     // a folder
constexpr error::Code INVALID_NAME = 123;    // a web address, on Windows
constexpr error::Code BAD_EXE_FORMAT = 193;  // a document or a shortcut
}  // namespace start_error

// What a command opens when it names no program, as the shell opens a file
// or folder that is double-clicked: the target and what goes to it, both
// views into the command line.
struct OpenTarget {
  std::string_view Target;
  std::string_view Parameters;  // empty when there are none
};

// What the tray icon tells its window (the shell's notification version 4:
// the event in the low word of lParam, the anchor point in wParam). These
// are Windows' numbers; other programs post the two button-down ones too.
namespace tray_event {
constexpr unsigned CONTEXT_MENU = 0x007B;  // the menu key or Shift+F10, and after a right click
constexpr unsigned MOUSE_MOVE = 0x0200;
constexpr unsigned LEFT_DOWN = 0x0201;
constexpr unsigned LEFT_UP = 0x0202;
constexpr unsigned RIGHT_DOWN = 0x0204;
constexpr unsigned RIGHT_UP = 0x0205;
constexpr unsigned SELECT = 0x0400;      // after a left click
constexpr unsigned KEY_SELECT = 0x0401;  // Enter or Space on the icon
}  // namespace tray_event

enum class TrayMenu { None, Commands, Control };
// A menu to open: at the pointer for a click; at the anchor point with its
// first item chosen for a key, so that Enter starts it and arrows move.
struct TrayOpening {
  TrayMenu Menu;
  bool FromKeyboard;
};

enum class SaveAsStep { Nothing, AskFirst, Copy };
struct SaveAsPlan {
  SaveAsStep Step;
  SetFileNameText Name;
};

struct RunnerModel {
  CommandSet Commands;
  // Slot of the last loaded record; -1 while the set is empty.
  int LastIndex = -1;
  SetFileNameText SetFileName;
  // The program's folder with its separator; empty when its path is unknown.
  PathText ProgramDir;
  // How many records the set file held at the last load: more than the
  // MAX_COMMANDS used when it holds more.
  std::uint64_t RecordsInFile = 0;
  // The code page that records are kept in (ansi_text.h).
  unsigned CodePage = ansi::SYSTEM_CODE_PAGE;

  // The set is the file-name part of the first argument (the default name
  // without one); the program's folder is where set files live.
  void Start(std::string_view commandLine, std::string_view programPath);
  // ProgramDir followed by SetFileName; false when that cannot be named
  // (never opened, created or cut then).
  bool SetFilePath(PathText& path) const;

  // Reads the set file, or creates it empty when there is none, and gives
  // the hotkeys its records ask for, in slot order.
  int Load(HotkeyWish (&wishes)[MAX_COMMANDS]);
  // The balloon after a load, once the hotkeys were registered: how many
  // commands of the file were left out, and a line for each hotkey the
  // system did not give, and why; UTF-8, and empty when all is well.
  MessageText LoadNotice(const HotkeyWish* wishes, int count) const;
  // "Tasklark - " and the set's name (UTF-8), cut to what the tip holds.
  MessageText Tip() const;

  // The menu a notification of the tray icon opens: one click or one key
  // opens one menu. A click opens its menu as the button goes down; the
  // notification the same click brings after it (SELECT after the left
  // button, CONTEXT_MENU after the right) opens nothing. Nothing opens while
  // a menu is open, and the command menu only when the set has commands.
  TrayOpening TrayEvent(unsigned event);
  void TrayMenuClosed() { TrayMenuOpen = false; }

  // What a WM_COMMAND id asks for; `slot` is set for Run. The id is taken
  // whole, and a slot beyond the loaded set runs nothing.
  RunnerCommand CommandFor(std::uintptr_t id, int& slot) const;
  bool HasCommandMenu() const { return LastIndex >= 0; }
  CommandMenuItem CommandMenuEntry(int slot) const;
  Launch LaunchOf(int slot) const;
  // The command line a launch starts: the stored text, read in the records'
  // code page, in UTF-8, with every %NAME% of the runner's environment
  // replaced by its value, so that it may hold characters the code page
  // lacks; a name the environment lacks stays as written. False when the
  // result does not fit: nothing starts then.
  bool ExpandCommand(std::string_view stored, CommandText& line);
  // After the start of `line` failed for `startError`: what to open instead.
  // Only when the start found no program, and only an existing file or
  // folder, or a web address: the whole line (trimmed, and unquoted when it
  // is quoted as a whole), else its first argument with the rest as the
  // parameters. Relative paths are looked up in the current directory,
  // which is the root of the record's drive while the command starts.
  bool OpenTargetOf(std::string_view line, error::Code startError, OpenTarget& target) const;

  // The editor on the current set, both parts quoted.
  bool EditorCommandLine(FixedText<2 * PathText::capacity()>& line) const;

  // Load: the set of the chosen file's name beside the program; false when
  // the path names no file.
  bool TakeChosenName(std::string_view chosenPath);

  // Save as: nothing for the current name; a question first when the chosen
  // folder is another one and the program's folder holds the name already.
  SaveAsPlan PlanSaveAs(std::string_view chosenPath) const;
  // Copies the set file to the plan's name beside the program and goes on
  // under that name; on failure the name stays and `error` tells why.
  bool SaveAs(const SaveAsPlan& plan, error::Code& error);
  MessageText ReplaceQuestion(std::string_view name) const;
  MessageText SaveAsFailure(std::string_view name, error::Code error) const;

 private:
  // The notification that the last click still brings; 0 when none.
  unsigned TrayFollowUp = 0;
  bool TrayMenuOpen = false;
  bool PathOf(std::string_view name, PathText& path) const;
  // A variable's value on its way into a command line.
  program::Line VariableValue;
};
