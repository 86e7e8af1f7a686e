// Starting commands: by menu id and by hotkey, from the root of their drive.
#include "runner_fixture.h"

namespace e2e {
namespace {

using RunnerLaunch = RunnerTest;

constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;

TEST_F(RunnerLaunch, StartsFromTheDriveRootWithTheStoredShowCommand) {
  // Wine has drives C: and Z: only.
  WriteSet({Record("Root", Probe("root"), SW_SHOWMAXIMIZED, 'C'),
            Record("Missing", Probe("missing"), SW_SHOWMINNOACTIVE, 'Q')});
  StartRunner();
  Command(0);
  Command(1);
  std::vector<ProbeReport> launches = WaitForLaunches(2);
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[0].currentDir, "C:\\");
  EXPECT_EQ(launches[0].showWindow, SW_SHOWMAXIMIZED);
  // A missing drive starts from the runner's own directory, which the
  // launch before gave back.
  EXPECT_EQ(launches[1].currentDir + "\\", dir_.Dir());
  EXPECT_EQ(launches[1].showWindow, SW_SHOWMINNOACTIVE);
}

TEST_F(RunnerLaunch, CommandLineIsTheWholeStoredField) {
  const std::string full = Probe("") + std::string(300, 'x');
  WriteSet({Record("Long", full)});
  StartRunner();
  Command(0);
  std::vector<ProbeReport> launches = WaitForLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].commandLine, full.substr(0, 255));
}

// Only the exact ids of loaded records start something.
TEST_F(RunnerLaunch, OtherIdsStartNothing) {
  WriteSet({Record("A", Probe("a")), Record("B", Probe("b")), Record("C", Probe("c"))});
  StartRunner();
  WriteSet({Record("A", Probe("a"))});
  Reload();
  for (WPARAM id : {WPARAM{1}, WPARAM{2}, WPARAM{29}, WPARAM{30}, WPARAM{64}, WPARAM{70},
                    WPARAM{0x10000}, WPARAM{0x20001}})
    EXPECT_EQ(Send(WM_COMMAND, id), 0) << id;
  EXPECT_TRUE(SettledLaunches().empty());
  Command(0);
  EXPECT_EQ(LaunchedTags(1), std::vector<std::string>{"a"});
}

TEST_F(RunnerLaunch, HotkeysFollowTheRegistrationRules) {
  WriteSet({Record("Shift only", Probe("shift"), SHOWCMD_DEFAULT, 'C', Hotkey("001", 'x')),
            Record("-", Probe("separator"), SHOWCMD_DEFAULT, 'C', Hotkey("110", 's')),
            Record("First", Probe("first"), SHOWCMD_DEFAULT, 'C', Hotkey("110", 'n')),
            Record("Second", Probe("second"), SHOWCMD_DEFAULT, 'C', Hotkey("110", 'n'))});
  StartRunner();
  EXPECT_TRUE(HotkeyIsFree(MOD_SHIFT, 'X'));
  PressKeys({VK_CONTROL, VK_MENU, 'N'});
  PressKeys({VK_CONTROL, VK_MENU, 'N'});
  PressKeys({VK_CONTROL, VK_MENU, 'S'});
  EXPECT_EQ(LaunchedTags(3), (std::vector<std::string>{"first", "first", "separator"}));

  // A reload drops the hotkeys of the old set and registers the new ones.
  ClearProbeReports(dir_);
  WriteSet({Record("New", Probe("new"), SHOWCMD_DEFAULT, 'C', Hotkey("011", '7'))});
  Reload();
  EXPECT_TRUE(HotkeyIsFree(kCtrlAlt, 'N'));
  EXPECT_TRUE(HotkeyIsFree(kCtrlAlt, 'S'));
  PressKeys({VK_MENU, VK_SHIFT, '7'});
  EXPECT_EQ(LaunchedTags(1), std::vector<std::string>{"new"});

  DWORD exitCode = 1;
  ASSERT_TRUE(CloseRunner(&exitCode));
  EXPECT_TRUE(HotkeyIsFree(MOD_ALT | MOD_SHIFT, '7'));
}

}  // namespace
}  // namespace e2e
