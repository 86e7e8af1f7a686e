// Ok and Cancel: what reaches the set file and the runner, also when the file
// cannot be written.
#include "editor_fixture.h"

namespace editor_e2e {
namespace {

using Names = std::vector<std::string>;

TEST(EditorSaving, OkWithoutEditsRewritesTheSetAndHasTheRunnerReload) {
  FakeRunner runner;
  ASSERT_TRUE(runner.IsValid());
  Editor editor;
  editor.WriteSet({e2e::Record("Notepad", "notepad.exe", SHOWCMD_DEFAULT, 'C', "100n"),
                   e2e::Record("Calculator", "calc.exe", SHOWCMD_MAXIMIZED, 'D', "011k"), e2e::Record("-", "")});
  const Bytes before = editor.SetBytes();
  ASSERT_TRUE(editor.Start());
  ASSERT_TRUE(editor.Activate());
  e2e::PressKeys({VK_RETURN});  // the focus is on Ok
  DWORD exitCode = 1;
  ASSERT_TRUE(editor.WaitForExit(&exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(editor.SetBytes(), before);
  EXPECT_EQ(runner.Reloads(), 1);
  EXPECT_EQ(runner.OtherMessages(), 0);
  EXPECT_EQ(DataFiles(editor.Dir()), (Names{SET_NAME}));
}

TEST(EditorSaving, CancelEscapeAndClosingWriteNothing) {
  FakeRunner runner;
  ASSERT_TRUE(runner.IsValid());
  enum Way { CANCEL_BUTTON, ESCAPE_KEY, CLOSE_MESSAGE };
  for (Way way : {CANCEL_BUTTON, ESCAPE_KEY, CLOSE_MESSAGE}) {
    Editor editor;
    editor.WriteSet(NumberedRecords(3));
    const Bytes before = editor.SetBytes();
    ASSERT_TRUE(editor.Start());
    ASSERT_TRUE(editor.TypeInto(ID_NAME, "Changed"));
    ASSERT_TRUE(editor.Click(ID_ADD));
    ASSERT_TRUE(editor.WaitUntilCount(4));
    switch (way) {
      case CANCEL_BUTTON: ASSERT_TRUE(editor.Click(ID_CANCEL)); break;
      case ESCAPE_KEY: ASSERT_TRUE(editor.Activate()); e2e::PressKeys({VK_ESCAPE}); break;
      case CLOSE_MESSAGE: PostMessageA(editor.Dialog(), WM_CLOSE, 0, 0); break;  // the task bar's way
    }
    ASSERT_TRUE(editor.WaitForExit()) << way;
    EXPECT_EQ(editor.SetBytes(), before) << way;
    EXPECT_EQ(DataFiles(editor.Dir()), (Names{SET_NAME})) << way;
  }
  EXPECT_EQ(runner.Reloads(), 0);
}

// Ok on a set that cannot be written: an error box that names the file, the
// previous file as it was, no temporary file left, no reload, and the dialog
// still open with its edits.
void ExpectRefusedSave(const Editor& editor, FakeRunner& runner, const Bytes& before, const std::string& path) {
  ASSERT_TRUE(editor.Click(ID_OK));
  HWND box = editor.FindMessageBox();
  ASSERT_TRUE(box);
  const std::string message = Editor::MessageText(box);
  EXPECT_NE(message.find("could not be saved"), std::string::npos) << message;
  EXPECT_NE(message.find(path), std::string::npos) << message;
  ASSERT_TRUE(editor.CloseMessageBox(box));
  EXPECT_TRUE(editor.Process().IsRunning());
  EXPECT_EQ(editor.Names().back(), "[Name]");
  EXPECT_EQ(editor.Text(ID_NAME), "[Name]");
  EXPECT_EQ(e2e::ReadBytes(path), before);
  EXPECT_LE(DataFiles(editor.Dir()).size(), 1u);
  EXPECT_EQ(runner.Reloads(), 0);
}

TEST(EditorSaving, SetFileHeldOpenByAnotherProgramIsNotReplaced) {
  FakeRunner runner;
  Editor editor;
  const std::vector<CommandRecord> records = NumberedRecords(2);
  editor.WriteSet(records);
  const Bytes before = editor.SetBytes();
  ASSERT_TRUE(editor.Start());
  ASSERT_TRUE(editor.Click(ID_ADD));
  // Held as a program holds a file it reads: others may read it, nothing else.
  HANDLE held =
      CreateFileA(editor.SetPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ExpectRefusedSave(editor, runner, before, editor.SetPath());
  CloseHandle(held);

  // Once the file is free, the same Ok writes the edits kept in the dialog.
  ASSERT_TRUE(editor.Click(ID_OK));
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(editor.SetBytes(), e2e::SetBytes({records[0], records[1], AddedRecord()}));
  EXPECT_EQ(runner.Reloads(), 1);
  EXPECT_EQ(DataFiles(editor.Dir()), (Names{SET_NAME}));
}

TEST(EditorSaving, ReadOnlySetFileIsNotReplaced) {
  FakeRunner runner;
  Editor editor;
  editor.WriteSet(NumberedRecords(2));
  const Bytes before = editor.SetBytes();
  ASSERT_TRUE(SetFileAttributesA(editor.SetPath().c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(editor.Start());
  EXPECT_EQ(editor.Names().size(), 2u);  // read all the same
  ASSERT_TRUE(editor.Click(ID_ADD));
  ExpectRefusedSave(editor, runner, before, editor.SetPath());
  ASSERT_TRUE(editor.Click(ID_CANCEL));
  ASSERT_TRUE(editor.WaitForExit());
}

TEST(EditorSaving, SetThatCannotBeNamedIsNotCreated) {
  FakeRunner runner;
  // A folder that does not exist, and a name too long for a path: never
  // written under another name either.
  const std::string tooLong(MAX_PATH, 'x');
  for (const std::string& name : {std::string("missing\\Tasklark.dat"), tooLong}) {
    Editor editor;
    ASSERT_TRUE(editor.Start(name));
    EXPECT_TRUE(editor.Names().empty());
    ASSERT_TRUE(editor.Click(ID_ADD));
    // The message names the file; a name too long for it shows cut.
    ExpectRefusedSave(editor, runner, {}, name == tooLong ? editor.Dir().Dir() + "xxx" : editor.Dir().Path(name));
    EXPECT_TRUE(DataFiles(editor.Dir()).empty());
    ASSERT_TRUE(editor.Click(ID_CANCEL));
    ASSERT_TRUE(editor.WaitForExit());
  }
}

TEST(EditorSaving, ShowCommandsOutsideTheListAreKept) {
  Editor editor;
  const std::vector<CommandRecord> records = {e2e::Record("Eleven", "probe.exe", 11), e2e::Record("Five", "probe.exe", 5),
                                              e2e::Record("One", "probe.exe", 1), e2e::Record("Three", "probe.exe", 3)};
  editor.WriteSet(records);
  ASSERT_TRUE(editor.Start());
  EXPECT_EQ(editor.WindowSize(), -1);
  ASSERT_TRUE(editor.ClickEntry(1));
  EXPECT_TRUE(e2e::WaitUntil([&] { return editor.WindowSize() == 0; }));  // 4 to 10 show as Default
  ASSERT_TRUE(editor.ClickEntry(2));
  EXPECT_TRUE(e2e::WaitUntil([&] { return editor.WindowSize() == -1; }));
  ASSERT_TRUE(editor.ClickEntry(3));
  EXPECT_TRUE(e2e::WaitUntil([&] { return editor.WindowSize() == 2; }));
  ASSERT_TRUE(editor.Click(ID_OK));
  ASSERT_TRUE(editor.WaitForExit());
  std::vector<CommandRecord> expected = records;
  expected[1].ShowCmd = SHOWCMD_DEFAULT;  // shown as Default, stored as Default
  EXPECT_EQ(editor.SetBytes(), e2e::SetBytes(expected));
}

}  // namespace
}  // namespace editor_e2e
