// The editor's form as data: what it shows of a set file, what each handler
// does to the list, the fields and the set, and what Ok writes.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "setup_model.h"
#include "test_files.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Names = std::vector<std::string>;

CommandRecord Record(const std::string& name, const std::string& command, std::int32_t show = SHOWCMD_DEFAULT,
                     char drive = 'C', const char (&hotkey)[5] = "000\0") {
  CommandRecord r;
  std::memset(&r, 0, sizeof r);
  StoreFieldText(r.Name, name);
  StoreFieldText(r.Command, command);
  r.ShowCmd = show;
  r.Drive = drive;
  std::memcpy(&r.Hotkey, hotkey, 4);
  return r;
}

Bytes SetBytes(const std::vector<CommandRecord>& records) {
  Bytes bytes;
  for (const CommandRecord& r : records) {
    const auto* p = reinterpret_cast<const unsigned char*>(&r);
    bytes.insert(bytes.end(), p, p + RECORD_SIZE);
  }
  return bytes;
}

class SetupModel : public ::testing::Test {
 protected:
  // Starts the form on these bytes as Tasklark.dat beside the program.
  bool Start(const Bytes& file, const std::string& arguments = "") {
    WriteBytes(dir.Path("Tasklark.dat"), file);
    return StartOn(arguments);
  }
  bool StartOn(const std::string& arguments, const std::string& program = "larkedit.exe") {
    sys::ErrorCode error = 0;
    return form.FormCreate("larkedit.exe " + arguments, program.empty() ? "" : dir.Path(program), error);
  }
  Names Entries() const { return Names(form.Entries, form.Entries + form.Commands.Count); }
  std::string Name() const { return std::string(form.Fields.Name.view()); }
  Bytes Ok() {
    sys::ErrorCode error = 0;
    EXPECT_EQ(form.btnOkClick(error), OkOutcome::Saved);
    return ReadBytes(dir.Path("Tasklark.dat"));
  }

  ScratchDir dir;
  TfSetup form;
  const CommandRecord first = Record("First", "probe.exe 1", SHOWCMD_MINIMIZED, 'd', "100a");
  const CommandRecord second = Record("Second", "probe.exe 2", 5, 'E');
};

TEST_F(SetupModel, StartListsTheSetAndShowsTheFirstCommand) {
  const std::string forty(NAME_CAPACITY, 'x');  // stored without its NUL
  ASSERT_TRUE(Start(SetBytes({first, Record(forty, "c"), second})));
  EXPECT_EQ(Entries(), (Names{"First", forty, "Second"}));
  EXPECT_EQ(form.CurrentIndex, 0);
  EXPECT_EQ(Name(), "First");
  EXPECT_EQ(form.Fields.Command, "probe.exe 1");
  EXPECT_EQ(form.Fields.WindowSize, 1);
  EXPECT_EQ(form.Fields.Drive, 'D');
  EXPECT_EQ(form.Fields.Hotkey, "Ctrl+A");
  EXPECT_TRUE(form.AddEnabled() && form.DeleteEnabled());

  // The set is named by the first argument, unchanged; a missing one is an
  // empty list that Ok creates.
  ASSERT_TRUE(StartOn("\"my set.dat\" other.dat"));
  EXPECT_EQ(form.SetPath, dir.Path("my set.dat"));
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(form.SelectedEntry(), -1);
  EXPECT_TRUE(form.AddEnabled() && !form.DeleteEnabled());
  EXPECT_EQ(form.Fields.Drive, DRIVE_BLANK);
  sys::ErrorCode error = 0;
  EXPECT_EQ(form.btnOkClick(error), OkOutcome::Saved);
  EXPECT_EQ(ReadBytes(dir.Path("my set.dat")), Bytes{});
  EXPECT_TRUE(sys::IsExistingFile(dir.Path("my set.dat").c_str()));
}

TEST_F(SetupModel, SetThatCannotBeNamedIsNeitherReadNorWritten) {
  // The program's own path came back cut: no folder, so no set.
  ASSERT_TRUE(Start(SetBytes({first}), "Tasklark.dat"));
  ASSERT_TRUE(StartOn("Tasklark.dat", ""));
  EXPECT_TRUE(Entries().empty());
  form.btnAddClick();
  sys::ErrorCode error = 0;
  EXPECT_EQ(form.btnOkClick(error), OkOutcome::Failed);
  EXPECT_EQ(error, sys::PathTooLongError());
  EXPECT_FALSE(sys::IsExistingFile("Tasklark.dat"));
  // A name too long for a path: refused, never cut into another name.
  ASSERT_TRUE(StartOn(std::string(PathText::capacity(), 'n')));
  EXPECT_EQ(form.btnOkClick(error), OkOutcome::Failed);
  EXPECT_NE(std::string(form.SaveFailure(error).view()).find("..."), std::string::npos);
  EXPECT_EQ(dir.Names(), Names{"Tasklark.dat"});
}

TEST_F(SetupModel, UnreadableSetIsToldAndListsEmpty) {
  ASSERT_TRUE(std::filesystem::create_directory(dir.Path("folder.dat")));
  EXPECT_TRUE(StartOn("folder.dat"));  // no file to lose: nothing to tell
#ifdef _WIN32
  WriteBytes(dir.Path("Tasklark.dat"), SetBytes({first}));
  HANDLE held = CreateFileA(dir.Path("Tasklark.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  sys::ErrorCode error = 0;
  EXPECT_FALSE(form.FormCreate("larkedit.exe", dir.Path("larkedit.exe"), error));
  CloseHandle(held);
  EXPECT_TRUE(Entries().empty());
  const std::string message(form.ReadFailure(error).view());
  EXPECT_NE(message.find(dir.Path("Tasklark.dat")), std::string::npos) << message;
  EXPECT_NE(message.find("Ok would replace"), std::string::npos) << message;
#endif
}

TEST_F(SetupModel, FieldsAreStoredBackAsTheRecordKeepsThem) {
  CommandRecord odd = Record("Odd", "c", 1, '7', "001)");
  ASSERT_TRUE(Start(SetBytes({second, odd, first})));
  EXPECT_EQ(form.Fields.WindowSize, 0);  // 4 to 10 show as Default
  form.eNameChange(std::string(50, 'n'));
  form.eCommandChange(std::string(300, 'c'));
  form.DriveClear();
  form.lbNameClick(1);
  EXPECT_EQ(Entries()[0], std::string(50, 'n'));  // until shown again from its record
  EXPECT_EQ(form.Fields.WindowSize, SHOWCMD_NO_ITEM);
  EXPECT_EQ(form.Fields.Drive, DRIVE_BLANK);  // not a letter
  EXPECT_EQ(form.Fields.Hotkey, "");          // a key without a name
  form.lbNameClick(0);
  EXPECT_EQ(Entries()[0], std::string(40, 'n'));

  CommandRecord stored = second;
  StoreFieldText(stored.Name, std::string(40, 'n'));
  StoreFieldText(stored.Command, std::string(255, 'c'));
  stored.ShowCmd = SHOWCMD_DEFAULT;
  stored.Drive = DRIVE_BLANK;
  odd.Drive = DRIVE_BLANK;
  std::memcpy(&odd.Hotkey, "000\0", 4);  // no item keeps 1; the unnamed key is gone
  EXPECT_EQ(Ok(), SetBytes({stored, odd, first}));
}

TEST_F(SetupModel, AddDeleteAndMoveKeepListTableAndFieldsInStep) {
  ASSERT_TRUE(Start(SetBytes({first, second})));
  form.btnAddClick();
  EXPECT_EQ(Entries(), (Names{"First", "Second", "[Name]"}));
  EXPECT_EQ(form.CurrentIndex, 2);
  EXPECT_EQ(form.Fields.Command, "[Command]");
  EXPECT_EQ(form.Fields.Drive, 'C');
  EXPECT_EQ(form.Fields.WindowSize, 0);
  EXPECT_EQ(form.Fields.Hotkey, "");

  // The list follows the name; Up takes the unsaved edits along; at the top
  // nothing happens.
  form.eNameChange("New");
  form.btnUpClick();
  form.btnUpClick();
  EXPECT_EQ(Entries(), (Names{"New", "First", "Second"}));
  form.eNameChange("Newer");
  form.btnUpClick();
  EXPECT_EQ(form.Commands.Records[0].Name.Stored(), std::string("New\0", 4));
  form.btnDownClick();
  EXPECT_EQ(form.CurrentIndex, 1);
  form.lbNameClick(2);
  form.btnDownClick();
  EXPECT_EQ(Entries(), (Names{"First", "Newer", "Second"}));

  // Delete: the entry that moves up takes the place; at the end the one before.
  form.lbNameClick(1);
  form.btnDeleteClick();
  EXPECT_EQ(Entries(), (Names{"First", "Second"}));
  EXPECT_EQ(Name(), "Second");
  form.btnDeleteClick();
  EXPECT_EQ(form.CurrentIndex, 0);
  EXPECT_EQ(Name(), "First");
  // The last one gone: the fields still show it, in no slot.
  form.btnDeleteClick();
  EXPECT_TRUE(Entries().empty());
  EXPECT_FALSE(form.DeleteEnabled());
  EXPECT_EQ(Name(), "First");
  form.btnDeleteClick();
  form.eNameChange("Typed");
  EXPECT_TRUE(Entries().empty());
  form.btnAddClick();
  EXPECT_EQ(Name(), "[Name]");
  EXPECT_EQ(Ok(), SetBytes({Record("[Name]", "[Command]")}));
}

TEST_F(SetupModel, AddStopsAtAFullTable) {
  std::vector<CommandRecord> records(MAX_COMMANDS - 1, first);
  ASSERT_TRUE(Start(SetBytes(records)));
  EXPECT_TRUE(form.AddEnabled());
  form.btnAddClick();
  EXPECT_FALSE(form.AddEnabled());
  form.btnAddClick();  // a stray click
  EXPECT_EQ(form.Commands.Count, MAX_COMMANDS);
  form.btnDeleteClick();
  EXPECT_TRUE(form.AddEnabled());
  EXPECT_EQ(form.CurrentIndex, MAX_COMMANDS - 2);
}

// The drive field left empty is refused before anything else happens: the
// selection does not move and nothing is stored.
TEST_F(SetupModel, EmptyDriveLeaveIsRefusedBeforeTheSelectionMoves) {
  ASSERT_TRUE(Start(SetBytes({first, second})));
  form.DriveEnter();
  EXPECT_FALSE(form.DriveKey('7'));
  EXPECT_TRUE(form.DriveKey('x'));
  EXPECT_EQ(form.Fields.Drive, 'X');
  EXPECT_TRUE(form.DriveKey('\xe9'));  // a letter of the code page
  EXPECT_EQ(form.Fields.Drive, '\xc9');
  form.DriveClear();
  EXPECT_TRUE(form.DriveLeave());
  EXPECT_FALSE(form.lbNameClick(1));
  form.btnAddClick();
  form.btnDeleteClick();
  form.btnDownClick();
  form.btBrowseChosen("C:\\x.exe");
  sys::ErrorCode error = 0;
  EXPECT_EQ(form.btnOkClick(error), OkOutcome::Refused);
  EXPECT_FALSE(form.btnCancelClick());
  EXPECT_EQ(form.CurrentIndex, 0);
  EXPECT_EQ(Entries(), (Names{"First", "Second"}));
  EXPECT_EQ(form.Commands.Records[0].Drive, 'd');

  // Back in the field, Escape gives back the letter from before the edit.
  form.DriveEnter();
  EXPECT_TRUE(form.DriveEscape());
  EXPECT_EQ(form.Fields.Drive, 'D');
  EXPECT_FALSE(form.DriveEscape());  // nothing to undo: Escape is Cancel
  EXPECT_FALSE(form.DriveLeave());
  EXPECT_TRUE(form.lbNameClick(1));
  EXPECT_EQ(form.Fields.Drive, 'E');

  // A letter typed after a refusal lets the field go.
  form.DriveEnter();
  form.DriveClear();
  EXPECT_TRUE(form.DriveLeave());
  form.DriveEnter();
  form.DriveKey('f');
  EXPECT_EQ(form.btnOkClick(error), OkOutcome::Saved);
  EXPECT_EQ(ReadBytes(dir.Path("Tasklark.dat"))[RECORD_SIZE + offsetof(CommandRecord, Drive)], 'F');
}

TEST_F(SetupModel, HotkeyFieldTakesCombinationsWithCtrlOrAlt) {
  ASSERT_TRUE(Start(SetBytes({first, second})));
  EXPECT_FALSE(form.eHotkeyKeyDown('B', SS_SHIFT));
  EXPECT_EQ(form.Fields.Hotkey, "Ctrl+A");
  EXPECT_TRUE(form.eHotkeyKeyDown('B', SS_SHIFT | SS_CTRL));
  EXPECT_EQ(form.Fields.Hotkey, "Shift+Ctrl+B");
  EXPECT_TRUE(form.eHotkeyKeyDown(0x12, SS_ALT));  // Alt alone: no hotkey
  EXPECT_EQ(form.Fields.Hotkey, "");
  EXPECT_TRUE(form.eHotkeyKeyDown(0x70, SS_CTRL));
  EXPECT_EQ(form.Fields.Hotkey, "Ctrl+F1");
  form.lbNameClick(1);
  form.lbNameClick(0);
  EXPECT_EQ(form.Fields.Hotkey, "Ctrl+P");  // F1 is stored as the key that types p
}

TEST_F(SetupModel, BrowseNamesACommandThatHasNoNameYet) {
  ASSERT_TRUE(Start(SetBytes({first})));
  form.btBrowseChosen("C:\\Tools\\pad.exe");
  EXPECT_EQ(form.Fields.Command, "C:\\Tools\\pad.exe");
  EXPECT_EQ(Name(), "First");
  EXPECT_EQ(form.BrowseDir, "C:\\Tools\\");
  for (const char* unnamed : {"", "  [Name] "}) {
    form.eNameChange(unnamed);
    form.btBrowseChosen("D:pad.exe");
    EXPECT_EQ(Entries(), Names{"pad.exe"}) << unnamed;
  }
  form.eNameChange("[name]");
  form.btBrowseChosen("C:\\other.exe");
  EXPECT_EQ(Name(), "[name]");
  EXPECT_EQ(form.BrowseDir, "C:\\");
}

TEST_F(SetupModel, OkRewritesTheSetAsReadButForTheShownRecord) {
  Bytes file = SetBytes({Record("[Name]", "[Command]")});
  std::memcpy(file.data(), "\x06[Name]", 7);  // as Add leaves it: no NUL
  file.push_back(5);                          // a 313th byte: one more record
  ASSERT_TRUE(Start(file));
  EXPECT_EQ(Entries(), (Names{"[Name]", ""}));
  // Stored from the fields on the way, the shown record gains its NULs; the
  // other is written as read, completed with zeros.
  Bytes expected = SetBytes({Record("[Name]", "[Command]")});
  expected.resize(2 * RECORD_SIZE);
  expected[RECORD_SIZE] = 5;
  EXPECT_EQ(Ok(), expected);

  // A file that cannot be replaced: the reason, the file as it was, every edit kept.
  ASSERT_TRUE(Start(SetBytes({first})));
  std::filesystem::remove(dir.Path("Tasklark.dat"));
  std::filesystem::create_directory(dir.Path("Tasklark.dat"));
  form.btnAddClick();
  sys::ErrorCode error = 0;
  EXPECT_EQ(form.btnOkClick(error), OkOutcome::Failed);
  const std::string message(form.SaveFailure(error).view());
  EXPECT_NE(message.find("could not be saved to\r\n" + dir.Path("Tasklark.dat")), std::string::npos);
  EXPECT_EQ(form.Commands.Count, 2);
  EXPECT_EQ(dir.Names(), Names{"Tasklark.dat"});
}

// Records no writer makes, every byte value in every field: the list and the
// fields show no more than the fields hold, and Ok writes what was shown.
TEST_F(SetupModel, DamagedRecordsStayWithinTheirFields) {
  for (int value = 0; value < 256; value += MAX_COMMANDS) {
    Bytes file;
    for (int b = value; b < value + MAX_COMMANDS && b < 256; ++b) file.insert(file.end(), RECORD_SIZE, b);
    ASSERT_TRUE(Start(file));
    for (int i = 0; i < form.Commands.Count; ++i) {
      form.lbNameClick(i);
      EXPECT_LE(Entries()[i].size(), NAME_CAPACITY);
      EXPECT_LE(form.Fields.Command.size(), COMMAND_CAPACITY);
      EXPECT_EQ(Name(), Entries()[i]);
    }
    const Names shown = Entries();
    EXPECT_EQ(Ok().size(), file.size());
    ASSERT_TRUE(StartOn(""));
    EXPECT_EQ(Entries(), shown);
  }
}

}  // namespace
