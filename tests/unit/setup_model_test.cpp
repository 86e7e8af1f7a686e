// The editor's form as data: what it shows of a set file, what each of the
// user's actions does to the list, the fields and the set, and what Ok writes,
// where only an example can tell; what holds after any sequence of actions
// is checked by fuzz/fuzz_setup_form.cpp.
#include <gtest/gtest.h>

#include "setup_model.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>

#include "code_page.h"
#endif

namespace {

using Names = std::vector<std::string>;

class SetupModel : public ::testing::Test {
 protected:
  bool Start(const Bytes& file, const std::string& arguments = "",
             const std::string& program = "larkedit.exe") {
    WriteBytes(dir.Path("Tasklark.dat"), file);
    return form.Open("larkedit.exe " + arguments, program.empty() ? "" : dir.Path(program), error);
  }
  Names Entries() const { return Names(form.Entries, form.Entries + form.Commands.Count); }
  void ExpectFields(const char* when, std::string_view name, std::string_view command, int windowSize,
                    char drive, std::string_view hotkey) const {
    SCOPED_TRACE(when);
    EXPECT_EQ(form.Fields.Name.view(), name);
    EXPECT_EQ(form.Fields.Command.view(), command);
    EXPECT_EQ(form.Fields.WindowSize, windowSize);
    EXPECT_EQ(form.Fields.Drive, drive);
    EXPECT_EQ(form.Fields.Hotkey.view(), hotkey);
  }
  OkOutcome Ok() { return form.Ok(error); }
  Bytes Saved() { return ReadBytes(dir.Path("Tasklark.dat")); }

  ScratchDir dir;
  SetupForm form;
  error::Code error = 0;
  const CommandRecord first = Record("First", "probe.exe 1", 2, 'd', "100a");  // minimized
  const CommandRecord second = Record("Second", "probe.exe 2", 4, 'E');
};

TEST_F(SetupModel, StartListsTheSetAndShowsTheFirstCommand) {
  ASSERT_TRUE(Start(SetBytes({first, second})));
  ExpectFields("the first command", "First", "probe.exe 1", 1, 'D', "Ctrl+A");
  // More records than the list holds: the first 30 are shown, and the user is told.
  ASSERT_TRUE(Start(Bytes(45 * RECORD_SIZE - 1, 'x')));
  EXPECT_TRUE(form.SetIsCut());
  EXPECT_NE(form.CutSetNotice().view().find("holds 45 commands. Only the first 30 "), std::string_view::npos);
  // The first argument names the set, unchanged; a missing one is an empty list, which Ok creates.
  ASSERT_TRUE(Start({}, "\"my set.dat\" other.dat"));
  EXPECT_TRUE(Entries().empty());
  EXPECT_FALSE(form.CanDelete());
  ExpectFields("no command", "", "", -1, ' ', "");
  EXPECT_EQ(Ok(), OkOutcome::Saved);
  EXPECT_EQ(dir.Names(), (Names{"Tasklark.dat", "my set.dat"}));
}

// A key pressed in the hotkey field, and fields no item or letter shows.
TEST_F(SetupModel, FieldsAreStoredBackAsTheRecordKeepsThem) {
  ASSERT_TRUE(Start(SetBytes({second, Record("Odd", "c", 1, '7', "001)"), first})));
  EXPECT_EQ(form.Fields.WindowSize, 0);  // 4 to 10 show as Default
  form.SetName(std::string(50, 'n'));
  form.SetCommand(std::string(300, 'c'));
  EXPECT_TRUE(form.TypeDrive('\xe9'));  // a letter of the code page, in upper case
  EXPECT_EQ(form.Fields.Drive, '\xc9');
  form.ClearDrive();
  EXPECT_FALSE(form.PressHotkey('B', SS_SHIFT));  // no hotkey without Ctrl or Alt
  EXPECT_TRUE(form.PressHotkey('B', SS_SHIFT | SS_CTRL));
  EXPECT_EQ(form.Fields.Hotkey, "Shift+Ctrl+B");
  form.SelectCommand(1);
  EXPECT_EQ(Entries()[0], std::string(50, 'n'));  // until shown again from its record
  ExpectFields("no item, no letter, a key without a name", "Odd", "c", -1, ' ', "");
  form.SelectCommand(0);
  EXPECT_EQ(Entries()[0], std::string(40, 'n'));
  EXPECT_EQ(Ok(), OkOutcome::Saved);
  // No item keeps 1; the key without a name is gone.
  EXPECT_EQ(
      Saved(),
      SetBytes({Record(std::string(40, 'n'), std::string(255, 'c'), SHOWCMD_DEFAULT, DRIVE_BLANK, "101b"),
                Record("Odd", "c", 1, DRIVE_BLANK), first}));
}

TEST_F(SetupModel, ListOperationsKeepListTableAndFieldsInStep) {
  ASSERT_TRUE(Start(SetBytes({first, second})));
  form.Add();
  ExpectFields("a new command", "[Name]", "[Command]", 0, 'C', "");
  // Delete: the entry that moves up takes the place; at the end the one before.
  form.SelectCommand(1);
  form.Delete();
  EXPECT_EQ(Entries()[form.CurrentIndex], "[Name]");
  form.Delete();
  EXPECT_EQ(Entries()[form.CurrentIndex], "First");
  // The last one gone, the fields still show it, in no slot; Add replaces it.
  form.Delete();
  form.Delete();
  form.SetName("Typed");
  form.Add();
  EXPECT_EQ(Ok(), OkOutcome::Saved);
  EXPECT_EQ(Saved(), SetBytes({Record("[Name]", "[Command]")}));
  // A full table takes no more.
  ASSERT_TRUE(Start(Bytes(MAX_COMMANDS * RECORD_SIZE, 'x')));
  EXPECT_FALSE(form.CanAdd());
}

// A command without a name of its own is named after the program picked,
// whose name may end in the byte of a backslash (code page 932).
TEST_F(SetupModel, BrowsedProgramBecomesTheCommand) {
  ASSERT_TRUE(Start(SetBytes({first, second})));
  form.TakeBrowsedProgram("C:\\Tools\\pad.exe", "pad.exe", "C:\\Tools\\");
  ExpectFields("a program picked", "First", "C:\\Tools\\pad.exe", 1, 'D', "Ctrl+A");
  EXPECT_EQ(form.BrowseDir.view(), "C:\\Tools\\");
  for (const char* unnamed : {"", "  [Name] "}) {
    form.SetName(unnamed);
    form.TakeBrowsedProgram("D:\x83\x5C.exe", "\x83\x5C.exe", "D:");
    EXPECT_EQ(Entries()[0], "\x83\x5C.exe") << unnamed;
  }
}

TEST_F(SetupModel, OkThatCannotWriteSaysWhy) {
  // The program's own path came back cut: no folder, so no set.
  ASSERT_TRUE(Start(SetBytes({first}), "Tasklark.dat", ""));
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(Ok(), OkOutcome::Failed);
  EXPECT_EQ(error, error::PathTooLong());
  // A name too long for a path: refused, never cut into another name.
  ASSERT_TRUE(Start(SetBytes({first}), std::string(PathText::capacity(), 'n')));
  EXPECT_EQ(Ok(), OkOutcome::Failed);
  EXPECT_NE(form.SaveFailure(error).view().find("nnn...\r\n"), std::string_view::npos);
}

#ifdef _WIN32
TEST(CodePage, ProgramsAreTakenWholeOrRefused) {
  FieldText command, name;
  const char* mixed = "C:\\\xD0\x94\\\xE3\x82\xBD.exe";  // U+0414, U+30BD
  ASSERT_TRUE(ProgramInCodePage(mixed, CP_UTF8, command, name));
  EXPECT_EQ(command.view(), mixed);
  ASSERT_TRUE(ProgramInCodePage("C:\\\xE3\x82\xBD\\\xE3\x82\xBD.exe", 932, command, name));
  EXPECT_EQ(command.view(), "C:\\\x83\x5C\\\x83\x5C.exe");
  EXPECT_EQ(name.view(), "\x83\x5C.exe");  // not ".exe": the trail byte is no backslash
  EXPECT_FALSE(ProgramInCodePage("C:\\\xC4\x80.exe", 1252, command, name));         // U+0100, never "A"
  EXPECT_FALSE(ProgramInCodePage("C:\\\xED\xA0\x80.exe", CP_UTF8, command, name));  // a lone surrogate
  EXPECT_FALSE(ProgramInCodePage("", CP_UTF8, command, name));
}
#endif

}  // namespace
