// The editor's start: the set it reads, what it lists and shows, and the
// dialog with its controls.
#include "editor_fixture.h"

namespace editor_e2e {
namespace {

using Names = std::vector<std::string>;

TEST(EditorStart, ListsTheSetNamedOnItsCommandLineAndShowsTheFirstCommand) {
  Editor editor;
  const std::string fortyChars(NAME_CAPACITY, 'x');  // stored without its NUL
  e2e::WriteSet(editor.Dir().Path("my set.dat"),
                {e2e::Record("Notepad", "notepad.exe", SHOWCMD_DEFAULT, 'C', "100n"),
                 e2e::Record(fortyChars, "probe.exe"),
                 e2e::Record("Calculator", "calc.exe", SHOWCMD_MAXIMIZED, 'd', "011k")});
  ASSERT_TRUE(editor.Start("\"my set.dat\" other.dat"));

  EXPECT_EQ(editor.Names(), (Names{"Notepad", fortyChars, "Calculator"}));
  EXPECT_EQ(editor.Selected(), 0);
  EXPECT_EQ(editor.Text(ID_NAME), "Notepad");
  EXPECT_EQ(editor.Text(ID_COMMAND), "notepad.exe");
  EXPECT_EQ(editor.WindowSize(), 0);
  EXPECT_EQ(editor.Text(ID_DRIVE), "C");
  EXPECT_EQ(editor.Text(ID_HOTKEY), "Ctrl+N");
  EXPECT_TRUE(editor.IsEnabled(ID_ADD));
  EXPECT_TRUE(editor.IsEnabled(ID_DELETE));
  EXPECT_EQ(editor.Focus(), editor.Control(ID_OK));
  EXPECT_EQ(e2e::ComboBoxItems(editor.Control(ID_WINDOW_SIZE)), (Names{"Default", "Minimized", "Maximized"}));

  // A lower-case drive shows in upper case; both flags and the key make the text.
  ASSERT_TRUE(editor.ClickEntry(2));
  EXPECT_TRUE(editor.WaitForText(ID_NAME, "Calculator"));
  EXPECT_EQ(editor.WindowSize(), 2);
  EXPECT_EQ(editor.Text(ID_DRIVE), "D");
  EXPECT_EQ(editor.Text(ID_HOTKEY), "Shift+Alt+K");
}

TEST(EditorStart, DialogHasItsControlsInPlaceAndInTabOrder) {
  Editor editor;
  editor.WriteSet({});
  ASSERT_TRUE(editor.Start());
  HWND dialog = editor.Dialog();

  const LONG style = GetWindowLongA(dialog, GWL_STYLE);
  EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  EXPECT_NE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(dpi, 96) << "the places are checked at 96 pixels per inch";

  RECT client = {};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 337);
  EXPECT_EQ(client.bottom, 261);
  RECT frame = {}, work = {};
  GetWindowRect(dialog, &frame);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((frame.left + frame.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, (work.top + work.bottom) / 2, 1);

  struct Expected {
    int id;
    const char* caption;  // null: not checked
    RECT place;           // left, top, width, height
  };
  const Expected controls[] = {
      {ID_NAME_LIST, nullptr, {5, 5, 121, 251}},     {ID_NAME, nullptr, {129, 20, 198, 21}},
      {ID_COMMAND, nullptr, {128, 60, 179, 21}},     {ID_BROWSE, "..", {307, 60, 19, 21}},
      {ID_WINDOW_SIZE, nullptr, {128, 100, 145, 21}}, {ID_DRIVE, nullptr, {308, 100, 18, 21}},
      {ID_HOTKEY, nullptr, {130, 141, 121, 21}},     {ID_ADD, "A&dd     ", {128, 165, 75, 23}},
      {ID_DELETE, "D&elete", {128, 188, 75, 23}},    {ID_UP, "&Up     ", {128, 211, 75, 23}},
      {ID_DOWN, "Do&wn", {128, 234, 75, 23}},        {ID_OK, "&Ok", {259, 188, 75, 23}},
      {ID_CANCEL, "C&ancel", {259, 234, 75, 23}},
  };
  std::vector<int> expectedOrder;
  for (const Expected& c : controls) {
    expectedOrder.push_back(c.id);
    RECT r = {};
    GetWindowRect(editor.Control(c.id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, c.place.left) << c.id;
    EXPECT_EQ(r.top, c.place.top) << c.id;
    EXPECT_EQ(r.right - r.left, c.place.right) << c.id;
    EXPECT_EQ(r.bottom - r.top, c.place.bottom) << c.id;
    if (c.caption) {
      EXPECT_EQ(editor.Text(c.id), c.caption);
    }
  }
  std::vector<int> tabOrder;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) tabOrder.push_back(GetDlgCtrlID(child));
  EXPECT_EQ(tabOrder, expectedOrder);

  // An empty set: nothing to delete, and the fields as they start.
  EXPECT_TRUE(editor.Names().empty());
  EXPECT_TRUE(editor.IsEnabled(ID_ADD));
  EXPECT_FALSE(editor.IsEnabled(ID_DELETE));
  EXPECT_EQ(editor.Text(ID_NAME), "");
  EXPECT_EQ(editor.Text(ID_COMMAND), "");
  EXPECT_EQ(editor.WindowSize(), -1);
  EXPECT_EQ(editor.Text(ID_DRIVE), " ");
  EXPECT_EQ(editor.Text(ID_HOTKEY), "");
}

TEST(EditorStart, ReadsTheDefaultSetAndStartsEmptyOnEmptyOrMissingFiles) {
  {
    Editor editor;  // no argument: Tasklark.dat
    editor.WriteSet(NumberedRecords(2));
    ASSERT_TRUE(editor.Start(""));
    EXPECT_EQ(editor.Names(), (Names{"Command 0", "Command 1"}));
  }
  {
    Editor editor;  // an empty file, and Ok (Enter: the focus is on Ok) leaves it empty
    e2e::WriteBytes(editor.Dir().Path("empty.dat"), {});
    ASSERT_TRUE(editor.Start("empty.dat"));
    EXPECT_TRUE(editor.Names().empty());
    EXPECT_FALSE(editor.IsEnabled(ID_DELETE));
    ASSERT_TRUE(editor.Activate());
    e2e::PressKeys({VK_RETURN});
    ASSERT_TRUE(editor.WaitForExit());
    EXPECT_TRUE(e2e::ReadBytes(editor.Dir().Path("empty.dat")).empty());
  }
  {
    Editor editor;  // a missing file: Ok creates it, empty
    ASSERT_TRUE(editor.Start("new.dat"));
    EXPECT_TRUE(editor.Names().empty());
    EXPECT_TRUE(editor.IsEnabled(ID_ADD));
    EXPECT_FALSE(editor.IsEnabled(ID_DELETE));
    ASSERT_TRUE(editor.Click(ID_OK));
    ASSERT_TRUE(editor.WaitForExit());
    EXPECT_TRUE(e2e::FileExists(editor.Dir().Path("new.dat")));
    EXPECT_TRUE(e2e::ReadBytes(editor.Dir().Path("new.dat")).empty());
  }
}

TEST(EditorStart, ShortLastPieceIsARecordAndComesBackWhole) {
  Editor editor;
  CommandRecord added;  // what Add puts in a slot: texts without their NUL
  std::memset(&added, 0, sizeof added);
  SetDefaultRecord(added);
  Bytes file = e2e::RecordBytes(added);
  file.push_back(5);  // a 313th byte: the second record's name length
  e2e::WriteBytes(editor.SetPath(), file);
  ASSERT_TRUE(editor.Start());
  EXPECT_EQ(editor.Names(), (Names{"[Name]", ""}));

  // Ok without an edit: the first record is stored from the fields on the
  // way, the second is written as read, completed with zeros.
  ASSERT_TRUE(editor.Activate());
  e2e::PressKeys({VK_RETURN});
  ASSERT_TRUE(editor.WaitForExit());
  Bytes expected = e2e::RecordBytes(AddedRecord());
  Bytes second(RECORD_SIZE, 0);
  second[0] = 5;
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(editor.SetBytes(), expected);
}

}  // namespace
}  // namespace editor_e2e
