// The editor's dialog as data: the set it edits, what its fields and its list
// show, which buttons are on, and what each of the user's actions does to
// all of it. The rest of editor/ puts this state on the screen and hands the
// user's input on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "command_set.h"
#include "error.h"
#include "fixed_text.h"
#include "hotkey_text.h"
#include "paths.h"

// Room for any text of a field or a list entry: far more than a record keeps.
using FieldText = FixedText<1023>;

constexpr char DRIVE_BLANK = ' ';

enum class OkOutcome { Refused, Saved, Failed };

// What the fields show.
struct SetupFields {
  FieldText Name;
  FieldText Command;
  int WindowSize = SHOWCMD_NO_ITEM;  // "Default", "Minimized", "Maximized"
  char Drive = DRIVE_BLANK;          // an upper-case letter, or a blank
  HotkeyText Hotkey;
};

class SetupForm {
 public:
  // Reads the set named by the first argument, beside the program
  // (`programPath` is empty when the program's path is unknown: nothing is
  // read then, and Ok says why). False, with the reason, when the file is
  // there but cannot be read: Ok would replace it, so the user must know.
  bool Open(std::string_view commandLine, std::string_view programPath, error::Code& error);

  // The list's selection changed; refused while the drive field was left
  // empty, and the list shows the current entry again.
  void SelectCommand(int selected);
  void Add();
  void Delete();
  void MoveUp();
  void MoveDown();
  // The name field's text changed: typed, or shown from a record.
  void SetName(std::string_view text);
  void SetCommand(std::string_view text) { Fields.Command = FieldText(text); }
  void SetWindowSize(int index) { Fields.WindowSize = index; }
  // A key pressed in the hotkey field; true when it was taken as a hotkey.
  bool PressHotkey(std::uint16_t key, ShiftState shift);
  // The program picked with Browse: its path and its file name in the
  // command's code page, and its folder (UTF-8), where the next Open dialog
  // starts. The path becomes the command, and the file name names a command
  // that has no name yet.
  void TakeBrowsedProgram(std::string_view command, std::string_view name, std::string_view folder);
  // Stores the fields and writes the set; Failed, with the reason, when it
  // cannot be written, and every edit stays.
  OkOutcome Ok(error::Code& error);
  // True when the dialog may close without writing.
  bool CanCancel() const { return !DriveRefused(); }

  // The one-letter drive field: it takes letters only and keeps them in
  // upper case. Left empty after a change, it is refused, and nothing else
  // happens until it holds a letter again or Escape has given back what it
  // held when it got the focus from another control. The focus gone to
  // another window (another program, a message box) and back changes none
  // of this.
  void EnterDrive();
  bool TypeDrive(char typed);  // false: not a letter, refused
  void ClearDrive();
  bool LeaveDrive();  // true: refused
  bool UndoDrive();   // true: a change was undone; false: Escape is Cancel
  bool DriveChanged() const { return Fields.Drive != DriveOnEntry; }
  bool DriveRefused() const { return DriveLeaveRefused; }

  bool CanAdd() const { return Commands.Count < MAX_COMMANDS; }
  bool CanDelete() const { return Commands.Count > 0; }
  int SelectedEntry() const { return CurrentIndex < Commands.Count ? CurrentIndex : -1; }

  // The file holds more records than the list: the user is told at start
  // that only the first MAX_COMMANDS are shown and kept.
  bool SetIsCut() const { return RecordsInFile > MAX_COMMANDS; }

  MessageText ReadFailure(error::Code error) const;
  MessageText SaveFailure(error::Code error) const;
  MessageText CutSetNotice() const;

  // The editor's state.
  ArgumentText SetFileName;     // as named on the command line
  PathText ProgramDir;          // with its separator
  PathText BrowseDir;           // folder of the last program picked with Browse
  PathText SetPath;             // ProgramDir + SetFileName
  bool SetPathKnown;            // false: too long, or the program's folder unknown
  CommandSet Commands;          // slot i is list entry i; slots from Count on are zero
  std::uint64_t RecordsInFile;  // as the set file held them when read
  int CurrentIndex;             // the record the fields show, -1 for none

  // The dialog.
  SetupFields Fields;
  FieldText Entries[MAX_COMMANDS];  // the list: entries 0 to Commands.Count - 1
  char DriveOnEntry;                // the drive field's text when it got the focus
  bool DriveEntered;                // it has the focus, or had it when the user left the dialog
  bool DriveLeaveRefused;

 private:
  void ShowRecord(int index);
  void StoreRecord(int index);
  void MoveRecord(int from, int to);
};
