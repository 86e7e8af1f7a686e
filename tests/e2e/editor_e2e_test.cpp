// The real larkedit.exe: each way from real input to the form and back,
// once. What the form decides and where the controls go are checked
// natively (tests/unit/, fuzz/).
#include <gtest/gtest.h>
#include <oleacc.h>

#include "../../editor/control_ids.h"
#include "harness.h"
#include "messages.h"
#include "runner_link.h"

namespace e2e {
namespace {

using Names = std::vector<std::string>;

class Editor : public ::testing::Test {
 protected:
  std::string SetPath() const { return dir.Path(kAnySet); }
  void Start() {
    editor.Start("\"" + dir.Path("larkedit.exe") + "\" \"" + kAnySet + "\"", dir.Dir());
    ASSERT_NE(dialog = WaitForWindow(editor.Id(), SETUP_CLASS_NAME, APP_TITLE), nullptr);
  }
  HWND Control(int id) const { return GetDlgItem(dialog, id); }
  bool WaitForText(int id, const std::string& text) const {
    return WaitUntil([&] { return TextOf(Control(id)) == text; });
  }
  bool WaitForList(const Names& names) const {
    return WaitUntil([&] { return ListBoxItems(Control(ID_NAME_LIST)) == names; });
  }
  HWND Focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
  }
  bool Click(int id) const { return MakeForeground(dialog) && ClickWindow(Control(id)); }
  bool Enter(int id) const {
    return Click(id) && WaitUntil([&] { return Focus() == Control(id); });
  }
  // A click on entry `index` of the list, at alternate sides: two quick
  // clicks on one spot would make a double click.
  void ClickEntry(int index) {
    RECT item = {};
    SendMessageA(Control(ID_NAME_LIST), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    POINT at = {(clickRight = !clickRight) ? item.right - 10 : item.left + 10, (item.top + item.bottom) / 2};
    ClientToScreen(Control(ID_NAME_LIST), &at);
    if (MakeForeground(dialog)) ClickAt(at);
  }
  // A field's text, set as typing sets it.
  void SetText(int id, const std::string& text) const {
    SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
  }
  // The editor's message box: its text; Enter closes it.
  std::string Answer() const {
    HWND box = WaitForWindow(editor.Id(), "#32770", APP_TITLE);
    const std::string text = TextOf(GetDlgItem(box, 0xFFFF));
    if (MakeForeground(box)) PressKeys({VK_RETURN});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    return text;
  }

  ProgramDir dir{{"larkedit.exe", "dpi_hook.dll"}, kAnyFolder};
  Process editor;
  HWND dialog = nullptr;
  bool clickRight = false;
};

// Ok saves, and asks the runner to load the set again: here a window of the
// runner's class stands in for it.
TEST_F(Editor, ControlsReachTheForm) {
  WNDCLASSA runnerClass = {};
  runnerClass.lpfnWndProc = DefWindowProcA;
  runnerClass.lpszClassName = RUNNER_CLASS_NAME;
  RegisterClassA(&runnerClass);
  HWND runner = CreateWindowA(RUNNER_CLASS_NAME, "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  const ProgramDir programs({"probe.exe"});  // Browse takes programs in the code page
  const CommandRecord second = Record("Second", "probe.exe 2");
  CommandRecord third = Record("Third", std::string(COMMAND_CAPACITY, 'c'));  // the whole field, no NUL
  WriteBytes(SetPath(),
             SetBytes({Record("First", "probe.exe 1", SHOWCMD_MINIMIZED, 'D', "100a"), second, third}));
  Start();
  EXPECT_TRUE(WaitForList({"First", "Second", "Third"}));

  SetText(ID_NAME, "Renamed");
  EXPECT_TRUE(WaitForList({"Renamed", "Second", "Third"}));
  SetText(ID_COMMAND, "probe.exe one");
  ASSERT_TRUE(Enter(ID_DRIVE));
  PressKeys({VK_BACK});
  ASSERT_TRUE(WaitForText(ID_DRIVE, " "));
  PressKeys({'E'});
  EXPECT_TRUE(WaitForText(ID_DRIVE, "E"));
  PressKeys({VK_SHIFT, VK_TAB});
  PressKeys({VK_DOWN});  // the window size list: Maximized
  ASSERT_TRUE(Enter(ID_HOTKEY));
  PressKeys({VK_MENU, 'O'});  // a hotkey, and no press of Ok
  EXPECT_TRUE(WaitForText(ID_HOTKEY, "Alt+O"));
  // Ok looks like the default button while the focus is on a field.
  EXPECT_EQ(SendMessageA(Control(ID_OK), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, DLGC_DEFPUSHBUTTON);

  ClickEntry(2);
  EXPECT_TRUE(WaitForText(ID_COMMAND, std::string(COMMAND_CAPACITY, 'c')));
  const std::pair<int, Names> buttons[] = {{ID_UP, {"Renamed", "Third", "Second"}},
                                           {ID_DOWN, {"Renamed", "Second", "Third"}},
                                           {ID_ADD, {"Renamed", "Second", "Third", "[Name]"}},
                                           {ID_DELETE, {"Renamed", "Second", "Third"}}};
  for (const auto& [button, names] : buttons) {
    ASSERT_TRUE(Click(button));
    EXPECT_TRUE(WaitForList(names)) << button;
  }
  // Ok gives the default look up to the button that was clicked and has the focus.
  EXPECT_EQ(SendMessageA(Control(ID_OK), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, 0);
  ASSERT_TRUE(Click(ID_BROWSE));
  HWND open = WaitForWindow(editor.Id(), "#32770", "Open a command");
  EXPECT_EQ(TextOf(GetDlgItem(open, 1148)), kAnySet);  // the name box starts with the set's name
  // Meanwhile the editor's keys work, and Browse again shows the Open dialog that is up.
  ASSERT_TRUE(MakeForeground(dialog));
  PressKeys({VK_TAB});
  EXPECT_TRUE(WaitUntil([&] { return Focus() == Control(ID_WINDOW_SIZE); }));
  ASSERT_TRUE(Click(ID_BROWSE));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == open; }));
  ChooseFile(open, programs.Path("probe.exe"));
  EXPECT_TRUE(WaitForText(ID_COMMAND, programs.Path("probe.exe")));

  ASSERT_TRUE(Click(ID_OK));
  ASSERT_TRUE(editor.WaitForExit());
  StoreFieldText(third.Command, programs.Path("probe.exe"));
  EXPECT_EQ(ReadBytes(SetPath()),
            SetBytes({Record("Renamed", "probe.exe one", SHOWCMD_MAXIMIZED, 'E', "010o"), second, third}));
  MSG reload = {};
  EXPECT_TRUE(PeekMessageA(&reload, runner, WM_RELOADSET, WM_RELOADSET, PM_REMOVE));
  DestroyWindow(runner);
}

// A set of more commands than the list holds: the editor says so at once,
// and then has the focus on Ok. The drive field emptied and left with a click
// on another command: the box says why, the selection stays; Enter says it
// again; Escape gives the letter back. Cancel writes nothing.
TEST_F(Editor, DriveFieldAndCancel) {
  Bytes set = SetBytes({Record("first", "1", 10, 'D'), Record("second", "2", 10, 'E')});
  set.resize((MAX_COMMANDS + 1) * RECORD_SIZE, 'x');
  const std::string refused = "Invalid input value.  Use escape key to abandon changes.";
  WriteBytes(SetPath(), set);
  Start();
  EXPECT_NE(Answer().find("holds 31 commands. Only the first 30 are shown"), std::string::npos);
  EXPECT_TRUE(WaitUntil([&] { return Focus() == Control(ID_OK); }));
  ASSERT_TRUE(Enter(ID_DRIVE));
  PressKeys({VK_DELETE});
  ASSERT_TRUE(WaitForText(ID_DRIVE, " "));
  ClickEntry(1);
  EXPECT_EQ(Answer(), refused);
  EXPECT_EQ(SendMessageA(Control(ID_NAME_LIST), LB_GETCURSEL, 0, 0), 0);
  PressKeys({VK_RETURN});
  EXPECT_EQ(Answer(), refused);
  ASSERT_TRUE(WaitUntil([&] { return Focus() == Control(ID_DRIVE); }));
  PressKeys({VK_ESCAPE});
  EXPECT_TRUE(WaitForText(ID_DRIVE, "D"));
  ASSERT_TRUE(Click(ID_CANCEL));
  EXPECT_TRUE(editor.WaitForExit());
  EXPECT_EQ(ReadBytes(SetPath()), set);
}

// The name a screen reader hears for a control, asked from this process.
std::wstring AccessibleName(HWND control) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))))
    return L"(no object)";
  VARIANT self = {};  // CHILDID_SELF
  self.vt = VT_I4;
  BSTR name = nullptr;
  const std::wstring text = object->get_accName(self, &name) == S_OK && name ? name : L"(no name)";
  SysFreeString(name);
  object->Release();
  return text;
}

TEST_F(Editor, ControlsHaveAccessibleNames) {
  Start();
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  const int ids[] = {ID_NAME_LIST, ID_NAME,   ID_COMMAND, ID_BROWSE, ID_WINDOW_SIZE, ID_DRIVE, ID_HOTKEY,
                     ID_ADD,       ID_DELETE, ID_UP,      ID_DOWN,   ID_OK,          ID_CANCEL};
  const wchar_t* names[] = {L"Commands",    L"Name",  L"Command", L"Browse for a program",
                            L"Window Size", L"Drive", L"HotKey",  L"Add",
                            L"Delete",      L"Up",    L"Down",    L"Ok",
                            L"Cancel"};
  for (std::size_t i = 0; i < std::size(ids); ++i)
    EXPECT_EQ(AccessibleName(Control(ids[i])), names[i]) << ids[i];
  CoUninitialize();
}

TEST_F(Editor, DoublesAtTwiceTheResolution) {
  Start();
  HMODULE hook = LoadLibraryW(Wide(dir.Path("dpi_hook.dll")).c_str());
  const auto proc =
      reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hook, "GetMessageHook")));
  HHOOK hooked = SetWindowsHookExW(WH_GETMESSAGE, proc, hook, GetWindowThreadProcessId(dialog, nullptr));
  ASSERT_NE(hooked, nullptr);
  PostMessageA(dialog, WM_NULL, MAKEWPARAM(192, 192), 0);
  EXPECT_TRUE(WaitUntil([&] { return GetPropA(dialog, "FontHeight") != nullptr; }));
  UnhookWindowsHookEx(hooked);
  RECT client = {};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 2 * 337);
  EXPECT_EQ(client.bottom, 2 * 261);
  RECT ok = {};
  GetClientRect(Control(ID_OK), &ok);
  EXPECT_EQ(ok.right, 2 * 75);
  EXPECT_EQ(ok.bottom, 2 * 23);
  EXPECT_EQ(GetPropA(dialog, "FontHeight"), reinterpret_cast<HANDLE>(2 * 11));
}

TEST_F(Editor, UnreadableSetAndFailedSaveAreTold) {
  WriteBytes(SetPath(), SetBytes({Record("Kept", "kept")}));
  HANDLE held = CreateFileW(Wide(SetPath()).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
  Start();
  EXPECT_NE(Answer().find("could not be read from\r\n" + SetPath()), std::string::npos);
  ASSERT_TRUE(Click(ID_OK));
  EXPECT_NE(Answer().find("could not be saved to\r\n" + SetPath()), std::string::npos);
  CloseHandle(held);
}

}  // namespace
}  // namespace e2e
