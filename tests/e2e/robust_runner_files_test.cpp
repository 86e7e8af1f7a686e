// Bad set files given to the real runner: files of every size around the
// record boundaries, damaged records, random bytes, a folder and a locked
// file where the set should be. The runner must go on answering, never
// change the file, show no text from past a field and use nothing beyond
// its 30 slots.
#include "robust_inputs.h"
#include "runner_fixture.h"

namespace e2e {
namespace {

using robust::CommandMenuOf;
using robust::RecordsOf;

constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;

UINT KeyOf(char c) { return static_cast<UINT>(VkKeyScanA(c) & 0xFF); }

class RobustRunner : public RunnerTest {
 protected:
  std::string SetPath() const { return dir_.Path(kSetFile); }

  // Puts the bytes in the set file and has the runner load it; it has to
  // answer within the time.
  void Load(const Bytes& bytes) {
    WriteBytes(SetPath(), bytes);
    Reload();
    ASSERT_TRUE(runner_.IsRunning()) << "the runner ended";
  }

  // Opens a menu with a click on the icon and reads it from inside the
  // runner. In a few runs of hundreds of reads, one read had no answer from
  // the reader loaded into the runner; a read that fails is made once more
  // before it counts, as the menu is still open.
  std::vector<MenuEntry> ReadMenu(UINT button) {
    PostMessageA(window_, kTrayNotify, kTrayIconId, button);
    std::vector<MenuEntry> entries;
    EXPECT_NE(WaitForPopupMenu(runner_.Id()), nullptr) << "no menu";
    EXPECT_TRUE(ReadOpenMenu(runner_, dir_, entries) || ReadOpenMenu(runner_, dir_, entries));
    return entries;
  }

  // The runner's command menu is what the file holds, and the file is as it was.
  void ExpectMenuOf(const Bytes& bytes) {
    EXPECT_EQ(ReadBytes(SetPath()), bytes) << "the runner changed its set file";
    const std::vector<CommandRecord> records = RecordsOf(bytes);
    if (records.empty()) {
      // No command menu: the first menu to open is the control menu.
      PostMessageA(window_, kTrayNotify, kTrayIconId, WM_LBUTTONDOWN);
      EXPECT_EQ(ReadMenu(WM_RBUTTONDOWN).size(), 7u);
    } else {
      EXPECT_EQ(robust::WithoutMenuMarks(ReadMenu(WM_LBUTTONDOWN)), robust::WithoutMenuMarks(CommandMenuOf(records)));
    }
    ChooseFromMenu({VK_ESCAPE});
  }
};

TEST_F(RobustRunner, SetFilesOfEverySizeAroundTheRecordBoundaries) {
  for (const char* key = robust::kSlotKeys; *key; ++key)
    ASSERT_TRUE(HotkeyIsFree(kCtrlAlt, KeyOf(*key))) << "Ctrl+Alt+" << *key << " is taken";
  const std::vector<CommandRecord> overfull = robust::OverfullSet([&](const std::string& tag) { return Probe(tag); });
  const Bytes whole = SetBytes(overfull);
  StartRunner();

  for (std::size_t size : robust::BoundarySizes()) {
    SCOPED_TRACE("set file of " + std::to_string(size) + " bytes");
    const Bytes bytes = robust::Cut(whole, size);
    ASSERT_NO_FATAL_FAILURE(Load(bytes));
    ExpectMenuOf(bytes);
    // Exactly the hotkeys of the records read are held; a record whose
    // hotkey the file cuts off has none.
    const std::vector<CommandRecord> records = RecordsOf(bytes);
    for (std::size_t i = 0; i <= MAX_COMMANDS; ++i) {
      const bool wanted = i < records.size() && records[i].Hotkey.HasCtrl();
      EXPECT_EQ(!HotkeyIsFree(kCtrlAlt, KeyOf(robust::kSlotKeys[i])), wanted) << "hotkey of slot " << i;
    }
  }

  // The last file holds a record beyond the table: it is neither offered
  // nor started, and the table's last record still is.
  Command(MAX_COMMANDS - 1);
  Command(MAX_COMMANDS);
  EXPECT_EQ(LaunchedTags(1), std::vector<std::string>{"slot29"});
}

TEST_F(RobustRunner, DamagedRecordsShowAndStartNothingFromPastTheirFields) {
  StartRunner();

  // Length bytes of 255 in both fields, and 41 in the name: labels keep to
  // the 40 characters of the name, command lines to the 255 of the command.
  const std::string longCommand = Probe("long");
  const Bytes overlong = SetBytes({robust::OverlongRecord("Overlong", longCommand, 'k'),
                                   robust::OverlongRecord("-Separator", Probe("separator"), 'l'),
                                   robust::OverlongRecord("Just over", Probe("over"), 'm', NAME_CAPACITY + 1)});
  ASSERT_NO_FATAL_FAILURE(Load(overlong));
  ExpectMenuOf(overlong);
  const std::vector<MenuEntry> menu = OpenCommandMenu();
  ChooseFromMenu({VK_ESCAPE});
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_EQ(menu[0].text, "Overlong" + std::string(31, 'N') + "\tCtrl+Alt+K");
  PressKeys({VK_CONTROL, VK_MENU, 'K'});
  std::vector<ProbeReport> launches = WaitForLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].commandLine, longCommand + std::string(COMMAND_CAPACITY - longCommand.size(), 'x'));
  EXPECT_EQ(launches[0].showWindow, SW_SHOWNORMAL);

  // Every byte 0xFF, with a piece of a 31st record: 30 records of nothing
  // the runner can start, with drives that do not exist and no hotkeys.
  const Bytes allOnes = robust::Filled(MAX_COMMANDS * RECORD_SIZE + 1, 0xFF);
  ASSERT_NO_FATAL_FAILURE(Load(allOnes));
  ExpectMenuOf(allOnes);
  for (WPARAM id = 0; id < MAX_COMMANDS; ++id) EXPECT_EQ(Send(WM_COMMAND, id), 0);
  // None started, and the runner is back in its own folder after them.
  Load(SetBytes({Record("Back", Probe("back"), SHOWCMD_DEFAULT, 'Q')}));
  Command(0);
  launches = WaitForLaunches(2);
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[1].currentDir + "\\", dir_.Dir());

  // Random files, noise and damaged sets.
  std::mt19937 random(robust::Seed());
  const int files = robust::Scaled(25, 600);
  for (int n = 0; n < files && !HasFatalFailure(); ++n) {
    const Bytes bytes = robust::RandomSetFile(random);
    SCOPED_TRACE("random file " + std::to_string(n) + " of " + std::to_string(bytes.size()) + " bytes, seed " +
                 std::to_string(robust::Seed()));
    Load(bytes);
    ExpectMenuOf(bytes);
  }
  Load({});
  EXPECT_TRUE(IsResponsive(window_));
}

TEST_F(RobustRunner, SetFileThatCannotBeReadIsLeftAsItIs) {
  const std::vector<CommandRecord> records = {Record("Kept", Probe("kept"), SHOWCMD_DEFAULT, 'C', Hotkey("110", 'k'))};
  WriteSet(records);
  const Bytes before = ReadBytes(SetPath());
  StartRunner();
  ASSERT_FALSE(HotkeyIsFree(kCtrlAlt, 'K'));

  // Held by a program that shares it with no one: the set reads as empty,
  // and the file is neither emptied nor made anew.
  HANDLE held = CreateFileA(SetPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Reload();
  EXPECT_TRUE(HotkeyIsFree(kCtrlAlt, 'K'));
  PostMessageA(window_, kTrayNotify, kTrayIconId, WM_LBUTTONDOWN);
  EXPECT_EQ(OpenControlMenu().size(), 7u);
  ChooseFromMenu({VK_ESCAPE});
  CloseHandle(held);
  Reload();
  ExpectMenuOf(before);
  EXPECT_FALSE(HotkeyIsFree(kCtrlAlt, 'K'));

  // A folder where the set should be: an empty set, and the folder as it was.
  DWORD exitCode = 1;
  ASSERT_TRUE(CloseRunner(&exitCode));
  const std::string folder = dir_.Path("folder.dat");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  WriteBytes(folder + "\\inside.txt", {'k', 'e', 'p', 't'});
  StartRunner("folder.dat");
  PostMessageA(window_, kTrayNotify, kTrayIconId, WM_LBUTTONDOWN);
  EXPECT_EQ(OpenControlMenu().size(), 7u);
  ChooseFromMenu({VK_ESCAPE});
  Reload();
  EXPECT_TRUE(IsResponsive(window_));
  EXPECT_EQ(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(ReadBytes(folder + "\\inside.txt"), (Bytes{'k', 'e', 'p', 't'}));
}

}  // namespace
}  // namespace e2e
