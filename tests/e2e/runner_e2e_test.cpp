// The real Tasklark.exe: each way from real input to what it does, once. What
// it decides is checked on its model (tests/unit/runner_model_test.cpp).
#include "harness.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>

#include "runner_link.h"

namespace e2e {
namespace {

// Well within the seconds an opening below keeps the shell waiting.
constexpr DWORD kAnswerMs = 2000;

// A notification as the shell sends it (version 4): the event and the icon's id.
constexpr LPARAM V4(UINT event) { return MAKELPARAM(event, 1); }

class Runner : public ::testing::Test {
 protected:
  std::string Probe(const std::string& argument, const char* program = "probe.exe") const {
    return "\"" + probes.Path(program) + "\" " + argument;
  }
  // Started once its control menu opens: the set is loaded by then.
  void Start(const std::string& arguments) {
    runner.Start("\"" + dir.Path("Tasklark.exe") + "\" " + arguments, dir.Dir());
    ASSERT_NE(window = WaitForWindow(runner.Id(), RUNNER_CLASS_NAME, "Tasklark"), nullptr);
    Choose({V4(WM_RBUTTONDOWN), V4(WM_RBUTTONUP), V4(WM_CONTEXTMENU)}, {VK_ESCAPE});
  }
  // Notifications of the icon, and keys to the one menu they open: at the pointer
  // for a click, at the anchor for a key. A second menu would be the next seen.
  void Choose(std::initializer_list<LPARAM> events, std::initializer_list<WORD> keys, POINT anchor = {}) {
    SetCursorPos(kCursor.x, kCursor.y);
    for (LPARAM event : events) PostMessageA(window, WM_TRAYNOTIFY, MAKEWPARAM(anchor.x, anchor.y), event);
    HWND menu = WaitForPopupMenu(runner.Id());
    RECT r = {};
    ASSERT_TRUE(GetWindowRect(menu, &r));  // above and left of the point
    EXPECT_NEAR(r.right, anchor.x ? anchor.x : kCursor.x, 2);
    EXPECT_NEAR(r.bottom, anchor.x ? anchor.y : kCursor.y, 2);
    for (WORD key : keys) PressKeys({key});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
  }
  HWND Command(WPARAM id, const char* dialogTitle) const {
    PostMessageA(window, WM_COMMAND, id, 0);
    return dialogTitle ? WaitForWindow(runner.Id(), "#32770", dialogTitle) : nullptr;
  }
  bool Icon(DWORD message) const {
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = 1;
    return Shell_NotifyIconA(message, &icon);
  }

  static constexpr POINT kCursor = {300, 300};
  static constexpr POINT kAnchor = {200, 250};
  ProgramDir dir{{"Tasklark.exe"}, kAnyFolder};
  ProgramDir probes{{"probe.exe"}};
  Process runner;
  HWND window = nullptr;
};

// A left click or Enter on the icon, and a choice, start a command from the
// root of its drive, with its show command, or from the runner's folder when
// the drive is missing; a console program gets a console of its own. A hotkey starts one too, also
// from a damaged record, whose command line keeps to its field; a reload takes
// up the file as it is now. A slow start holds up nothing: the next is at once.
TEST_F(Runner, MenusHotkeysAndReloadsStartCommands) {
  CommandRecord damaged = Record("Damaged", Probe("x"), SW_SHOWNORMAL, 'C', "110k");
  damaged.Name.Length = damaged.Command.Length = 255;
  std::memset(damaged.Command.Chars + Probe("").size(), 'x', COMMAND_CAPACITY - Probe("").size());
  std::memset(damaged.Filler1, 'F', sizeof damaged.Filler1);
  WriteBytes(
      dir.Path(kAnySet),
      SetBytes({Record("Root", Probe("root"), SW_SHOWMAXIMIZED), Record("-", ""),
                Record("Missing", Probe("missing", "console.exe"), SW_SHOWMINNOACTIVE, 'Q'), damaged}));
  probes.CopyAs("console_probe.exe", "console.exe");
  Start("\"C:\\no such folder\\" + kAnySet + "\"");
  Choose({V4(WM_LBUTTONDOWN), V4(WM_LBUTTONUP), V4(NIN_SELECT)}, {VK_DOWN, VK_RETURN});
  WaitForLaunches(probes, 1);  // started one at a time: no start overtakes another
  Choose({V4(NIN_KEYSELECT)}, {VK_DOWN, VK_RETURN}, kAnchor);  // from the first item, chosen already
  std::vector<Launch> launches = WaitForLaunches(probes, 2);
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[0].commandLine, Probe("root"));
  EXPECT_EQ(launches[0].dir, "C:\\");
  EXPECT_EQ(launches[0].show, SW_SHOWMAXIMIZED);
  EXPECT_EQ(launches[1].dir + "\\", dir.Dir());
  EXPECT_EQ(launches[1].show, SW_SHOWMINNOACTIVE);
  EXPECT_TRUE(launches[1].console);
  PressKeys({VK_CONTROL, VK_MENU, 'K'});
  EXPECT_EQ(LaunchedArguments(probes, 3).back(), std::string(COMMAND_CAPACITY - Probe("").size(), 'x'));

  WriteBytes(dir.Path(kAnySet),
             SetBytes({Record("Busy", Probe("busy"), 10, 'C', "011n"), Record("Quick", Probe("quick"))}));
  // Sent, not posted: the answer comes once every new hotkey is registered.
  DWORD_PTR reloaded = 0;
  ASSERT_TRUE(SendMessageTimeoutA(window, WM_RELOADSET, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &reloaded));
  EXPECT_TRUE(HotkeyIsFree(kCtrlAlt, 'K'));
  PressKeys({VK_MENU, VK_SHIFT, 'N'});
  ASSERT_EQ(LaunchedArguments(probes, 4).back(), "busy");
  LARGE_INTEGER posted, frequency;
  QueryPerformanceCounter(&posted);
  QueryPerformanceFrequency(&frequency);
  PostMessageA(window, WM_COMMAND, 1, 0);
  launches = WaitForLaunches(probes, 5);
  ASSERT_EQ(launches.size(), 5u);
  EXPECT_LT((launches[4].started - posted.QuadPart) * 1000 / frequency.QuadPart, 1000);
}

// A command that names no program opens what it names: a document with its
// parameters, found here through a variable whose value the records' code
// page lacks; an address. The address's DDE message finds no answer, so
// Wine's shell waits until its busy program ends, and the runner takes the
// next commands meanwhile: a missing target starts and shows nothing, and
// the command after it starts as always.
TEST_F(Runner, CommandsOpenWhatTheyName) {
  const ShellType document(".tlkdoc", Probe("\"%1\" %*"));
  const ShellType scheme("tasklark-test", Probe("\"%1\" busy"), true);
  const std::string docs = dir.Path("docs");
  CreateDirectoryW(Wide(docs).c_str(), nullptr);
  WriteBytes(docs + "\\report.tlkdoc", {});
  WriteBytes(dir.Path("Tasklark.dat"),
             SetBytes({Record("Document", "%TASKLARK_DOCS%\\report.tlkdoc 2", 10, 'C', "110d"),
                       Record("Address", "tasklark-test:hello", 10, 'C', "110a"),
                       Record("Missing", probes.Path("missing.tlkdoc"), 10, 'C', "110m"),
                       Record("Next", Probe("next"), 10, 'C', "110n")}));
  SetEnvironmentVariableW(L"TASKLARK_DOCS", Wide(docs).c_str());  // the runner inherits it
  Start("");
  SetEnvironmentVariableW(L"TASKLARK_DOCS", nullptr);

  PressKeys({VK_CONTROL, VK_MENU, 'D'});
  EXPECT_EQ(LaunchedArguments(probes, 1).back(), "\"" + docs + "\\report.tlkdoc\" 2");
  PressKeys({VK_CONTROL, VK_MENU, 'A'});
  EXPECT_EQ(LaunchedArguments(probes, 2).back(), "\"tasklark-test:hello\" busy");
  const DWORD pressed = GetTickCount();
  PressKeys({VK_CONTROL, VK_MENU, 'M'});
  PressKeys({VK_CONTROL, VK_MENU, 'N'});
  const std::vector<std::string> launched = LaunchedArguments(probes, 3);
  EXPECT_LT(GetTickCount() - pressed, kAnswerMs);
  EXPECT_EQ(launched.size(), 3u);
  EXPECT_EQ(launched.back(), "next");
  EXPECT_EQ(FindTopLevel("#32770", nullptr), nullptr);  // no box, the shell's or the runner's
}

// The control menu's commands, through the real dialogs and boxes, and the
// icon the runner adds again for a new shell.
TEST_F(Runner, ControlCommands) {
  dir.CopyAs("probe.exe", "larkedit.exe");
  ASSERT_TRUE(RegisterHotKey(nullptr, 1, kCtrlAlt, 'H'));
  WriteBytes(dir.Path("other.dat"),
             SetBytes({Record("Other", "other", 10, 'C', "110p"), Record("Held", "x", 10, 'C', "110h"),
                       Record("Twice", "x", 10, 'C', "110p"), Record("Keyless", "x", 10, 'C', "110\xE9")}));
  WriteBytes(dir.Path("kept.dat"), {});
  CreateDirectoryW(Wide(dir.Path("elsewhere")).c_str(), nullptr);
  Start("\"my set.dat\"");

  Choose({V4(WM_CONTEXTMENU)}, {VK_RETURN}, kAnchor);  // the menu key: its first item, About
  PressButton(WaitForWindow(runner.Id(), "#32770", "Tasklark 1.0"), IDOK);

  // Load: whatever folder was browsed to, the set of that name beside the
  // program; a balloon tells of the hotkeys that could not be had.
  ChooseFile(Command(IDM_LOAD, "Open Tasklark commandset"), dir.Path("elsewhere\\other.dat"));
  // The balloon comes after the hotkeys are registered: asking for one of
  // them before could take it from the runner.
  const std::string balloon = WaitForBalloon();
  EXPECT_FALSE(HotkeyIsFree(kCtrlAlt, 'P'));
  UnregisterHotKey(nullptr, 1);
  EXPECT_EQ(balloon,
            "Ctrl+Alt+H Held: in use by another program\nCtrl+Alt+P Twice: used twice in this set\n"
            "Ctrl+Alt+\xC3\xA9 Keyless: no key types it");
  // Save as a name the program's folder holds, chosen elsewhere: asked first;
  // No leaves it, Yes copies, and the runner goes on under that name.
  for (int answer : {IDNO, IDYES}) {
    ChooseFile(Command(IDM_SAVEAS, "Save Tasklark commandset as ..."), dir.Path("elsewhere\\kept.dat"));
    PressButton(WaitForWindow(runner.Id(), "#32770", "Tasklark"), answer);
  }
  // The copy follows the answer: wait for it.
  const Bytes other = ReadBytes(dir.Path("other.dat"));
  EXPECT_TRUE(WaitUntil([&] { return ReadBytes(dir.Path("kept.dat")) == other; }));
  Command(IDM_SETUP, nullptr);  // Setup: the editor on the current set, quoted
  EXPECT_EQ(LaunchedArguments(dir, 1).back(), "\"kept.dat\"");

  ASSERT_TRUE(Icon(NIM_DELETE));
  PostMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return Icon(NIM_MODIFY); }));
  Choose({WM_RBUTTONDOWN}, {VK_UP, VK_RETURN});  // Close
  DWORD exitCode = 1;
  ASSERT_TRUE(runner.WaitForExit(&exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(Icon(NIM_MODIFY));
}

}  // namespace
}  // namespace e2e
