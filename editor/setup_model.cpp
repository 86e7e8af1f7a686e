#include "setup_model.h"

#include <cstring>

#include "ansi_text.h"
#include "file.h"
#include "runner_link.h"

namespace {

// The name Add gives a new command: a command named so, or not at all, is
// named after the program picked for it.
constexpr std::string_view UNNAMED = "[Name]";
constexpr std::size_t NAME_FROM_FILE_CAPACITY = 255;

std::string_view Trimmed(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// What failed, on which file, and the system's reason.
MessageText Failure(const char* what, const PathText& path, error::Code error) {
  FixedText<255> reason;
  error::Describe(error, reason);
  MessageText text(what);
  text.Append(path);
  if (path.WasCut()) text.Append("...");
  text.Append("\r\n\r\n").Append(reason);
  return text;
}

}  // namespace

bool SetupForm::Open(std::string_view commandLine, std::string_view programPath, error::Code& error) {
  BrowseDir.Clear();
  // The set file: the first argument exactly as given, else the default.
  if (!FirstArgument(commandLine, SetFileName)) SetFileName.Append(DEFAULT_SET_FILE_NAME);
  ProgramDir = PathText(DirectoryPart(programPath));
  SetPath = ProgramDir;
  SetPath.Append(SetFileName);
  // A path that cannot be named whole is never read, nor later written
  // under another name.
  SetPathKnown = !ProgramDir.empty() && !ProgramDir.WasCut() && !SetPath.WasCut();
  std::memset(&Commands, 0, sizeof Commands);
  RecordsInFile = 0;
  bool read = true;
  if (SetPathKnown && !ReadCommandSet(SetPath.c_str(), Commands, &RecordsInFile)) {
    error = error::Last();
    read = !file::Exists(SetPath.c_str());
  }

  CurrentIndex = -1;
  Fields = SetupFields{};
  DriveOnEntry = DRIVE_BLANK;
  DriveEntered = false;
  DriveLeaveRefused = false;
  for (int i = 0; i < Commands.Count; ++i) Entries[i] = FieldText(ShownText(Commands.Records[i].Name));
  if (Commands.Count > 0) SelectCommand(0);
  return read;
}

void SetupForm::ShowRecord(int index) {
  SetupFields shown;
  shown.Drive = 'C';
  if (index >= 0 && index < Commands.Count) {
    const CommandRecord& record = Commands.Records[index];
    shown.WindowSize = IndexByShowCmd(record.ShowCmd);
    shown.Drive = ansi::IsLetter(record.Drive) ? ansi::UpperCase(record.Drive) : DRIVE_BLANK;
    shown.Command.Append(ShownText(record.Command));
    shown.Name.Append(ShownText(record.Name));
    shown.Hotkey = HotkeyCodeToText(record.Hotkey);
  }
  // A name that differs is a change of the name field, which the list follows.
  const bool nameChanged = shown.Name != Fields.Name.view();
  Fields = shown;
  if (nameChanged) SetName(shown.Name);
}

void SetupForm::StoreRecord(int index) {
  if (index < 0 || index >= Commands.Count) return;
  CommandRecord& record = Commands.Records[index];
  StoreFieldText(record.Name, Fields.Name);
  StoreFieldText(record.Command, Fields.Command);
  // With no item selected the record keeps its show command.
  record.ShowCmd = ShowCmdByIndex(Fields.WindowSize, record.ShowCmd);
  record.Drive = Fields.Drive;
  record.Hotkey = TextToHotkeyCode(Fields.Hotkey);
}

void SetupForm::SelectCommand(int selected) {
  if (DriveRefused() || selected == CurrentIndex || selected < 0 || selected >= Commands.Count) return;
  StoreRecord(CurrentIndex);
  CurrentIndex = selected;
  ShowRecord(CurrentIndex);
}

void SetupForm::Add() {
  // The button is off while the table is full; a stray click must not write
  // past it either.
  if (DriveRefused() || Commands.Count >= MAX_COMMANDS) return;
  StoreRecord(CurrentIndex);
  CommandRecord& added = Commands.Records[Commands.Count];
  SetDefaultRecord(added);
  Entries[Commands.Count] = FieldText(ShownText(added.Name));
  CurrentIndex = Commands.Count++;
  ShowRecord(CurrentIndex);
}

// The fields belong to the deleted command and go with it; when none is
// left they go on showing it.
void SetupForm::Delete() {
  const int selected = SelectedEntry();
  if (DriveRefused() || selected < 0) return;
  for (int i = selected; i + 1 < Commands.Count; ++i) {
    Commands.Records[i] = Commands.Records[i + 1];
    Entries[i] = Entries[i + 1];
  }
  --Commands.Count;
  std::memset(&Commands.Records[Commands.Count], 0, RECORD_SIZE);
  Entries[Commands.Count].Clear();
  if (Commands.Count == 0) return;
  CurrentIndex = selected < Commands.Count ? selected : Commands.Count - 1;
  ShowRecord(CurrentIndex);
}

// The current record moves one place with the edits in its fields; the
// fields go on showing it there.
void SetupForm::MoveRecord(int from, int to) {
  StoreRecord(from);
  const CommandRecord moved = Commands.Records[from];
  Commands.Records[from] = Commands.Records[to];
  Commands.Records[to] = moved;
  Entries[from] = FieldText(ShownText(Commands.Records[from].Name));
  Entries[to] = FieldText(ShownText(Commands.Records[to].Name));
  CurrentIndex = to;
}

void SetupForm::MoveUp() {
  const int selected = SelectedEntry();
  if (!DriveRefused() && selected > 0) MoveRecord(selected, selected - 1);
}

void SetupForm::MoveDown() {
  const int selected = SelectedEntry();
  if (!DriveRefused() && selected >= 0 && selected + 1 < Commands.Count) MoveRecord(selected, selected + 1);
}

void SetupForm::SetName(std::string_view text) {
  Fields.Name = FieldText(text);
  if (CurrentIndex >= 0 && CurrentIndex < Commands.Count) Entries[CurrentIndex] = Fields.Name;
}

bool SetupForm::PressHotkey(std::uint16_t key, ShiftState shift) {
  if (!(shift & (SS_CTRL | SS_ALT))) return false;  // no hotkey without Ctrl or Alt
  Fields.Hotkey = FormatShortCut(ComposeShortCut(key, shift));
  return true;
}

void SetupForm::TakeBrowsedProgram(std::string_view command, std::string_view name, std::string_view folder) {
  if (DriveRefused()) return;
  Fields.Command = FieldText(command);
  const std::string_view shown = Trimmed(Fields.Name);
  if (shown.empty() || shown == UNNAMED) SetName(name.substr(0, NAME_FROM_FILE_CAPACITY));
  BrowseDir = PathText(folder);
}

OkOutcome SetupForm::Ok(error::Code& error) {
  if (DriveRefused()) return OkOutcome::Refused;
  StoreRecord(CurrentIndex);
  error = error::PathTooLong();
  // Written beside the set file and moved over it in one step: a failure
  // leaves the previous file whole.
  return SetPathKnown && SaveCommandSet(SetPath.c_str(), Commands, error) ? OkOutcome::Saved
                                                                          : OkOutcome::Failed;
}

// Only the focus that comes from another control starts a new edit; back
// after a refused leave or from another window, the field still undoes to
// what it held before.
void SetupForm::EnterDrive() {
  if (!DriveEntered || !DriveChanged()) DriveOnEntry = Fields.Drive;
  DriveEntered = true;
}

bool SetupForm::TypeDrive(char typed) {
  if (!ansi::IsLetter(typed)) return false;
  Fields.Drive = ansi::UpperCase(typed);
  DriveLeaveRefused = false;
  return true;
}

void SetupForm::ClearDrive() { Fields.Drive = DRIVE_BLANK; }

// Called when the focus goes to another control of the dialog.
bool SetupForm::LeaveDrive() {
  DriveLeaveRefused = DriveChanged() && Fields.Drive == DRIVE_BLANK;
  DriveEntered = DriveLeaveRefused;  // refused, the focus comes back to the same edit
  return DriveLeaveRefused;
}

bool SetupForm::UndoDrive() {
  if (!DriveChanged()) return false;
  Fields.Drive = DriveOnEntry;
  DriveLeaveRefused = false;
  return true;
}

MessageText SetupForm::ReadFailure(error::Code error) const {
  MessageText text = Failure("The command set could not be read from\r\n", SetPath, error);
  text.Append(
      "\r\n\r\nThe list starts empty. Ok would replace the file with this list; "
      "Cancel leaves it as it is.");
  return text;
}

MessageText SetupForm::SaveFailure(error::Code error) const {
  return Failure("The command set could not be saved to\r\n", SetPath, error);
}

MessageText SetupForm::CutSetNotice() const {
  MessageText text("The command set\r\n");
  text.Append(SetPath).Append("\r\nholds ");
  AppendDecimal(text, RecordsInFile);
  text.Append(" commands. Only the first ");
  AppendDecimal(text, MAX_COMMANDS);
  text.Append(" are shown, and only they are kept when Ok is pressed; Cancel leaves the file as it is.");
  return text;
}
