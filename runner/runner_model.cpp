#include "runner_model.h"

#include "file.h"
#include "paths.h"
#include "runner_link.h"
#include "utf8.h"

namespace {

constexpr std::uintptr_t FIRST_CONTROL_ID = MAX_COMMANDS;
constexpr char SEPARATOR_MARK = '-';
constexpr char ACCELERATOR_COLUMN = '\t';
constexpr char TIP_PREFIX[] = "Tasklark - ";
constexpr unsigned SMALL_ICON_PIXELS = 16;  // at STANDARD_DPI

}  // namespace

int TrayIconPixels(unsigned dpi) {
  constexpr unsigned standard = STANDARD_DPI;
  return static_cast<int>((SMALL_ICON_PIXELS * dpi + standard / 2) / standard);
}

const ControlMenuItem CONTROL_MENU[CONTROL_MENU_SIZE] = {
    {IDM_ABOUT, "About Tasklark"}, {IDM_SETUP, "Setup Tasklark"},          {0, nullptr},
    {IDM_LOAD, "Load commandset"}, {IDM_SAVEAS, "Save commandset as ..."}, {0, nullptr},
    {IDM_CLOSE, "Close Tasklark"},
};

void RunnerModel::Start(std::string_view commandLine, std::string_view programPath) {
  ArgumentText argument;
  std::string_view name = DEFAULT_SET_FILE_NAME;
  if (FirstArgument(commandLine, argument) && !FileNamePart(argument).empty()) name = FileNamePart(argument);
  SetFileName.Clear();
  SetFileName.Append(name);
  ProgramDir.Clear();
  ProgramDir.Append(DirectoryPart(programPath));
  LastIndex = -1;
}

bool RunnerModel::PathOf(std::string_view name, PathText& path) const {
  path.Clear();
  if (ProgramDir.empty()) return false;
  path.Append(ProgramDir).Append(name);
  return !path.WasCut();
}

bool RunnerModel::SetFilePath(PathText& path) const {
  return !SetFileName.WasCut() && PathOf(SetFileName, path);
}

int RunnerModel::Load(HotkeyWish (&wishes)[MAX_COMMANDS]) {
  LastIndex = -1;
  PathText path;
  if (!SetFilePath(path)) return 0;
  if (!file::Exists(path.c_str())) {
    CreateEmptySetFile(path.c_str());
    return 0;
  }
  ReadCommandSet(path.c_str(), Commands);
  LastIndex = Commands.Count - 1;
  int count = 0;
  for (int slot = 0; slot <= LastIndex; ++slot) {
    const HotkeyCode& code = Commands.Records[slot].Hotkey;
    if (WantsGlobalHotkey(code)) wishes[count++] = {slot, HotkeyModifiers(code), code.Key, 0, false};
  }
  return count;
}

MessageText RunnerModel::Tip() const {
  MessageText tip(TIP_PREFIX);
  tip.Append(SetFileName);
  // As much as the tip holds, never half a character.
  char16_t units[TIP_CHARS];
  Utf8ToUtf16(tip, units, TIP_CHARS - 1);
  MessageText shown;
  AppendUtf16(units, shown);
  return shown;
}

// "Ctrl+Alt+N Editor: in use by another program"; the hotkey as the editor
// shows it (the menu's text for a key without a name), the label cut short.
MessageText RunnerModel::MissingHotkeys(const HotkeyWish* wishes, int count) const {
  constexpr std::size_t LABEL_CHARS = 24;
  constexpr std::size_t MORE_CHARS = 16;  // "\nand 30 more"
  MessageText text;
  int missing = 0, told = 0;
  for (int i = 0; i < count; ++i) {
    const HotkeyWish& wish = wishes[i];
    if (wish.Registered) continue;
    ++missing;
    const char* why = "in use by another program";
    for (int j = 0; j < i; ++j)
      if (wishes[j].Registered && wishes[j].Modifiers == wish.Modifiers &&
          wishes[j].VirtualKey == wish.VirtualKey)
        why = "used twice in this set";
    if (wish.VirtualKey == -1) why = "no key types it";
    const CommandRecord& record = Commands.Records[wish.Slot];
    HotkeyText hotkey = HotkeyCodeToText(record.Hotkey);
    if (hotkey.empty()) hotkey = HotkeyCodeToMenuText(record.Hotkey);
    const std::string_view label = UpToFirstNul(MenuLabelText(record));
    FixedText<127> line(UpToFirstNul(hotkey));
    line.Append(' ')
        .Append(label.substr(0, LABEL_CHARS))
        .Append(label.size() > LABEL_CHARS ? "...: " : ": ")
        .Append(why);
    if (told == BALLOON_LINES || text.size() + line.size() + 1 + MORE_CHARS >= BALLOON_CHARS) continue;
    text.Append(told++ ? "\n" : "").Append(line);
  }
  if (const int more = missing - told; more > 0) {  // at most 30
    text.Append("\nand ");
    if (more >= 10) text.Append(static_cast<char>('0' + more / 10));
    text.Append(static_cast<char>('0' + more % 10)).Append(" more");
  }
  return text;
}

RunnerCommand RunnerModel::CommandFor(std::uintptr_t id, int& slot) const {
  if (id < FIRST_CONTROL_ID) {
    slot = static_cast<int>(id);
    // A slot beyond the loaded set holds a record the user no longer has.
    return slot <= LastIndex ? RunnerCommand::Run : RunnerCommand::None;
  }
  switch (id) {
    case IDM_ABOUT: return RunnerCommand::About;
    case IDM_SETUP: return RunnerCommand::Setup;
    case IDM_LOAD: return RunnerCommand::Load;
    case IDM_SAVEAS: return RunnerCommand::SaveAs;
    case IDM_CLOSE: return RunnerCommand::Close;
    default: return RunnerCommand::None;
  }
}

// A name that begins with a hyphen is a separator; any other is the name
// without its last stored character, a TAB and the hotkey's menu text.
CommandMenuItem RunnerModel::CommandMenuEntry(int slot) const {
  const CommandRecord& record = Commands.Records[slot];
  const std::string_view name = record.Name.Stored();
  CommandMenuItem item = {!name.empty() && name[0] == SEPARATOR_MARK, {}};
  if (!item.Separator)
    item.Label.Append(MenuLabelText(record))
        .Append(ACCELERATOR_COLUMN)
        .Append(HotkeyCodeToMenuText(record.Hotkey));
  return item;
}

Launch RunnerModel::LaunchOf(int slot) const {
  const CommandRecord& record = Commands.Records[slot];
  return {
      {record.Drive, ':', '\\', '\0'}, FixedText<COMMAND_CAPACITY>(CommandLineText(record)), record.ShowCmd};
}

bool RunnerModel::EditorCommandLine(FixedText<2 * PathText::capacity()>& line) const {
  line.Clear();
  line.Append('"')
      .Append(ProgramDir)
      .Append(EDITOR_FILE_NAME)
      .Append("\" \"")
      .Append(SetFileName)
      .Append('"');
  return !ProgramDir.empty() && !line.WasCut();
}

bool RunnerModel::TakeChosenName(std::string_view chosenPath) {
  const SetFileNameText name(FileNamePart(chosenPath));
  if (name.empty() || name.WasCut()) return false;
  SetFileName = name;
  return true;
}

SaveAsPlan RunnerModel::PlanSaveAs(std::string_view chosenPath) const {
  SaveAsPlan plan = {SaveAsStep::Nothing, SetFileNameText(FileNamePart(chosenPath))};
  // The current file under its own name: there is nothing to copy.
  if (plan.Name.empty() || path::Same(plan.Name, SetFileName)) return plan;
  // The dialog asked about the folder the user browsed to; the copy goes to
  // the program's folder, so a set of that name there is asked about here.
  PathText target;
  const bool elsewhere = !path::Same(DirectoryPart(chosenPath), ProgramDir);
  plan.Step = elsewhere && PathOf(plan.Name, target) && file::Exists(target.c_str()) ? SaveAsStep::AskFirst
                                                                                     : SaveAsStep::Copy;
  return plan;
}

bool RunnerModel::SaveAs(const SaveAsPlan& plan, error::Code& error) {
  PathText source, target;
  if (!SetFilePath(source) || plan.Name.WasCut() || !PathOf(plan.Name, target)) {
    error = error::PathTooLong();
    return false;
  }
  if (!file::CopyOver(source.c_str(), target.c_str())) {
    error = error::Last();
    return false;
  }
  SetFileName = plan.Name;
  return true;
}

MessageText RunnerModel::ReplaceQuestion(std::string_view name) const {
  MessageText text("The Tasklark folder already holds a command set named ");
  text.Append(name).Append(".\nSets are always saved there.\n\nDo you want to replace it?");
  return text;
}

MessageText RunnerModel::SaveAsFailure(std::string_view name, error::Code error) const {
  FixedText<255> reason;
  error::Describe(error, reason);
  MessageText text("The command set could not be saved as ");
  text.Append(name).Append(".\n\n").Append(reason);
  return text;
}
