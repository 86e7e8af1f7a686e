// Start, tray icon and tip, and the end of the runner.
#include "runner_fixture.h"

namespace e2e {
namespace {

using RunnerStart = RunnerTest;

TEST_F(RunnerStart, WithoutArgumentCreatesTheDefaultSetAndClosesCleanly) {
  StartRunner();
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_TRUE(dir_.Exists(kSetFile));
  EXPECT_TRUE(ReadBytes(dir_.Path(kSetFile)).empty());
  EXPECT_TRUE(TrayIconExists());

  // An empty set has no command menu: the first menu to open is the control menu.
  PostMessageA(window_, kTrayNotify, kTrayIconId, WM_LBUTTONDOWN);
  EXPECT_EQ(OpenControlMenu().size(), 7u);
  ChooseFromMenu({VK_ESCAPE});

  DWORD exitCode = 1;
  ASSERT_TRUE(CloseRunner(&exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(TrayIconExists());
}

TEST_F(RunnerStart, UsesOnlyTheNameOfItsArgument) {
  const std::string name = UniqueName("my set");
  WriteSet({Record("Work", Probe("work"), SHOWCMD_DEFAULT, 'C', Hotkey("110", 'w'))}, name);
  StartRunner("\"C:\\no such folder\\" + name + "\"");
  EXPECT_TRUE(HasTip("Tasklark - " + name));
  EXPECT_FALSE(HotkeyIsFree(MOD_CONTROL | MOD_ALT, 'W'));
  EXPECT_FALSE(FileExists("C:\\no such folder"));
  EXPECT_FALSE(dir_.Exists(kSetFile));

  DWORD exitCode = 1;
  ASSERT_TRUE(CloseRunner(&exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(HotkeyIsFree(MOD_CONTROL | MOD_ALT, 'W'));
}

TEST_F(RunnerStart, LongSetNameIsCutToTheTip) {
  std::string name = UniqueName("long");
  name.insert(0, 60 - name.size(), 'n');
  StartRunner(name);
  EXPECT_TRUE(dir_.Exists(name));
  const std::string tip = ("Tasklark - " + name).substr(0, 63);
  EXPECT_TRUE(HasTip(tip));
  for (const std::string& shown : TrayTips())
    EXPECT_FALSE(shown.size() > tip.size() && shown.rfind(tip, 0) == 0) << shown;
}

// A shell that starts anew has lost every icon and announces itself.
TEST_F(RunnerStart, AddsItsIconAgainForANewShell) {
  const std::string name = UniqueName("new");
  StartRunner(name);
  NOTIFYICONDATAA lost = {};
  lost.cbSize = NOTIFYICONDATAA_V1_SIZE;
  lost.hWnd = window_;
  lost.uID = kTrayIconId;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &lost));
  ASSERT_FALSE(TrayIconExists());

  PostMessageA(window_, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return TrayIconExists(); }));
  EXPECT_TRUE(HasTip("Tasklark - " + name));
}

}  // namespace
}  // namespace e2e
