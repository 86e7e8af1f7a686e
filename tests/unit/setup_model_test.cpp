// The editor's form as data: what it shows of a set file, what each handler
// does to the list, the fields and the set, and what Ok writes.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <filesystem>

#include "file.h"
#include "setup_model.h"
#include "test_support.h"

namespace {

using Names = std::vector<std::string>;

class SetupModel : public ::testing::Test {
 protected:
  // Starts the form on these bytes as Tasklark.dat beside the program.
  bool Start(const Bytes& file, const std::string& arguments = "",
             const std::string& program = "larkedit.exe") {
    WriteBytes(dir.Path("Tasklark.dat"), file);
    return form.FormCreate("larkedit.exe " + arguments, program.empty() ? "" : dir.Path(program), error);
  }
  Names Entries() const { return Names(form.Entries, form.Entries + form.Commands.Count); }
  // Name, command, window size, drive and hotkey, as the fields show them.
  std::string Shown() const {
    const SetupFields& f = form.Fields;
    return std::string(f.Name) + "|" + std::string(f.Command) + "|" + std::to_string(f.WindowSize) + "|" +
           f.Drive + "|" + f.Hotkey.c_str();
  }
  OkOutcome Ok() { return form.btnOkClick(error); }
  Bytes Saved() { return ReadBytes(dir.Path("Tasklark.dat")); }

  ScratchDir dir;
  TfSetup form;
  error::Code error = 0;
  const CommandRecord first = Record("First", "probe.exe 1", 2, 'd', "100a");  // minimized
  const CommandRecord second = Record("Second", "probe.exe 2", 4, 'E');
};

TEST_F(SetupModel, StartListsTheSetAndShowsTheFirstCommand) {
  const std::string forty(NAME_CAPACITY, 'x');  // stored without its NUL
  ASSERT_TRUE(Start(SetBytes({first, Record(forty, "c"), second})));
  EXPECT_EQ(Entries(), (Names{"First", forty, "Second"}));
  EXPECT_EQ(Shown() + std::to_string(form.SelectedEntry()), "First|probe.exe 1|1|D|Ctrl+A0");
  EXPECT_TRUE(form.AddEnabled() && form.DeleteEnabled());
  // The first argument names the set, unchanged; a missing one is an empty list, which Ok creates.
  ASSERT_TRUE(Start({}, "\"my set.dat\" other.dat"));
  EXPECT_TRUE(Entries().empty() && form.AddEnabled() && !form.DeleteEnabled());
  EXPECT_EQ(Shown() + std::to_string(form.SelectedEntry()), "||-1| |-1");
  EXPECT_EQ(Ok(), OkOutcome::Saved);
  EXPECT_TRUE(file::Exists(dir.Path("my set.dat").c_str()));

  // The program's own path came back cut: no folder, so no set.
  ASSERT_TRUE(Start(SetBytes({first}), "Tasklark.dat", ""));
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(Ok(), OkOutcome::Failed);
  EXPECT_EQ(error, error::PathTooLong());
  // A name too long for a path: refused, never cut into another name.
  ASSERT_TRUE(Start(SetBytes({first}), std::string(PathText::capacity(), 'n')));
  EXPECT_EQ(Ok(), OkOutcome::Failed);
  EXPECT_NE(std::string(form.SaveFailure(error).view()).find("nnn...\r\n"), std::string::npos);
  EXPECT_EQ(dir.Names(), (Names{"Tasklark.dat", "my set.dat"}));
}

TEST_F(SetupModel, FieldsAreStoredBackAsTheRecordKeepsThem) {
  CommandRecord odd = Record("Odd", "c", 1, '7', "001)");
  ASSERT_TRUE(Start(SetBytes({second, odd, first})));
  EXPECT_EQ(Shown(), "Second|probe.exe 2|0|E|");  // 4 to 10 show as Default
  form.eNameChange(std::string(50, 'n'));
  form.eCommandChange(std::string(300, 'c'));
  form.DriveClear();
  form.lbNameClick(1);
  EXPECT_EQ(Entries()[0], std::string(50, 'n'));  // until shown again from its record
  EXPECT_EQ(Shown(), "Odd|c|-1| |");              // no item, no letter, a key without a name
  form.lbNameClick(0);
  EXPECT_EQ(Entries()[0], std::string(40, 'n'));

  CommandRecord stored = second;
  StoreFieldText(stored.Name, std::string(40, 'n'));
  StoreFieldText(stored.Command, std::string(255, 'c'));
  stored.ShowCmd = SHOWCMD_DEFAULT;
  stored.Drive = odd.Drive = DRIVE_BLANK;
  std::memcpy(&odd.Hotkey, "000\0", 4);  // no item keeps 1; the key without a name is gone
  EXPECT_EQ(Ok(), OkOutcome::Saved);
  EXPECT_EQ(Saved(), SetBytes({stored, odd, first}));
}

TEST_F(SetupModel, ListOperationsKeepListTableAndFieldsInStep) {
  ASSERT_TRUE(Start(SetBytes({first, second})));
  form.btnAddClick();
  EXPECT_EQ(Entries(), (Names{"First", "Second", "[Name]"}));
  EXPECT_EQ(Shown(), "[Name]|[Command]|0|C|");
  // The list follows the name; Up takes the unsaved edits along, at the top nothing happens.
  form.eNameChange("New");
  form.btnUpClick();
  form.btnUpClick();
  form.eNameChange("Newer");
  form.btnUpClick();
  EXPECT_EQ(form.Commands.Records[0].Name.Stored(), std::string("New\0", 4));
  form.btnDownClick();
  form.lbNameClick(2);
  form.btnDownClick();
  EXPECT_EQ(Entries(), (Names{"First", "Newer", "Second"}));
  EXPECT_EQ(form.CurrentIndex, 2);
  // Delete: the entry that moves up takes the place; at the end the one before.
  form.lbNameClick(1);
  form.btnDeleteClick();
  EXPECT_EQ(Entries()[form.CurrentIndex], "Second");
  form.btnDeleteClick();
  EXPECT_EQ(Entries()[form.CurrentIndex], "First");
  // The last one gone, the fields still show it, in no slot; Add replaces it.
  form.btnDeleteClick();
  form.btnDeleteClick();
  form.eNameChange("Typed");
  EXPECT_TRUE(Entries().empty() && !form.DeleteEnabled());
  form.btnAddClick();
  EXPECT_EQ(Ok(), OkOutcome::Saved);
  EXPECT_EQ(Saved(), SetBytes({Record("[Name]", "[Command]")}));
  // Add stops at a full table, and a Delete there turns it on again.
  ASSERT_TRUE(Start(Bytes((MAX_COMMANDS - 1) * RECORD_SIZE, 'x')));
  form.btnAddClick();
  form.btnAddClick();
  EXPECT_FALSE(form.AddEnabled());
  EXPECT_EQ(form.Commands.Count, MAX_COMMANDS);
  form.btnDeleteClick();
  EXPECT_TRUE(form.AddEnabled());
}

// The drive field left empty is refused before anything else happens: the
// selection does not move and nothing is stored or written.
TEST_F(SetupModel, EmptyDriveLeaveIsRefusedBeforeTheSelectionMoves) {
  ASSERT_TRUE(Start(SetBytes({first, second})));
  form.DriveEnter();
  EXPECT_FALSE(form.DriveKey('7'));
  EXPECT_TRUE(form.DriveKey('\xe9'));  // a letter of the code page, in upper case
  EXPECT_EQ(form.Fields.Drive, '\xc9');
  form.DriveClear();
  EXPECT_TRUE(form.DriveLeave());
  form.lbNameClick(1);
  form.btnAddClick();
  form.btnDeleteClick();
  form.btnDownClick();
  form.btBrowseChosen("C:\\x.exe", "C:\\");
  EXPECT_EQ(Ok(), OkOutcome::Refused);
  EXPECT_FALSE(form.btnCancelClick());
  EXPECT_EQ(Shown() + Entries()[1], "First|probe.exe 1|1| |Ctrl+ASecond");
  EXPECT_EQ(form.Commands.Records[0].Drive, 'd');
  // Back in the field, Escape gives back the letter from before the edit.
  form.DriveEnter();
  EXPECT_TRUE(form.DriveEscape());
  EXPECT_EQ(form.Fields.Drive, 'D');
  EXPECT_FALSE(form.DriveEscape());  // nothing to undo: Escape is Cancel
  EXPECT_FALSE(form.DriveLeave());
  form.lbNameClick(1);
  EXPECT_EQ(form.CurrentIndex, 1);
  // A letter typed after a refusal lets the field go.
  form.DriveEnter();
  form.DriveClear();
  EXPECT_TRUE(form.DriveLeave());
  form.DriveEnter();
  form.DriveKey('f');
  EXPECT_EQ(Ok(), OkOutcome::Saved);
  EXPECT_EQ(Saved()[RECORD_SIZE + offsetof(CommandRecord, Drive)], 'F');
}

TEST_F(SetupModel, HotkeyCaptureAndBrowse) {
  ASSERT_TRUE(Start(SetBytes({first, second})));
  EXPECT_FALSE(form.eHotkeyKeyDown('B', SS_SHIFT));
  EXPECT_TRUE(form.eHotkeyKeyDown('B', SS_SHIFT | SS_CTRL));
  EXPECT_EQ(form.Fields.Hotkey, "Shift+Ctrl+B");
  EXPECT_TRUE(form.eHotkeyKeyDown(0x70, SS_ALT));
  form.lbNameClick(1);
  form.lbNameClick(0);
  EXPECT_EQ(form.Fields.Hotkey, "Alt+P");  // F1 is stored as the key that types p
  // A command without a name of its own is named after the program picked.
  form.btBrowseChosen("C:\\Tools\\pad.exe", "C:\\Tools\\");
  EXPECT_EQ(Shown() + std::string(form.BrowseDir), "First|C:\\Tools\\pad.exe|1|D|Alt+PC:\\Tools\\");
  for (const char* unnamed : {"", "  [Name] "}) {
    form.eNameChange(unnamed);
    form.btBrowseChosen("D:pad.exe", "D:");
    EXPECT_EQ(Entries()[0], "pad.exe") << unnamed;
  }
}

TEST_F(SetupModel, OkWritesTheSetAndKeepsEveryEditWhenItCannot) {
  // The shown record is stored from the fields on the way and gains its
  // NULs; the short last one is written as read, completed with zeros.
  Bytes file = SetBytes({Record("[Name]", "[Command]")});
  file[0] = 6;
  file.push_back(5);
  ASSERT_TRUE(Start(file));
  EXPECT_EQ(Entries(), (Names{"[Name]", ""}));
  EXPECT_EQ(Ok(), OkOutcome::Saved);
  Bytes expected = SetBytes({Record("[Name]", "[Command]")});
  expected.resize(2 * RECORD_SIZE);
  expected[RECORD_SIZE] = 5;
  EXPECT_EQ(Saved(), expected);

  std::filesystem::remove(dir.Path("Tasklark.dat"));
  std::filesystem::create_directory(dir.Path("Tasklark.dat"));
  form.btnAddClick();
  EXPECT_EQ(Ok(), OkOutcome::Failed);
  EXPECT_EQ(form.Commands.Count, 3);
  EXPECT_EQ(dir.Names(), Names{"Tasklark.dat"});
  EXPECT_NE(std::string(form.ReadFailure(error).view()).find("Ok would replace"), std::string::npos);
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
      EXPECT_EQ(std::string(form.Fields.Name), Entries()[i]);
    }
    const Names shown = Entries();
    EXPECT_EQ(Ok(), OkOutcome::Saved);
    ASSERT_EQ(Saved().size(), file.size());
    ASSERT_TRUE(Start(Saved()));
    EXPECT_EQ(Entries(), shown);
  }
}

}  // namespace
