// The editor's form under any sequence of the user's actions, in the orders
// the dialog's messages bring them, on a set file of up to 32 records with
// any byte in any field; its promises are checked after every action.
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "fuzz_support.h"
#include "runner_link.h"
#include "setup_model.h"

namespace {

const ScratchFolder folder;
const std::string setPath = folder.Path + DEFAULT_SET_FILE_NAME;
SetupForm form;
SetupForm before;                  // as it was when the drive field was refused, or at Ok
bool refused;                      // the drive field refuses its leave, and all else must hold
std::string start;                 // the set file's bytes
CommandRecord read[MAX_COMMANDS];  // its records, as read
int origin[MAX_COMMANDS];          // the record read into each slot; -1: added
bool shown[MAX_COMMANDS];          // records read that the fields have shown
bool inDrive;                      // the drive field has the focus
char entered;                      // its letter when the focus came from another control

// Up to 525 characters and no NUL, as a field's text is read.
std::string Text() {
  std::string text = Bytes(Byte() % 16);
  text.resize(text.size() + Byte() * 2u, 'x');
  std::replace(text.begin(), text.end(), '\0', ' ');
  return text;
}

std::string FileBytes() {
  std::ifstream file(setPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// What the user would lose: the fields, the list, the records but `except`.
bool SameEdits(const SetupForm& a, const SetupForm& b, int except) {
  if (a.Commands.Count != b.Commands.Count || a.CurrentIndex != b.CurrentIndex) return false;
  if (a.Fields.Name != b.Fields.Name || a.Fields.Command != b.Fields.Command) return false;
  if (a.Fields.WindowSize != b.Fields.WindowSize || a.Fields.Hotkey != b.Fields.Hotkey) return false;
  for (int i = 0; i < a.Commands.Count; ++i) {
    if (a.Entries[i] != b.Entries[i]) return false;
    if (i != except && std::memcmp(&a.Commands.Records[i], &b.Commands.Records[i], RECORD_SIZE)) return false;
  }
  return true;
}

void Start() {
  const int records = Byte() % 33;
  const std::size_t cut = Byte() % 2 ? Byte() : 0;  // bytes missing from the last record
  start.clear();
  for (int i = 0; i < records; ++i) {
    CommandRecord record;
    std::memset(&record, Byte(), RECORD_SIZE);
    const std::size_t name = Byte();  // below 40: a name and window size of the editor's
    if (name < NAME_CAPACITY) StoreFieldText(record.Name, std::string(name, 'a' + i));
    if (name < NAME_CAPACITY) record.ShowCmd = name % 12;
    start.append(reinterpret_cast<const char*>(&record), RECORD_SIZE);
  }
  start.resize(start.size() - std::min(cut, start.size()));
  std::ofstream(setPath, std::ios::binary) << start;
  std::memset(read, 0, sizeof read);
  std::memcpy(read, start.data(), std::min(start.size(), sizeof read));
  error::Code error = 0;
  if (!form.Open("larkedit.exe", folder.Path + "larkedit.exe", error)) Fail("the set was not read");
  if (form.Commands.Count != std::min(records, MAX_COMMANDS))
    Fail("the list holds other records than the set");
  for (int i = 0; i < MAX_COMMANDS; ++i) origin[i] = i;
  std::memset(shown, 0, sizeof shown);
  inDrive = false;
  refused = false;
}

// Back in the drive field after a refused leave, and back from the box that tells it.
void Refuse() {
  form.EnterDrive();
  form.EnterDrive();
}

// The focus goes to another control; false when the drive field refuses it,
// which the box tells now (Wine) or after the click that moved it (Windows).
bool Leave(bool boxFirst) {
  const bool refuse = inDrive && form.Fields.Drive == DRIVE_BLANK && entered != DRIVE_BLANK;
  if (inDrive && form.LeaveDrive() != refuse) Fail("the drive field's leave is decided by another letter");
  inDrive = refuse;
  if (refuse && !refused) before = form;
  refused = refused || refuse;
  if (refuse && boxFirst) Refuse();
  return !refuse;
}

void Enter() {
  if (inDrive) return;
  entered = form.Fields.Drive;
  form.EnterDrive();
  inDrive = true;
}

// Enter or the Ok button, on a set that is writable or read-only; true when saved.
bool Ok(bool failing) {
  before = form;
  chmod(setPath.c_str(), failing ? 0444 : 0644);
  error::Code error = 0;
  const OkOutcome outcome = form.Ok(error);
  chmod(setPath.c_str(), 0644);
  if ((outcome == OkOutcome::Refused) != refused) Fail("Ok is refused other than by the drive");
  if ((outcome == OkOutcome::Failed) != (failing && !refused)) Fail("Ok fails or writes wrongly");
  if (outcome != OkOutcome::Saved) {
    if (FileBytes() != start || file::Exists((folder.Path + "~0").c_str()))
      Fail("Ok wrote something and failed");
    if (!SameEdits(before, form, form.CurrentIndex)) Fail("a failed Ok lost an edit");
    if (inDrive) form.EnterDrive();  // back from the box
    return false;
  }
  const auto* records = reinterpret_cast<const char*>(form.Commands.Records);
  if (FileBytes() != std::string(records, form.Commands.Count * RECORD_SIZE)) Fail("Ok wrote other records");
  for (int i = 0; i < form.Commands.Count; ++i) {
    const CommandRecord& record = form.Commands.Records[i];
    const bool neverShown = origin[i] >= 0 && !shown[origin[i]];
    if (neverShown && std::memcmp(&record, &read[origin[i]], RECORD_SIZE))
      Fail("a record never shown changed");
    if (!neverShown && (record.Name.Length > NAME_CAPACITY || record.Command.Length > COMMAND_CAPACITY))
      Fail("a stored text does not fit its field");
  }
  return true;
}

void Check() {
  const int count = form.Commands.Count;
  const int selected = form.SelectedEntry();
  if (count < 0 || count > MAX_COMMANDS) Fail("the count is outside 0 to 30");
  if (selected < -1 || selected >= count || (count > 0) != (selected >= 0))
    Fail("the selection names no record");
  // A name typed longer than a record holds stays whole in the list.
  for (int i = 0; i < count; ++i) {
    const std::string_view entry = form.Entries[i];
    const bool typed = i == selected && entry == form.Fields.Name.view();
    if (!typed && entry.substr(0, NAME_CAPACITY) != ShownText(form.Commands.Records[i].Name))
      Fail("the list does not show the records' names");
  }
  if (refused && !SameEdits(before, form, -1)) Fail("a refused drive let a change by");
  if (form.DriveRefused() != refused) Fail("the drive field's refusal is another");
  if (form.CanCancel() == form.DriveRefused()) Fail("Cancel is decided by other than the drive field");
  if (selected >= 0 && origin[selected] >= 0) shown[origin[selected]] = true;
}

// False when the dialog closes.
bool Act() {
  const int count = form.Commands.Count;
  const int selected = form.SelectedEntry();
  if (refused) before = form;
  const int action = Byte() % 19;
  // All but Browse, the drive field's keys, another program, Escape and Enter
  // move the focus to another control first.
  const bool stays = (action >= 10 && action <= 12) || (action >= 14 && action <= 16);
  const bool left = stays || Leave(action != 0);
  switch (action) {
    case 0:  // a list click: its selection before the box (Windows) or after it (Wine)
    case 1:
      form.SelectCommand(Byte() % 32 - 1);
      if (!left && action == 0) Refuse();
      break;
    case 2:  // the buttons, by their access keys
      form.Add();
      if (form.Commands.Count > count) origin[count] = -1;
      break;
    case 3:
      form.Delete();
      if (form.Commands.Count < count) std::copy(origin + selected + 1, origin + count, origin + selected);
      break;
    case 4:
    case 5:
      action == 4 ? form.MoveUp() : form.MoveDown();
      if (form.SelectedEntry() != selected) std::swap(origin[selected], origin[form.SelectedEntry()]);
      break;
    case 6:  // the fields, once the focus gets there
      if (left) form.SetName(Text());
      break;
    case 7:
      if (left) form.SetCommand(Text());
      break;
    case 8:
      if (left) form.SetWindowSize(Byte() % 4 - 1);
      break;
    case 9: {
      const std::uint8_t key = Byte();
      if (left) form.PressHotkey(key, Byte() % 8);  // any of Shift, Alt and Ctrl
      break;
    }
    case 10: {  // Browse's pick, then the focus back from its dialog
      const std::string path = Text();
      form.TakeBrowsedProgram(path, FileNamePart(path), DirectoryPart(path));
      [[fallthrough]];
    }
    case 14:  // to another program and back
      if (inDrive) form.EnterDrive();
      break;
    case 11:
      Enter();
      if (form.TypeDrive(static_cast<char>(Byte()))) refused = false;
      break;
    case 12:
      Enter();
      form.ClearDrive();
      break;
    case 13: break;  // Tab
    case 15:         // Escape: the drive field's while it holds a change, else Cancel
      if (inDrive && form.DriveChanged() != (form.Fields.Drive != entered))
        Fail("the drive's change is another");
      if (!inDrive || !form.DriveChanged()) return !form.CanCancel();
      if (form.UndoDrive()) refused = false;
      if (form.Fields.Drive != entered) Fail("Escape does not give the drive's letter back");
      break;
    case 16:  // Enter: no focus moves; or the Ok button
    case 17:
      if (Ok(Byte() % 2)) return false;
      break;
    default:  // the Cancel button
      if (form.CanCancel()) return false;
      break;
  }
  Check();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  input = {reinterpret_cast<const char*>(data), size};
  Start();
  Check();
  while (!input.empty() && Act()) {
  }
  return 0;
}
