// The two tray menus as the real popup menus show them, and choices made
// in them with the keyboard.
#include "runner_fixture.h"

namespace e2e {
namespace {

using RunnerMenu = RunnerTest;

TEST_F(RunnerMenu, CommandMenuShowsTheLoadedRecords) {
  const std::string forty(40, 'f');
  WriteSet({Record("Editor", Probe("editor"), SHOWCMD_DEFAULT, 'C', Hotkey("110", 'n')),
            Record("-", ""),
            Record("Shell", Probe("shell"), SHOWCMD_DEFAULT, 'C', Hotkey("111", '1')),
            Record("--- more text", ""),
            Record(forty, Probe("forty"))});
  StartRunner();
  std::vector<MenuEntry> expected = {{0, false, "Editor\tCtrl+Alt+N"},
                                     {0, true, ""},
                                     {2, false, "Shell\tShift+Ctrl+Alt+1"},
                                     {0, true, ""},
                                     {4, false, forty.substr(0, 39) + "\t"}};
  EXPECT_EQ(OpenCommandMenu(), expected);
  ChooseFromMenu({VK_DOWN, VK_DOWN, VK_RETURN});
  EXPECT_EQ(LaunchedTags(1), std::vector<std::string>{"shell"});
}

TEST_F(RunnerMenu, ControlMenuClosesTheRunner) {
  StartRunner();
  std::vector<MenuEntry> expected = {{kAbout, false, "About Tasklark"},
                                     {kSetup, false, "Setup Tasklark"},
                                     {0, true, ""},
                                     {kLoad, false, "Load commandset"},
                                     {kSaveAs, false, "Save commandset as ..."},
                                     {0, true, ""},
                                     {kClose, false, "Close Tasklark"}};
  EXPECT_EQ(OpenControlMenu(), expected);
  ChooseFromMenu({VK_UP, VK_RETURN});
  DWORD exitCode = 1;
  EXPECT_TRUE(runner_.WaitForExit(kDefaultTimeoutMs, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace e2e
