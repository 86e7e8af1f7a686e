// Adding, deleting and moving commands, and edits that survive moving from
// one command to another.
#include "editor_fixture.h"

namespace editor_e2e {
namespace {

using Names = std::vector<std::string>;

TEST(EditorList, AddMoveAndDeleteKeepListTableAndFieldsInStep) {
  Editor editor;
  const CommandRecord first = e2e::Record("First", "probe.exe 1", SHOWCMD_MINIMIZED, 'D', "100a");
  const CommandRecord second = e2e::Record("Second", "probe.exe 2");
  editor.WriteSet({first, second});
  ASSERT_TRUE(editor.Start());

  ASSERT_TRUE(editor.Click(ID_ADD));
  ASSERT_TRUE(editor.WaitForNames({"First", "Second", "[Name]"}, 2));
  EXPECT_EQ(editor.Text(ID_NAME), "[Name]");
  EXPECT_EQ(editor.Text(ID_COMMAND), "[Command]");
  EXPECT_EQ(editor.WindowSize(), 0);
  EXPECT_EQ(editor.Text(ID_DRIVE), "C");
  EXPECT_EQ(editor.Text(ID_HOTKEY), "");

  // The list entry follows the name as it is typed.
  ASSERT_TRUE(editor.TypeInto(ID_NAME, "New"));
  ASSERT_TRUE(editor.WaitForNames({"First", "Second", "New"}, 2));

  // Up moves the command with its unsaved edits; a quick double click is two
  // clicks; at the top it stops.
  ASSERT_TRUE(editor.Click(ID_UP));
  ASSERT_TRUE(editor.WaitForNames({"First", "New", "Second"}, 1));
  ASSERT_TRUE(editor.Click(ID_DOWN));
  ASSERT_TRUE(editor.WaitForNames({"First", "Second", "New"}, 2));
  e2e::ClickAt(e2e::CenterOf(editor.Control(ID_UP)));
  e2e::ClickAt(e2e::CenterOf(editor.Control(ID_UP)));
  ASSERT_TRUE(editor.WaitForNames({"New", "First", "Second"}, 0));
  ASSERT_TRUE(editor.Click(ID_UP));
  EXPECT_TRUE(editor.WaitForNames({"New", "First", "Second"}, 0));
  EXPECT_EQ(editor.Text(ID_NAME), "New");

  // Down on the last entry does nothing; the access keys press the buttons.
  ASSERT_TRUE(editor.ClickEntry(2));
  ASSERT_TRUE(editor.WaitForText(ID_NAME, "Second"));
  e2e::PressKeys({VK_MENU, 'W'});
  ASSERT_TRUE(editor.ClickEntry(1));
  ASSERT_TRUE(editor.WaitForText(ID_NAME, "First"));
  EXPECT_EQ(editor.Names(), (Names{"New", "First", "Second"}));
  EXPECT_EQ(editor.WindowSize(), 1);
  EXPECT_EQ(editor.Text(ID_HOTKEY), "Ctrl+A");
  e2e::PressKeys({VK_MENU, 'E'});  // Delete: the entry that moves up takes its place
  ASSERT_TRUE(editor.WaitForNames({"New", "Second"}, 1));
  EXPECT_TRUE(editor.WaitForText(ID_NAME, "Second"));
  EXPECT_TRUE(editor.IsEnabled(ID_DELETE));

  ASSERT_TRUE(editor.Click(ID_OK));
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(editor.SetBytes(), e2e::SetBytes({AddedRecord("New"), second}));
}

TEST(EditorList, AddIsOffWhileTheTableIsFull) {
  Editor editor;
  editor.WriteSet(NumberedRecords(MAX_COMMANDS));
  ASSERT_TRUE(editor.Start());
  EXPECT_EQ(editor.Names().size(), static_cast<std::size_t>(MAX_COMMANDS));
  EXPECT_FALSE(editor.IsEnabled(ID_ADD));
  EXPECT_TRUE(editor.IsEnabled(ID_DELETE));

  // Deleting the last entry selects the new last one and turns Add on.
  ASSERT_TRUE(editor.ClickEntry(0));
  e2e::PressKeys({VK_END});  // the list scrolls to it
  ASSERT_TRUE(editor.WaitForText(ID_NAME, "Command 29"));
  ASSERT_TRUE(editor.Click(ID_DELETE));
  ASSERT_TRUE(editor.WaitUntilCount(MAX_COMMANDS - 1));
  EXPECT_TRUE(e2e::WaitUntil([&] { return editor.IsEnabled(ID_ADD); }));
  EXPECT_EQ(editor.Selected(), MAX_COMMANDS - 2);

  // The 30th command turns it off again, and the focus does not stay behind
  // on the disabled button.
  ASSERT_TRUE(editor.Click(ID_ADD));
  ASSERT_TRUE(editor.WaitUntilCount(MAX_COMMANDS));
  EXPECT_TRUE(e2e::WaitUntil([&] { return !editor.IsEnabled(ID_ADD); }));
  EXPECT_EQ(editor.Selected(), MAX_COMMANDS - 1);
  HWND focus = editor.Focus();
  EXPECT_NE(focus, editor.Control(ID_ADD));
  EXPECT_TRUE(focus && IsWindowEnabled(focus));
  // Not even a stray click message adds to a full table.
  DWORD_PTR result = 0;
  SendMessageTimeoutA(editor.Dialog(), WM_COMMAND, MAKEWPARAM(ID_ADD, BN_CLICKED),
                      reinterpret_cast<LPARAM>(editor.Control(ID_ADD)), SMTO_ABORTIFHUNG, e2e::kDefaultTimeoutMs,
                      &result);
  EXPECT_EQ(editor.Names().size(), static_cast<std::size_t>(MAX_COMMANDS));
}

TEST(EditorList, DeletingEveryCommandLeavesTheFieldsUntilTheNextAdd) {
  Editor editor;
  editor.WriteSet(NumberedRecords(2));
  ASSERT_TRUE(editor.Start());
  ASSERT_TRUE(editor.ClickEntry(1));
  ASSERT_TRUE(editor.Click(ID_DELETE));
  ASSERT_TRUE(editor.WaitForNames({"Command 0"}, 0));
  ASSERT_TRUE(editor.WaitForText(ID_NAME, "Command 0"));
  ASSERT_TRUE(editor.Click(ID_DELETE));
  ASSERT_TRUE(editor.WaitUntilCount(0));
  EXPECT_TRUE(e2e::WaitUntil([&] { return !editor.IsEnabled(ID_DELETE); }));
  EXPECT_EQ(editor.Text(ID_NAME), "Command 0");  // the deleted command, in no slot

  // Typing changes nothing but the field; Add replaces what was typed.
  ASSERT_TRUE(editor.TypeInto(ID_NAME, "Typed"));
  EXPECT_TRUE(editor.Names().empty());
  ASSERT_TRUE(editor.Click(ID_ADD));
  ASSERT_TRUE(editor.WaitForNames({"[Name]"}, 0));
  EXPECT_TRUE(editor.WaitForText(ID_NAME, "[Name]"));
  EXPECT_EQ(editor.Text(ID_COMMAND), "[Command]");
  EXPECT_EQ(editor.Text(ID_HOTKEY), "");

  ASSERT_TRUE(editor.Click(ID_OK));
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(editor.SetBytes(), e2e::SetBytes({AddedRecord()}));
}

TEST(EditorList, EditsSurviveMovingToAnotherCommand) {
  Editor editor;
  const CommandRecord third = e2e::Record("Third", "probe.exe 3", SHOWCMD_MAXIMIZED, 'C', "100t");
  editor.WriteSet({e2e::Record("First", "probe.exe 1"), e2e::Record("Second", "probe.exe 2"), third});
  ASSERT_TRUE(editor.Start());

  ASSERT_TRUE(editor.TypeInto(ID_NAME, "Renamed"));
  ASSERT_TRUE(editor.ClickEntry(1));
  ASSERT_TRUE(editor.WaitForText(ID_NAME, "Second"));
  ASSERT_TRUE(editor.TypeInto(ID_COMMAND, "probe.exe two"));
  e2e::PressKeys({VK_TAB});
  e2e::PressKeys({VK_TAB});
  ASSERT_TRUE(editor.WaitForFocus(ID_WINDOW_SIZE));
  e2e::PressKeys({VK_DOWN});  // Minimized
  ASSERT_TRUE(e2e::WaitUntil([&] { return editor.WindowSize() == 1; }));
  e2e::PressKeys({VK_TAB});
  ASSERT_TRUE(editor.WaitForFocus(ID_DRIVE));
  e2e::TypeText("e");
  ASSERT_TRUE(editor.WaitForText(ID_DRIVE, "E"));

  // A name longer than a record holds: the list shows all of it until the
  // command is shown again from its record, which keeps 40 characters.
  const std::string longName(50, 'n'), keptName(NAME_CAPACITY, 'n');
  ASSERT_TRUE(editor.ClickEntry(2));
  ASSERT_TRUE(editor.WaitForText(ID_NAME, "Third"));
  ASSERT_TRUE(editor.TypeInto(ID_NAME, longName));
  EXPECT_TRUE(editor.WaitForNames({"Renamed", "Second", longName}, 2));
  ASSERT_TRUE(editor.ClickEntry(0));
  EXPECT_TRUE(editor.WaitForText(ID_NAME, "Renamed"));
  EXPECT_EQ(editor.Names(), (Names{"Renamed", "Second", longName}));
  ASSERT_TRUE(editor.ClickEntry(2));
  EXPECT_TRUE(editor.WaitForText(ID_NAME, keptName));
  EXPECT_EQ(editor.Names(), (Names{"Renamed", "Second", keptName}));

  ASSERT_TRUE(editor.ClickEntry(1));
  EXPECT_TRUE(editor.WaitForText(ID_COMMAND, "probe.exe two"));
  EXPECT_EQ(editor.WindowSize(), 1);
  EXPECT_EQ(editor.Text(ID_DRIVE), "E");

  ASSERT_TRUE(editor.Click(ID_OK));
  ASSERT_TRUE(editor.WaitForExit());
  CommandRecord longNamed = third;
  StoreFieldText(longNamed.Name, longName);
  EXPECT_EQ(editor.SetBytes(),
            e2e::SetBytes({e2e::Record("Renamed", "probe.exe 1"),
                           e2e::Record("Second", "probe.exe two", SHOWCMD_MINIMIZED, 'E'), longNamed}));
}

}  // namespace
}  // namespace editor_e2e
