// The runner as data: which set it loads, what each command id and menu item
// is, how a command starts, and the steps of Save as.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "runner_model.h"
#include "test_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes RecordBytes(const std::string& name, const std::string& command, const char (&hotkey)[5] = "000\0",
                  char drive = 'C', std::int32_t show = SHOWCMD_DEFAULT) {
  CommandRecord r;
  std::memset(&r, 0, sizeof r);
  StoreFieldText(r.Name, name);
  StoreFieldText(r.Command, command);
  r.ShowCmd = show;
  r.Drive = drive;
  std::memcpy(&r.Hotkey, hotkey, 4);
  const auto* p = reinterpret_cast<const unsigned char*>(&r);
  return Bytes(p, p + RECORD_SIZE);
}

Bytes Join(std::initializer_list<Bytes> records) {
  Bytes all;
  for (const Bytes& r : records) all.insert(all.end(), r.begin(), r.end());
  return all;
}

class RunnerModelTest : public ::testing::Test {
 protected:
  void Start(const std::string& arguments = "") { model.Start("Tasklark.exe " + arguments, dir.Path("Tasklark.exe")); }
  int Load() { return model.Load(wishes); }
  RunnerCommand Command(std::uintptr_t id) {
    int slot = -1;
    RunnerCommand command = model.CommandFor(id, slot);
    if (command == RunnerCommand::Run) {
      EXPECT_EQ(slot, static_cast<int>(id));
    }
    return command;
  }

  ScratchDir dir;
  RunnerModel model;
  HotkeyWish wishes[MAX_COMMANDS];
};

TEST_F(RunnerModelTest, LoadsTheNamedSetBesideTheProgramAndCreatesAMissingOne) {
  Start("\"C:\\elsewhere\\my set.dat\" more");
  EXPECT_EQ(model.SetFileName, "my set.dat");
  EXPECT_EQ(Load(), 0);
  EXPECT_FALSE(model.HasCommandMenu());
  EXPECT_EQ(ReadBytes(dir.Path("my set.dat")), Bytes{});
  EXPECT_EQ(model.Tip(), "Tasklark - my set.dat");

  Start("C:\\sets\\");  // no name in it: the default
  EXPECT_EQ(model.SetFileName, "Tasklark.dat");
  const std::string long_name(60, 'n');
  Start(long_name);
  EXPECT_EQ(model.Tip(), ("Tasklark - " + long_name).substr(0, TIP_CHARS - 1));

  // The program's own path unknown: nothing is read or created.
  model.Start("Tasklark.exe", "");
  EXPECT_EQ(Load(), 0);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"my set.dat"});
}

TEST_F(RunnerModelTest, HotkeysAreWishedOnlyWithCtrlOrAlt) {
  WriteBytes(dir.Path("Tasklark.dat"), Join({RecordBytes("Shift", "s", "001x"), RecordBytes("-", "sep", "110s"),
                                             RecordBytes("Both", "b", "111N"), RecordBytes("Alt", "a", "0111"),
                                             RecordBytes("None", "n", "YY\x01q")}));
  Start();
  ASSERT_EQ(Load(), 3);
  EXPECT_EQ(model.LastIndex, 4);
  EXPECT_EQ(wishes[0].Slot, 1);  // a separator's hotkey works too
  EXPECT_EQ(wishes[0].Modifiers, 3u);
  EXPECT_EQ(wishes[0].Key, 's');
  EXPECT_EQ(wishes[1].Modifiers, 7u);
  EXPECT_EQ(wishes[1].Key, 'N');
  EXPECT_EQ(wishes[2].Slot, 3);
  EXPECT_EQ(wishes[2].Modifiers, 5u);

  // A shorter set: the slots after it keep the old records, which nothing reaches.
  WriteBytes(dir.Path("Tasklark.dat"), RecordBytes("Only", "o"));
  EXPECT_EQ(Load(), 0);
  EXPECT_EQ(model.LastIndex, 0);
  EXPECT_EQ(model.Commands.Records[4].Name.Stored(), std::string("None\0", 5));
  for (std::uintptr_t id : {1u, 4u, 29u}) EXPECT_EQ(Command(id), RunnerCommand::None) << id;
}

TEST_F(RunnerModelTest, CommandIdsAreTakenWhole) {
  WriteBytes(dir.Path("Tasklark.dat"), Join({RecordBytes("A", "a"), RecordBytes("B", "b")}));
  Start();
  Load();
  EXPECT_EQ(Command(0), RunnerCommand::Run);
  EXPECT_EQ(Command(1), RunnerCommand::Run);
  EXPECT_EQ(Command(IDM_ABOUT), RunnerCommand::About);
  EXPECT_EQ(Command(IDM_SETUP), RunnerCommand::Setup);
  EXPECT_EQ(Command(IDM_LOAD), RunnerCommand::Load);
  EXPECT_EQ(Command(IDM_SAVEAS), RunnerCommand::SaveAs);
  EXPECT_EQ(Command(IDM_CLOSE), RunnerCommand::Close);
  const std::uintptr_t high = std::uintptr_t(1) << 16;
  for (std::uintptr_t id : {std::uintptr_t(2), std::uintptr_t(30), std::uintptr_t(64), std::uintptr_t(70),
                            high, high + 1, high + IDM_CLOSE, ~std::uintptr_t(0)})
    EXPECT_EQ(Command(id), RunnerCommand::None) << id;
}

TEST_F(RunnerModelTest, MenuItemsAndLaunches) {
  std::string nul_name("ab\0cd", 5);
  WriteBytes(dir.Path("Tasklark.dat"),
             Join({RecordBytes("Editor", "notepad.exe a.txt", "110n", 'D', SHOWCMD_MAXIMIZED), RecordBytes("-", ""),
                   RecordBytes("--- more", ""), RecordBytes(std::string(40, 'f'), std::string(300, 'x')),
                   RecordBytes("", "", "000\0", 'Q', 77), RecordBytes(nul_name, "x", "100y")}));
  Start();
  Load();
  ASSERT_TRUE(model.HasCommandMenu());
  auto item = [&](int slot) {
    const CommandMenuItem entry = model.CommandMenuEntry(slot);
    return entry.Separator ? std::string("<separator>") : std::string(entry.Label.view());
  };
  EXPECT_EQ(item(0), "Editor\tCtrl+Alt+N");
  EXPECT_EQ(item(1), "<separator>");
  EXPECT_EQ(item(2), "<separator>");
  EXPECT_EQ(item(3), std::string(39, 'f') + "\t" + std::string(1, '\0'));
  EXPECT_EQ(item(4), std::string("\t\0", 2));
  EXPECT_EQ(model.CommandMenuEntry(5).Label.c_str(), std::string("ab"));  // the NUL ends the label

  Launch launch = model.LaunchOf(0);
  EXPECT_STREQ(launch.Root, "D:\\");
  EXPECT_EQ(launch.CommandLine, "notepad.exe a.txt");
  EXPECT_EQ(launch.ShowCmd, SHOWCMD_MAXIMIZED);
  EXPECT_EQ(model.LaunchOf(3).CommandLine, std::string(255, 'x'));
  launch = model.LaunchOf(4);
  EXPECT_STREQ(launch.Root, "Q:\\");
  EXPECT_EQ(launch.ShowCmd, 77);

  EXPECT_EQ(std::string(CONTROL_MENU[4].Text), "Save commandset as ...");
  EXPECT_EQ(CONTROL_MENU[2].Text, nullptr);
}

TEST_F(RunnerModelTest, EditorStartsOnTheCurrentSetQuoted) {
  Start("\"my set.dat\"");
  FixedText<2 * PathText::capacity()> line;
  ASSERT_TRUE(model.EditorCommandLine(line));
  EXPECT_EQ(line, "\"" + dir.Path("larkedit.exe") + "\" \"my set.dat\"");
  ASSERT_TRUE(model.TakeChosenName("C:\\other\\picked.dat"));
  EXPECT_EQ(model.SetFileName, "picked.dat");
  EXPECT_FALSE(model.TakeChosenName("C:\\other\\"));
  EXPECT_EQ(model.SetFileName, "picked.dat");
}

TEST_F(RunnerModelTest, SaveAsCopiesBesideTheProgramAndAsksFirstAboutAnotherFolder) {
  const Bytes set = RecordBytes("Own", "own");
  WriteBytes(dir.Path("Tasklark.dat"), set);
  WriteBytes(dir.Path("work.dat"), RecordBytes("Kept", "kept"));
  Start();
  EXPECT_EQ(model.PlanSaveAs(dir.Path("TASKLARK.DAT")).Step, SaveAsStep::Nothing);
  EXPECT_EQ(model.PlanSaveAs(dir.Path("work.dat")).Step, SaveAsStep::Copy);
  EXPECT_EQ(model.PlanSaveAs("C:\\other\\new.dat").Step, SaveAsStep::Copy);
  const SaveAsPlan plan = model.PlanSaveAs("C:\\other\\work.dat");
  ASSERT_EQ(plan.Step, SaveAsStep::AskFirst);
  EXPECT_NE(std::string(model.ReplaceQuestion(plan.Name).view()).find("named work.dat."), std::string::npos);

  sys::ErrorCode error = 0;
  ASSERT_TRUE(model.SaveAs(plan, error));
  EXPECT_EQ(ReadBytes(dir.Path("work.dat")), set);
  EXPECT_EQ(model.SetFileName, "work.dat");

  // A copy that fails keeps the name, and says why.
  std::filesystem::remove(dir.Path("work.dat"));
  EXPECT_FALSE(model.SaveAs(model.PlanSaveAs("copy.dat"), error));
  EXPECT_EQ(model.SetFileName, "work.dat");
  EXPECT_NE(std::string(model.SaveAsFailure("copy.dat", error).view()).find("saved as copy.dat.\n\n"),
            std::string::npos);
}

TEST_F(RunnerModelTest, SaveAsRefusesWhatItCannotName) {
  WriteBytes(dir.Path("Tasklark.dat"), RecordBytes("Own", "own"));
  sys::ErrorCode error = 0;
  for (const std::string& name :
       {std::string(PathText::capacity() + 1 - dir.Dir().size(), 'n'), std::string(SET_FILE_NAME_CAPACITY + 1, 'm')}) {
    // The set's own path too long: nothing is copied from a cut one.
    model.Start("Tasklark.exe " + name, dir.Path("Tasklark.exe"));
    EXPECT_FALSE(model.SaveAs(model.PlanSaveAs("copy.dat"), error));
    EXPECT_EQ(error, sys::PathTooLongError());
    // The new name too long.
    Start();
    EXPECT_FALSE(model.SaveAs(model.PlanSaveAs(name), error));
    EXPECT_EQ(model.SetFileName, "Tasklark.dat");
  }
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"Tasklark.dat"});
}

}  // namespace
