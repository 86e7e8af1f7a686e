// The editor with the real runner: started from the runner's control menu on
// the runner's set, and Ok makes the runner take up the new hotkey.
#include "editor_fixture.h"

namespace editor_e2e {
namespace {

// The runner's side: its tray callback and control commands.
constexpr UINT TRAY_NOTIFY = 2135;
constexpr WPARAM TRAY_ICON_ID = 1;
constexpr UINT SETUP_COMMAND = 83;
constexpr WPARAM CLOSE_COMMAND = 69;
constexpr UINT HOTKEY_MODIFIERS = MOD_CONTROL | MOD_ALT;
constexpr WORD HOTKEY_KEY = 'J';

TEST(EditorRoundTrip, SetupEditsTheRunnersSetAndOkMakesItReload) {
  ASSERT_TRUE(e2e::HotkeyIsFree(HOTKEY_MODIFIERS, HOTKEY_KEY)) << "Ctrl+Alt+J is taken on this desktop";
  e2e::ProgramDir dir;
  e2e::WriteSet(dir.Path(SET_NAME), {e2e::Record("Probe", "\"" + dir.Path("probe.exe") + "\" edited")});
  e2e::Process runner = e2e::Process::Start("\"" + dir.Path("Tasklark.exe") + "\"", dir.Dir());
  ASSERT_TRUE(runner.IsValid());
  HWND runnerWindow = e2e::WaitForWindow(runner.Id(), RUNNER_CLASS_NAME);
  ASSERT_TRUE(runnerWindow);

  // Setup Tasklark, chosen with the keyboard from the control menu.
  PostMessageA(runnerWindow, TRAY_NOTIFY, TRAY_ICON_ID, WM_RBUTTONDOWN);
  ASSERT_TRUE(e2e::WaitForPopupMenu(runner.Id()));
  std::vector<e2e::MenuEntry> entries;
  ASSERT_TRUE(e2e::ReadOpenMenu(runner, dir, entries));
  std::vector<WORD> keys;
  for (const e2e::MenuEntry& entry : entries) {
    if (entry.separator) continue;
    keys.push_back(VK_DOWN);
    if (entry.id == SETUP_COMMAND) break;
  }
  ASSERT_FALSE(keys.empty());
  for (WORD key : keys) e2e::PressKeys({key});
  e2e::PressKeys({VK_RETURN});

  HWND dialog = nullptr;
  ASSERT_TRUE(e2e::WaitUntil([&] { return (dialog = e2e::FindTopLevel(SETUP_CLASS_NAME, APP_TITLE)) != nullptr; }));
  ASSERT_TRUE(e2e::IsResponsive(dialog));
  DWORD editorId = 0;
  GetWindowThreadProcessId(dialog, &editorId);
  HANDLE editor = OpenProcess(SYNCHRONIZE, FALSE, editorId);
  ASSERT_TRUE(editor);
  EXPECT_EQ(e2e::ListBoxItems(GetDlgItem(dialog, ID_NAME_LIST)), std::vector<std::string>{"Probe"});

  // A new hotkey, and Ok.
  HWND hotkey = GetDlgItem(dialog, ID_HOTKEY);
  ASSERT_TRUE(e2e::MakeForeground(dialog));
  ASSERT_TRUE(e2e::ClickWindow(hotkey));
  e2e::PressKeys({VK_CONTROL, VK_MENU, HOTKEY_KEY});
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::WindowText(hotkey) == "Ctrl+Alt+J"; }));
  ASSERT_TRUE(e2e::ClickWindow(GetDlgItem(dialog, ID_OK)));
  EXPECT_EQ(WaitForSingleObject(editor, e2e::kDefaultTimeoutMs), WAIT_OBJECT_0);
  CloseHandle(editor);

  // The runner has loaded the set again: the hotkey is its, and starts the command.
  ASSERT_TRUE(e2e::WaitUntil([] { return !e2e::HotkeyIsFree(HOTKEY_MODIFIERS, HOTKEY_KEY); }));
  e2e::PressKeys({VK_CONTROL, VK_MENU, HOTKEY_KEY});
  ASSERT_TRUE(e2e::WaitForProbeReports(dir, 1));
  const std::string commandLine = e2e::ProbeReports(dir).front().commandLine;
  EXPECT_NE(commandLine.find("edited"), std::string::npos) << commandLine;

  PostMessageA(runnerWindow, WM_COMMAND, CLOSE_COMMAND, 0);
  EXPECT_TRUE(runner.WaitForExit());
}

}  // namespace
}  // namespace editor_e2e
