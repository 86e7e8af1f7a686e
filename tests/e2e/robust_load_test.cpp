// A load of posted messages on the real runner: command ids in and out of
// range, reloads while the set file changes, tray notifications that open no
// menu and hotkey messages, 10,000 of them mixed (100,000 in the long run).
// Afterwards every message has been handled once, a real hotkey still starts
// its command, the set is the file's, and the runner holds as many USER and
// GDI objects as before.
#include "robust_inputs.h"
#include "runner_fixture.h"

namespace e2e {
namespace {

constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr DWORD kDrainTimeoutMs = 600000;
constexpr WPARAM kControlIds[] = {kAbout, kSaveAs, kClose, kLoad, kSetup};

struct Posted {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

bool IsControlId(WPARAM id) {
  for (WPARAM control : kControlIds)
    if (id == control) return true;
  return false;
}

// Ids that are no record's: past the table, between and above the control
// ids, and with bits above the low word.
WPARAM OutOfRangeId(std::mt19937& random) {
  for (;;) {
    WPARAM id = 0;
    switch (random() % 4) {
      case 0: id = MAX_COMMANDS + random() % 60; break;
      case 1: id = random() % 0x10000; break;
      case 2: id = (static_cast<WPARAM>(random()) << 16) | (random() % MAX_COMMANDS); break;
      default: id = ~static_cast<WPARAM>(random() % MAX_COMMANDS); break;
    }
    if (id >= MAX_COMMANDS && !IsControlId(id)) return id;
  }
}

// Notifications of the icon that open no menu.
LPARAM QuietTrayEvent(std::mt19937& random) {
  const LPARAM events[] = {WM_MOUSEMOVE,   WM_LBUTTONUP,   WM_RBUTTONUP,  WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK,
                           WM_MBUTTONDOWN, WM_MBUTTONUP,   WM_CONTEXTMENU, WM_USER,          WM_USER + 1,
                           0,              WM_MOUSEWHEEL,  WM_XBUTTONDOWN, WM_MBUTTONDBLCLK, 0x7FFF};
  return events[random() % (sizeof events / sizeof events[0])];
}

// Slot 0 starts the probe tagged "hot", slot 1 the one tagged "end"; the
// other records start nothing.
constexpr WPARAM kHotSlot = 0, kEndSlot = 1, kFirstQuietSlot = 2;

// `count` messages; `launches` of them start slot 0's command, half through
// the menu id and half through the hotkey message. The last one starts slot
// 1's, and its command is posted behind everything else: once it has
// started, every message before it has been handled.
std::vector<Posted> MixedMessages(std::mt19937& random, int count, int launches) {
  std::vector<Posted> messages;
  for (int i = 0; i < count - launches - 1; ++i) {
    const WPARAM slot = kFirstQuietSlot + random() % (MAX_COMMANDS - kFirstQuietSlot);
    const LPARAM anything = static_cast<LPARAM>(random());
    switch (random() % 10) {
      case 0: case 1: messages.push_back({WM_COMMAND, slot, 0}); break;
      case 2: case 3: messages.push_back({WM_COMMAND, OutOfRangeId(random), anything}); break;
      case 4: messages.push_back({WM_RELOADSET, 0, 0}); break;
      case 5: case 6: case 7: messages.push_back({kTrayNotify, kTrayIconId, QuietTrayEvent(random)}); break;
      case 8: messages.push_back({WM_HOTKEY, slot, anything}); break;
      default: messages.push_back({WM_HOTKEY, OutOfRangeId(random), anything}); break;
    }
  }
  for (int i = 0; i < launches; ++i) {
    const auto at = messages.begin() + static_cast<std::ptrdiff_t>(random() % (messages.size() + 1));
    messages.insert(at, i % 2 ? Posted{WM_HOTKEY, kHotSlot, 0} : Posted{WM_COMMAND, kHotSlot, 0});
  }
  messages.push_back({WM_HOTKEY, kEndSlot, 0});
  return messages;
}

using RobustLoad = RunnerTest;

TEST_F(RobustLoad, MixedMessagesLeaveTheRunnerAsItWas) {
  // Records that start nothing: a program that is not there, an empty
  // command, a folder, a drive that does not exist.
  auto setWith = [&](char hotkey, int records) {
    std::vector<CommandRecord> set = {Record("Hot", Probe("hot"), SHOWCMD_DEFAULT, 'C', Hotkey("110", hotkey)),
                                      Record("End", Probe("end")),
                                      Record("-", ""),
                                      Record("Missing", "C:\\no such folder\\none.exe"),
                                      Record("Empty", ""),
                                      Record("Folder", "C:\\windows"),
                                      Record("No drive", "none.exe", SHOWCMD_DEFAULT, 'Q')};
    set.resize(static_cast<std::size_t>(records));
    return set;
  };
  // The set changes half way: more records before, fewer after.
  const std::vector<CommandRecord> before = setWith('h', 7), after = setWith('j', 5);
  ASSERT_TRUE(HotkeyIsFree(kCtrlAlt, 'H'));
  ASSERT_TRUE(HotkeyIsFree(kCtrlAlt, 'J'));
  WriteSet(before);
  StartRunner();
  GuiCounts start;
  ASSERT_TRUE(CountGuiObjects(runner_, dir_, start));

  std::mt19937 random(robust::Seed());
  const int launches = robust::Scaled(20, 100);
  const std::vector<Posted> messages = MixedMessages(random, robust::Scaled(10000, 100000), launches);
  const DWORD started = GetTickCount();
  for (std::size_t i = 0; i < messages.size(); ++i) {
    if (i == messages.size() / 2) WriteSet(after);
    const Posted& m = messages[i];
    // A full queue refuses a message for a moment; the load waits for room.
    ASSERT_TRUE(WaitUntil([&] { return PostMessageA(window_, m.message, m.wParam, m.lParam) != FALSE; }))
        << "message " << i << " could not be posted";
  }
  auto ended = [&] {
    for (const ProbeReport& report : ProbeReports(dir_))
      if (report.commandLine.size() >= 4 && report.commandLine.compare(report.commandLine.size() - 4, 4, " end") == 0)
        return true;
    return false;
  };
  ASSERT_TRUE(WaitUntil(ended, kDrainTimeoutMs)) << "the last message was not handled";
  std::cout << messages.size() << " messages handled in " << GetTickCount() - started << " ms" << std::endl;
  // Each launch asked for happened once.
  std::vector<std::string> expected(static_cast<std::size_t>(launches), "hot");
  expected.push_back("end");
  std::vector<std::string> tags = LaunchedTags(0);
  std::sort(tags.begin(), tags.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(tags, expected);
  ASSERT_TRUE(runner_.IsRunning());
  EXPECT_TRUE(IsResponsive(window_));

  GuiCounts end;
  ASSERT_TRUE(CountGuiObjects(runner_, dir_, end));
  auto counted = [](const GuiCounts& c) {
    return std::to_string(c.menus) + " menus, " + std::to_string(c.windows) + " windows, " +
           std::to_string(c.gdiObjects) + " GDI objects (GetGuiResources " + std::to_string(c.user) + " USER, " +
           std::to_string(c.gdi) + " GDI)";
  };
  std::cout << "before: " << counted(start) << "\nafter:  " << counted(end) << std::endl;
  EXPECT_EQ(end.gdi, start.gdi);
  EXPECT_EQ(end.user, start.user);
  EXPECT_EQ(end.menus, start.menus);
  EXPECT_EQ(end.windows, start.windows);
  EXPECT_EQ(end.gdiObjects, start.gdiObjects);

  // The set is the file's: its hotkey, its menu; the old hotkey is free.
  EXPECT_TRUE(HotkeyIsFree(kCtrlAlt, 'H'));
  ClearProbeReports(dir_);
  PressKeys({VK_CONTROL, VK_MENU, 'J'});
  EXPECT_EQ(LaunchedTags(1), std::vector<std::string>{"hot"});
  EXPECT_EQ(OpenCommandMenu(), robust::CommandMenuOf(after));
  ChooseFromMenu({VK_ESCAPE});
  EXPECT_EQ(ReadBytes(dir_.Path(kSetFile)), SetBytes(after));
  EXPECT_TRUE(TrayIconExists());
  EXPECT_TRUE(HasTip("Tasklark - Tasklark.dat"));
}

}  // namespace
}  // namespace e2e
