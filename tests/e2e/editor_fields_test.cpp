// The fields that are filled in without typing a text: the hotkey field, the
// one-letter drive field, the ".." button with its Open dialog; and the hints.
#include "editor_fixture.h"

#include <commctrl.h>

namespace editor_e2e {
namespace {

using Names = std::vector<std::string>;

constexpr char OPEN_DIALOG_TITLE[] = "Open a command";

TEST(EditorFields, HotkeyFieldTakesCombinationsWithCtrlOrAlt) {
  Editor editor;
  const CommandRecord second = e2e::Record("Other", "probe.exe 2");
  editor.WriteSet({e2e::Record("Hot", "probe.exe"), second});
  ASSERT_TRUE(editor.Start());
  ASSERT_TRUE(editor.Click(ID_HOTKEY));
  ASSERT_TRUE(editor.WaitForFocus(ID_HOTKEY));
  auto press = [&](std::initializer_list<WORD> keys, const char* text) {
    e2e::PressKeys(keys);
    return editor.WaitForText(ID_HOTKEY, text);
  };
  EXPECT_TRUE(press({VK_CONTROL, 'A'}, "Ctrl+A"));
  EXPECT_TRUE(press({VK_SHIFT, VK_CONTROL, 'B'}, "Shift+Ctrl+B"));
  EXPECT_TRUE(press({VK_MENU, 'X'}, "Alt+X"));

  // Without Ctrl or Alt a key changes nothing; the Tab after them is there to
  // know they were handled.
  e2e::PressKeys({'A'});
  e2e::PressKeys({VK_SHIFT, 'A'});
  e2e::PressKeys({VK_TAB});
  ASSERT_TRUE(editor.WaitForFocus(ID_ADD));
  EXPECT_EQ(editor.Text(ID_HOTKEY), "Alt+X");

  // Ctrl alone removes the hotkey. Alt+O is taken as a hotkey and does not
  // also press Ok.
  ASSERT_TRUE(editor.Click(ID_HOTKEY));
  ASSERT_TRUE(editor.WaitForFocus(ID_HOTKEY));
  EXPECT_TRUE(press({VK_CONTROL}, ""));
  EXPECT_TRUE(press({VK_MENU, 'O'}, "Alt+O"));
  e2e::PressKeys({VK_TAB});
  ASSERT_TRUE(editor.WaitForFocus(ID_ADD));
  EXPECT_TRUE(editor.Process().IsRunning());

  // Stored and shown again, F1 comes back as the key that types p.
  ASSERT_TRUE(editor.Click(ID_HOTKEY));
  ASSERT_TRUE(editor.WaitForFocus(ID_HOTKEY));
  EXPECT_TRUE(press({VK_CONTROL, VK_F1}, "Ctrl+F1"));
  ASSERT_TRUE(editor.ClickEntry(1));
  ASSERT_TRUE(editor.WaitForText(ID_HOTKEY, ""));
  ASSERT_TRUE(editor.ClickEntry(0));
  EXPECT_TRUE(editor.WaitForText(ID_HOTKEY, "Ctrl+P"));

  ASSERT_TRUE(editor.Click(ID_OK));
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(editor.SetBytes(), e2e::SetBytes({e2e::Record("Hot", "probe.exe", SHOWCMD_DEFAULT, 'C', "100p"), second}));
}

TEST(EditorFields, DriveFieldTakesOneLetterAndWillNotBeLeftEmpty) {
  Editor editor;
  editor.WriteSet({e2e::Record("Drive", "probe.exe")});
  const Bytes before = editor.SetBytes();
  ASSERT_TRUE(editor.Start());

  ASSERT_TRUE(editor.Click(ID_DRIVE));
  ASSERT_TRUE(editor.WaitForFocus(ID_DRIVE));
  e2e::TypeText("7");
  e2e::PressKeys({VK_TAB});
  ASSERT_TRUE(editor.WaitForFocus(ID_HOTKEY));
  EXPECT_EQ(editor.Text(ID_DRIVE), "C");

  ASSERT_TRUE(editor.Click(ID_DRIVE));
  ASSERT_TRUE(editor.WaitForFocus(ID_DRIVE));
  e2e::TypeText("d");
  EXPECT_TRUE(editor.WaitForText(ID_DRIVE, "D"));
  e2e::PressKeys({VK_BACK});
  EXPECT_TRUE(editor.WaitForText(ID_DRIVE, " "));  // empty, still one character

  // Left empty after a change: the error box, and the focus comes back.
  e2e::PressKeys({VK_TAB});
  HWND box = editor.FindMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(Editor::MessageText(box), "Invalid input value.  Use escape key to abandon changes.");
  ASSERT_TRUE(editor.CloseMessageBox(box));
  EXPECT_TRUE(editor.WaitForFocus(ID_DRIVE));
  EXPECT_EQ(editor.Text(ID_DRIVE), " ");

  // Escape gives back the letter from before the edit; with no change left,
  // Escape cancels the dialog, which writes nothing.
  ASSERT_TRUE(editor.Activate());
  e2e::PressKeys({VK_ESCAPE});
  EXPECT_TRUE(editor.WaitForText(ID_DRIVE, "C"));
  EXPECT_TRUE(editor.Process().IsRunning());
  e2e::PressKeys({VK_ESCAPE});
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(editor.SetBytes(), before);
}

// Types a path into the Open dialog's file name box and confirms it.
bool ChooseFile(HWND open, const std::string& name) {
  if (!e2e::MakeForeground(open)) return false;
  e2e::PressKeys({VK_HOME});
  e2e::PressKeys({VK_SHIFT, VK_END});
  e2e::TypeText(name);
  e2e::PressKeys({VK_RETURN});
  return e2e::WaitUntil([&] { return !IsWindow(open); });
}

bool HasChildWithText(HWND window, const std::string& text) {
  std::pair<std::string, bool> search(text, false);
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<std::pair<std::string, bool>*>(data);
        if (e2e::WindowText(child) == s->first) s->second = true;
        return !s->second;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.second;
}

TEST(EditorFields, BrowseFillsInTheCommandAndNamesANewOne) {
  Editor editor;
  editor.WriteSet({e2e::Record("Keep", "old.exe -x")});
  const std::string tools = editor.Dir().Path("tools\\");
  ASSERT_TRUE(CreateDirectoryA(tools.c_str(), nullptr));
  ASSERT_TRUE(CopyFileA(editor.Dir().Path("probe.exe").c_str(), (tools + "pad.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(editor.Dir().Path("probe.exe").c_str(), (tools + "other.exe").c_str(), FALSE));
  ASSERT_TRUE(editor.Start());
  auto browse = [&] {
    HWND open = nullptr;
    if (editor.Click(ID_BROWSE)) open = e2e::WaitForWindow(editor.Process().Id(), "#32770", OPEN_DIALOG_TITLE);
    return open;
  };

  // Cancelled: nothing changes. The name box starts with the set's name.
  HWND open = browse();
  ASSERT_TRUE(open);
  EXPECT_TRUE(HasChildWithText(open, SET_NAME));
  // Another click shows the Open dialog that is up instead of a second one.
  ASSERT_TRUE(editor.Click(ID_BROWSE));
  EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == open; }));
  int openDialogs = 0;
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", OPEN_DIALOG_TITLE)) != nullptr;) ++openDialogs;
  EXPECT_EQ(openDialogs, 1);
  PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(open); }));
  EXPECT_EQ(editor.Text(ID_COMMAND), "old.exe -x");
  EXPECT_EQ(editor.Text(ID_NAME), "Keep");

  // A command still called [Name] (blanks around it count for nothing) is
  // named after the program; the list follows.
  ASSERT_TRUE(editor.Click(ID_ADD));
  ASSERT_TRUE(editor.WaitForNames({"Keep", "[Name]"}, 1));
  ASSERT_TRUE(editor.TypeInto(ID_NAME, "  [Name] "));
  open = browse();
  ASSERT_TRUE(open);
  ASSERT_TRUE(ChooseFile(open, tools + "pad.exe"));
  EXPECT_TRUE(editor.WaitForText(ID_COMMAND, tools + "pad.exe"));
  EXPECT_TRUE(editor.WaitForText(ID_NAME, "pad.exe"));
  EXPECT_TRUE(editor.WaitForNames({"Keep", "pad.exe"}, 1));

  // A named command keeps its name and loses its arguments; the Open dialog
  // now starts in the folder of the last pick, so a bare name is found there.
  ASSERT_TRUE(editor.ClickEntry(0));
  ASSERT_TRUE(editor.WaitForText(ID_NAME, "Keep"));
  open = browse();
  ASSERT_TRUE(open);
  ASSERT_TRUE(ChooseFile(open, "other.exe"));
  EXPECT_TRUE(editor.WaitForText(ID_COMMAND, tools + "other.exe"));
  EXPECT_EQ(editor.Text(ID_NAME), "Keep");

  ASSERT_TRUE(editor.Click(ID_OK));
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(editor.SetBytes(), e2e::SetBytes({e2e::Record("Keep", tools + "other.exe"),
                                              AddedRecord("pad.exe", tools + "pad.exe")}));
}

TEST(EditorFields, HintsShowOnTheFiveFieldsOnly) {
  Editor editor;
  editor.WriteSet(NumberedRecords(1));
  ASSERT_TRUE(editor.Start());
  HWND hints = e2e::FindTopLevel(TOOLTIPS_CLASSA, nullptr, editor.Process().Id());
  ASSERT_TRUE(hints);
  EXPECT_EQ(SendMessageA(hints, TTM_GETTOOLCOUNT, 0, 0), 5);

  auto hintOf = [&](int id, const std::string& text) {
    if (!editor.Activate()) return false;
    e2e::MovePointer(e2e::CenterOf(editor.Control(id)));
    return e2e::WaitUntil([&] { return IsWindowVisible(hints) && e2e::WindowText(hints) == text; });
  };
  EXPECT_TRUE(hintOf(ID_NAME,
                     "Type the text you want to appear on the menu for this command.\r\n"
                     "Type just a hyphen (-) for a separator."));
  EXPECT_TRUE(hintOf(ID_HOTKEY,
                     "Choose a hotkey for this command.\r\n"
                     "Each hotkey much have a Ctrl or Alt in it.\r\n"
                     "If you want to remove the hotkey. Just press Ctrl."));
  EXPECT_TRUE(hintOf(ID_DRIVE,
                     "Indicate on which drive this command should be executed.\r\n"
                     "This can be important for some dos commands.\r\n"
                     "Especially those that involve:  cd"));
}

}  // namespace
}  // namespace editor_e2e
