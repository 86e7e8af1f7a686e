#include "runner_model.h"

#include "ansi_text.h"
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
constexpr char VARIABLE_MARK = '%';
constexpr char QUOTE = '"';
constexpr char BLANKS[] = " \t";
constexpr char SCHEME_END = ':';

// From `from` up to `to` (npos: the end). Unlike substr it never throws, for
// the programs are built without exceptions and their machinery.
std::string_view Between(std::string_view text, std::size_t from, std::size_t to) {
  if (to > text.size()) to = text.size();
  return from < to ? std::string_view(text.data() + from, to - from) : std::string_view();
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(BLANKS);
  return first == std::string_view::npos ? std::string_view()
                                         : Between(text, first, text.find_last_not_of(BLANKS) + 1);
}

bool NamesNoProgram(error::Code startError) {
  switch (startError) {
    case start_error::FILE_NOT_FOUND:
    case start_error::PATH_NOT_FOUND:
    case start_error::ACCESS_DENIED:
    case start_error::INVALID_NAME:
    case start_error::BAD_EXE_FORMAT: return true;
    default: return false;
  }
}

// `text` of the records' code page, in UTF-8, cut after `units` UTF-16 units
// with "..." (never between the two of a pair).
void AppendShown(MessageText& out, std::string_view text, std::size_t units, unsigned codePage) {
  constexpr std::size_t MOST_UNITS = NAME_CAPACITY;  // a name, or a hotkey's text
  char16_t wide[MOST_UNITS + 1];
  ansi::ToUtf16(text.substr(0, MOST_UNITS), wide, MOST_UNITS, codePage);
  std::u16string_view shown(wide);
  if (shown.size() <= units) {
    AppendUtf16(shown, out);
    return;
  }
  const bool pairCut = shown[units - 1] >= 0xD800 && shown[units - 1] < 0xDC00;
  AppendUtf16(shown.substr(0, pairCut ? units - 1 : units), out);
  out.Append("...");
}

// Whether two paths name one folder, through links, short names and other
// spellings; as texts when either cannot be named.
bool SameFolder(std::string_view a, std::string_view b) {
  PathText first, second;
  if (!file::FinalPath(PathText(a).c_str(), first) || !file::FinalPath(PathText(b).c_str(), second))
    return path::Same(a, b);
  return path::Same(first, second);
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A scheme, a colon and more: "https://...", "mailto:...". A scheme is a
// letter followed by letters, digits, "+", "-" and "."; it has two characters
// at least, for a letter and a colon name a drive.
bool IsAddress(std::string_view text) {
  const std::size_t end = text.find(SCHEME_END);
  if (end == std::string_view::npos || end < 2 || end + 1 == text.size() || !IsAsciiLetter(text[0]))
    return false;
  for (std::size_t i = 1; i < end; ++i) {
    const char c = text[i];
    if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

// A web address, or an existing file or folder (a drive's root too).
bool CanOpen(std::string_view target) {
  if (IsAddress(target)) return true;
  const PathText path(target);
  return !target.empty() && !path.WasCut() && (file::Exists(path.c_str()) || file::IsFolder(path.c_str()));
}

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
  RecordsInFile = 0;
  PathText path;
  if (!SetFilePath(path)) return 0;
  if (!file::Exists(path.c_str())) {
    CreateEmptySetFile(path.c_str());
    return 0;
  }
  ReadCommandSet(path.c_str(), Commands, &RecordsInFile);
  LastIndex = Commands.Count - 1;
  int count = 0;
  for (int slot = 0; slot <= LastIndex; ++slot) {
    const HotkeyCode& code = Commands.Records[slot].Hotkey;
    if (WantsGlobalHotkey(code)) wishes[count++] = {slot, HotkeyModifiers(code), code.Key, 0, false, 0};
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

// "Only the first 30 of the set's 35 commands are used; 5 are left out.",
// then "Ctrl+Alt+N Editor: in use by another program" for each hotkey not
// given; the hotkey as the editor shows it (the menu's text for a key
// without a name), the label cut short. The reason is the system's where it
// is none of the three the runner knows. Lines that do not fit are counted.
MessageText RunnerModel::LoadNotice(const HotkeyWish* wishes, int count) const {
  constexpr std::size_t LABEL_UNITS = 24;
  constexpr std::size_t MORE_CHARS = 16;  // "\nand 30 more"
  MessageText text;
  if (RecordsInFile > MAX_COMMANDS) {
    const std::uint64_t leftOut = RecordsInFile - MAX_COMMANDS;
    AppendDecimal(text.Append("Only the first "), MAX_COMMANDS).Append(" of the set's ");
    AppendDecimal(text, RecordsInFile).Append(" commands are used; ");
    AppendDecimal(text, leftOut).Append(leftOut == 1 ? " is left out." : " are left out.");
  }
  int missing = 0;
  int told = 0;
  for (int i = 0; i < count; ++i) {
    const HotkeyWish& wish = wishes[i];
    if (wish.Registered) continue;
    ++missing;
    bool twice = false;
    for (int j = 0; j < i; ++j)
      twice = twice || (wishes[j].Registered && wishes[j].Modifiers == wish.Modifiers &&
                        wishes[j].VirtualKey == wish.VirtualKey);
    FixedText<255> why;
    if (wish.VirtualKey == -1)
      why.Append("no key types it");
    else if (twice)
      why.Append("used twice in this set");
    else if (wish.Error == 0 || wish.Error == HOTKEY_ALREADY_REGISTERED)
      why.Append("in use by another program");
    else
      error::Describe(wish.Error, why);
    const CommandRecord& record = Commands.Records[wish.Slot];
    HotkeyText hotkey = HotkeyCodeToText(record.Hotkey);
    if (hotkey.empty()) hotkey = HotkeyCodeToMenuText(record.Hotkey);
    MessageText line;
    AppendShown(line, UpToFirstNul(hotkey), hotkey.size(), CodePage);
    line.Append(' ');
    AppendShown(line, UpToFirstNul(MenuLabelText(record)), LABEL_UNITS, CodePage);
    line.Append(": ").Append(why);
    if (told == BALLOON_LINES || text.size() + line.size() + 1 + MORE_CHARS >= BALLOON_CHARS) continue;
    text.Append(text.empty() ? "" : "\n").Append(line);
    ++told;
  }
  if (const int more = missing - told; more > 0)
    AppendDecimal(text.Append(text.empty() ? "and " : "\nand "), more).Append(" more");
  return text;
}

TrayOpening RunnerModel::TrayEvent(unsigned event) {
  using namespace tray_event;
  const unsigned followUp = TrayFollowUp;
  // The pointer's moves and the button going up belong to the click.
  if (event != MOUSE_MOVE && event != LEFT_UP && event != RIGHT_UP) TrayFollowUp = 0;
  TrayOpening opening = {TrayMenu::None, false};
  switch (event) {
    case LEFT_DOWN:
      opening.Menu = TrayMenu::Commands;
      TrayFollowUp = SELECT;
      break;
    case RIGHT_DOWN:
      opening.Menu = TrayMenu::Control;
      TrayFollowUp = CONTEXT_MENU;
      break;
    case SELECT:
    case KEY_SELECT:
      if (followUp != event) opening = {TrayMenu::Commands, true};
      break;
    case CONTEXT_MENU:
      if (followUp != event) opening = {TrayMenu::Control, true};
      break;
    default: break;
  }
  if (TrayMenuOpen || (opening.Menu == TrayMenu::Commands && !HasCommandMenu()))
    return {TrayMenu::None, false};
  TrayMenuOpen = opening.Menu != TrayMenu::None;
  return opening;
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

// As the system's own expansion does it: an unknown or empty name is kept
// with both its marks, and a mark without a second one is kept as it is.
bool RunnerModel::ExpandCommand(std::string_view stored, CommandText& line) {
  line.Clear();
  // Never more UTF-16 units than bytes of the code page.
  char16_t units[COMMAND_CAPACITY + 1];
  FixedText<3 * COMMAND_CAPACITY> text;
  if (!ansi::ToUtf16(stored, units, COMMAND_CAPACITY, CodePage) || !AppendUtf16(units, text)) return false;
  for (std::string_view rest = text; !rest.empty();) {
    // Up to the next mark, or a name with both its marks.
    const bool marked = rest[0] == VARIABLE_MARK;
    std::size_t end = rest.find(VARIABLE_MARK, marked ? 1 : 0);
    if (marked && end != std::string_view::npos) ++end;
    const std::string_view piece = Between(rest, 0, end);
    const bool known = marked && piece.size() > 2 && piece.back() == VARIABLE_MARK &&
                       program::Variable(Between(piece, 1, piece.size() - 1), VariableValue);
    line.Append(known ? VariableValue.view() : piece);
    rest.remove_prefix(piece.size());
  }
  return !line.WasCut();
}

bool RunnerModel::OpenTargetOf(std::string_view line, error::Code startError, OpenTarget& target) const {
  target = {};
  if (!NamesNoProgram(startError)) return false;
  const std::string_view trimmed = Trimmed(line);
  if (trimmed.empty()) return false;
  std::string_view whole = trimmed;
  if (whole.size() >= 2 && whole.front() == QUOTE && whole.back() == QUOTE &&
      whole.find(QUOTE, 1) == whole.size() - 1)
    whole = Between(whole, 1, whole.size() - 1);
  if (CanOpen(whole)) {
    target.Target = whole;
    return true;
  }
  // The first argument: up to its closing quote, or up to the first blank.
  const bool quoted = trimmed.front() == QUOTE;
  const std::size_t end = quoted ? trimmed.find(QUOTE, 1) : trimmed.find_first_of(BLANKS);
  const std::string_view first = Between(trimmed, quoted ? 1 : 0, end);
  // One of the same size is the same text, looked at already.
  if (first.size() == whole.size() || !CanOpen(first)) return false;
  target.Target = first;
  target.Parameters = end == std::string_view::npos
                          ? std::string_view()
                          : Trimmed(Between(trimmed, end + 1, std::string_view::npos));
  return true;
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
  const bool elsewhere = !SameFolder(DirectoryPart(chosenPath), ProgramDir);
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
