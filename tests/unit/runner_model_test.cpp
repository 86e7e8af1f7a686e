// The runner as data: the set it loads, what each command id and menu item
// is, how a command starts and what it opens, and the steps of Save as.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "runner_model.h"
#include "test_support.h"
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// As the runner reads it: the wide environment on Windows.
void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
  SetEnvironmentVariableW(std::filesystem::u8path(name).c_str(), std::filesystem::u8path(value).c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

class RunnerModelTest : public ::testing::Test {
 protected:
  void WriteSet(const std::vector<CommandRecord>& records, const std::string& file = "Tasklark.dat") {
    WriteBytes(dir.Path(file), SetBytes(records));
  }
  void Start(const std::string& arguments = "") {
    model.Start("Tasklark.exe " + arguments, dir.Path("Tasklark.exe"));
  }
  int Load() { return model.Load(wishes); }

  ScratchDir dir;
  RunnerModel model;
  HotkeyWish wishes[MAX_COMMANDS];
};

TEST_F(RunnerModelTest, LoadsTheNamedSetBesideTheProgram) {
  Start("\"C:\\elsewhere\\my set.dat\" more");
  EXPECT_EQ(Load(), 0);
  EXPECT_EQ(model.Tip(), "Tasklark - my set.dat");
  Start("C:\\sets\\");  // no name in it: the default
  EXPECT_EQ(model.SetFileName, "Tasklark.dat");
  Start(std::string(51, 'n') + "\xF0\x9F\x90\xA6");  // cut to what the tip holds, never half a character
  EXPECT_EQ(model.Tip(), "Tasklark - " + std::string(51, 'n'));
  // The program's own path unknown: nothing is read or made.
  model.Start("Tasklark.exe", "");
  EXPECT_EQ(Load(), 0);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"my set.dat"});
}

TEST_F(RunnerModelTest, HotkeysCommandIdsAndMenuItems) {
  WriteSet({Record("Editor", "notepad.exe a.txt", SHOWCMD_MAXIMIZED, 'D', "110n"),
            Record("-", "", 10, 'C', "111s"), Record("--- more", "", 10, 'C', "001x"),
            Record(std::string(40, 'f'), std::string(300, 'x'), 10, 'C', "0111"),
            Record("", "", 77, 'Q', "YY\1q"), Record(std::string("ab\0cd", 5), "x", 10, 'C', "100y")});
  Start();
  ASSERT_EQ(Load(), 4);  // only with Ctrl or Alt, a separator's too
  const int slots[] = {0, 1, 3, 5};
  const unsigned modifiers[] = {3, 7, 5, 2};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(wishes[i].Slot, slots[i]);
    EXPECT_EQ(wishes[i].Modifiers, modifiers[i]);
  }

  EXPECT_EQ(model.CommandMenuEntry(0).Label, "Editor\tCtrl+Alt+N");
  for (const int slot : {1, 2}) EXPECT_TRUE(model.CommandMenuEntry(slot).Separator) << slot;
  EXPECT_EQ(model.CommandMenuEntry(3).Label, std::string(39, 'f') + "\tShift+Alt+1");
  EXPECT_EQ(model.CommandMenuEntry(4).Label, "\tQ");            // flags other than 1 are not set
  EXPECT_STREQ(model.CommandMenuEntry(5).Label.c_str(), "ab");  // a NUL in the name ends the label

  // Ids are taken whole; a slot beyond the set runs nothing.
  int slot = -1;
  EXPECT_EQ(model.CommandFor(5, slot), RunnerCommand::Run);
  EXPECT_EQ(slot, 5);
  for (const std::uintptr_t id : {0x10000u, 0x10000u + IDM_CLOSE})
    EXPECT_EQ(model.CommandFor(id, slot), RunnerCommand::None) << id;
}

// After a load: the commands left out beyond 30, and the hotkeys the system
// did not give, each with why, as many as the balloon holds. UTF-8, from the
// records' code page (UTF-8 here), cut between characters.
TEST_F(RunnerModelTest, LoadNoticeTellsWhatIsLeftOutAndWhy) {
  using namespace std::string_literals;
  model.CodePage = ansi::UTF8_CODE_PAGE;
  const std::string held = "Held" + std::string(19, 'x') + "\xD0\x94";  // U+0414 over byte 24
  const std::string keyless = std::string(23, 'k');                     // and a pair over unit 24
  std::vector<CommandRecord> set;
  for (const std::string& name : {"Given"s, "Denied"s, held + "x", keyless + "\xF0\x9F\x90\xA6", "Twice"s})
    set.push_back(Record(name, "x", SHOWCMD_DEFAULT, 'C', "110a"));
  set.resize(MAX_COMMANDS + 2, Record("More", "x"));
  WriteSet(set);
  Start();
  ASSERT_EQ(Load(), 5);
  wishes[0].Registered = true;  // the others were not given
  wishes[1].VirtualKey = 'D';
  wishes[1].Error = start_error::ACCESS_DENIED;
  wishes[2].VirtualKey = 'X';
  wishes[2].Error = HOTKEY_ALREADY_REGISTERED;
  wishes[3].VirtualKey = -1;
  FixedText<255> denied;
  error::Describe(start_error::ACCESS_DENIED, denied);
  std::string expected = "Only the first 30 of the set's 32 commands are used; 2 are left out.\n";
  expected += "Ctrl+Alt+A Denied: " + std::string(denied) + "\n";
  expected += "Ctrl+Alt+A " + held + "...: in use by another program\n";
  expected += "Ctrl+Alt+A " + keyless + "...: no key types it\nand 1 more";  // used twice
  EXPECT_EQ(model.LoadNotice(wishes, 5), expected);
  // However short the lines, no more than the balloon's.
  WriteSet(std::vector<CommandRecord>(BALLOON_LINES + 2, Record("K", "x", SHOWCMD_DEFAULT, 'C', "110k")));
  ASSERT_EQ(Load(), BALLOON_LINES + 2);
  const std::string notice(model.LoadNotice(wishes, BALLOON_LINES + 2).view());
  EXPECT_EQ(notice.substr(notice.rfind('\n')), "\nand 2 more");
}

TEST_F(RunnerModelTest, EditorLoadAndSaveAs) {
  WriteSet({Record("Own", "own")});
  WriteSet({Record("Kept", "kept")}, "work.dat");
  Start("\"my set.dat\"");
  FixedText<2 * PathText::capacity()> line;
  ASSERT_TRUE(model.EditorCommandLine(line));
  EXPECT_EQ(line, "\"" + dir.Path("larkedit.exe") + "\" \"my set.dat\"");
  EXPECT_FALSE(model.TakeChosenName("C:\\other\\"));
  ASSERT_TRUE(model.TakeChosenName("C:\\other\\Tasklark.dat"));

  // Nothing for the current name; a question first for a set of that name
  // beside the program when another folder was chosen.
  EXPECT_EQ(model.PlanSaveAs(dir.Path("TASKLARK.DAT")).Step, SaveAsStep::Nothing);
  EXPECT_EQ(model.PlanSaveAs("C:\\other\\new.dat").Step, SaveAsStep::Copy);
  // The program's folder by another name: its short form, or a link to it.
#ifdef _WIN32
  wchar_t shortName[MAX_PATH] = {};
  GetShortPathNameW(std::filesystem::u8path(dir.Dir()).c_str(), shortName, MAX_PATH);
  const std::string sameFolder = std::filesystem::path(shortName).u8string();
#else
  const ScratchDir links;
  std::filesystem::create_directory_symlink(dir.Dir(), links.Path("link"));
  const std::string sameFolder = links.Path("link/");
#endif
  EXPECT_NE(sameFolder, dir.Dir());
  EXPECT_EQ(model.PlanSaveAs(sameFolder + "work.dat").Step, SaveAsStep::Copy);
  const SaveAsPlan plan = model.PlanSaveAs("C:\\other\\work.dat");
  ASSERT_EQ(plan.Step, SaveAsStep::AskFirst);
  EXPECT_NE(model.ReplaceQuestion(plan.Name).view().find("named work.dat."), std::string::npos);
  error::Code error = 0;
  ASSERT_TRUE(model.SaveAs(plan, error));
  EXPECT_EQ(ReadBytes(dir.Path("work.dat")), ReadBytes(dir.Path("Tasklark.dat")));

  // A copy that fails keeps the name and says why.
  std::filesystem::remove(dir.Path("work.dat"));
  EXPECT_FALSE(model.SaveAs(model.PlanSaveAs("copy.dat"), error));
  EXPECT_EQ(model.SetFileName, "work.dat");
  EXPECT_NE(model.SaveAsFailure("copy.dat", error).view().find("saved as copy.dat.\n\n"), std::string::npos);

  // What cannot be named is refused: nothing is copied from a cut path or to one.
  for (const std::string& name : {std::string(PathText::capacity() + 1 - dir.Dir().size(), 'n'),
                                  std::string(SET_FILE_NAME_CAPACITY + 1, 'm')}) {
    Start(name);
    EXPECT_FALSE(model.SaveAs(model.PlanSaveAs("copy.dat"), error));
    EXPECT_EQ(error, error::PathTooLong());
    Start();
    EXPECT_FALSE(model.SaveAs(model.PlanSaveAs(name), error));
    EXPECT_EQ(model.SetFileName, "Tasklark.dat");
  }
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"Tasklark.dat"});
}

// A %NAME% the environment has gives its value, one outside the records' code
// page too; everything else stays as written, and a line too long is refused.
TEST_F(RunnerModelTest, CommandsTakeTheEnvironmentsValues) {
  const std::string home = "C:\\Users\\\xD0\x9E\xD0\xBB\xD1\x8C\xD0\xB3\xD0\xB0";  // Cyrillic
  SetVariable("TASKLARK_HOME", home);
  SetVariable("TASKLARK_LONG", std::string(30000, 'x'));
  const struct {
    std::string stored, expanded;
  } cases[] = {
      {"%TASKLARK_HOME%\\notes.txt", home + "\\notes.txt"},
      {"caf\xE9 %TASKLARK_UNSET% %TASKLARK_HOME%", "caf\xC3\xA9 %TASKLARK_UNSET% " + home},
      {"100% %% %", "100% %% %"},
  };
  CommandText line;
  for (const auto& c : cases) {
    EXPECT_TRUE(model.ExpandCommand(c.stored, line)) << c.stored;
    EXPECT_EQ(line, c.expanded);
  }
  EXPECT_FALSE(model.ExpandCommand("%TASKLARK_LONG%%TASKLARK_LONG%%TASKLARK_LONG%%TASKLARK_LONG%", line));
}

// Only after a start that found no program: the whole line when it names an
// existing file or folder or is an address, else its first argument, with
// the rest as the parameters. Paths are looked up from the current
// directory, as from a drive's root while a command starts.
TEST_F(RunnerModelTest, ACommandThatNamesNoProgramOpensWhatItNames) {
  WriteBytes(dir.Path("My report.txt"), {});
  WriteBytes(dir.Path("report.txt"), {});
  std::filesystem::create_directory(dir.Path("My folder"));
  using namespace start_error;
  const struct {
    std::string line;
    error::Code error;
    std::string target, parameters;
  } cases[] = {
      {"  My report.txt ", BAD_EXE_FORMAT, "My report.txt", ""},
      {"\"My report.txt\"  /p  2", BAD_EXE_FORMAT, "My report.txt", "/p  2"},
      {"report.txt page 2", ACCESS_DENIED, "report.txt", "page 2"},
      {"\"My folder\"", FILE_NOT_FOUND, "My folder", ""},
      {"https://example.org/a b", INVALID_NAME, "https://example.org/a b", ""},
      {"x-my+scheme.1:open me", PATH_NOT_FOUND, "x-my+scheme.1:open me", ""},
      {"C:\\no such folder", FILE_NOT_FOUND, "", ""},  // a drive, not a scheme
      {"1x:open", FILE_NOT_FOUND, "", ""},
      {"report.txt", 740, "", ""},  // another reason: the start needs elevation
      {"  ", FILE_NOT_FOUND, "", ""},
  };
  const std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::u8path(dir.Dir()));
  for (const auto& c : cases) {
    OpenTarget target;
    EXPECT_EQ(model.OpenTargetOf(c.line, c.error, target), !c.target.empty()) << c.line;
    EXPECT_EQ(target.Target, c.target) << c.line;
    EXPECT_EQ(target.Parameters, c.parameters) << c.line;
  }
  std::filesystem::current_path(saved);
}

// One click or one key opens one menu: a click's at the pointer as its button
// goes down, a key's at the icon with its first item chosen. What a click
// brings after it opens nothing, nor does anything while a menu is open.
TEST_F(RunnerModelTest, TrayNotificationsOpenOneMenuEach) {
  using namespace tray_event;
  constexpr TrayMenu NONE = TrayMenu::None, COMMANDS = TrayMenu::Commands, CONTROL = TrayMenu::Control;
  const struct {
    unsigned event;
    TrayMenu menu;
    bool fromKeyboard;
  } steps[] = {
      {LEFT_DOWN, COMMANDS, false}, {LEFT_UP, NONE, false},        {SELECT, NONE, false},
      {RIGHT_DOWN, CONTROL, false}, {MOUSE_MOVE, NONE, false},     {RIGHT_UP, NONE, false},
      {CONTEXT_MENU, NONE, false},  {KEY_SELECT, COMMANDS, true},  {RIGHT_DOWN, CONTROL, false},
      {KEY_SELECT, COMMANDS, true}, {CONTEXT_MENU, CONTROL, true}, {SELECT, COMMANDS, true},
  };
  Start();
  EXPECT_EQ(model.TrayEvent(LEFT_DOWN).Menu, NONE);  // no commands: no menu
  WriteSet({Record("One", "one")});
  Load();
  for (const auto& step : steps) {
    const TrayOpening opening = model.TrayEvent(step.event);
    EXPECT_EQ(opening.Menu, step.menu) << step.event;
    EXPECT_EQ(opening.FromKeyboard, step.fromKeyboard) << step.event;
    model.TrayMenuClosed();
  }
  EXPECT_EQ(model.TrayEvent(KEY_SELECT).Menu, COMMANDS);
  EXPECT_EQ(model.TrayEvent(KEY_SELECT).Menu, NONE);  // over the open menu
}

}  // namespace
