// Bad set files given to the real editor: files of every size around the
// record boundaries, damaged records, random bytes, a folder and a locked
// file where the set should be. The editor must start, list what the file
// holds and no more than 30 records, show every record without text from
// past a field, and write nothing on Cancel.
#include "editor_fixture.h"
#include "robust_inputs.h"

namespace editor_e2e {
namespace {

using Names = std::vector<std::string>;
using robust::ListedNamesOf;
using robust::RecordsOf;

// Starts the editor on the bytes and checks what it shows of them.
void StartOn(Editor& editor, const Bytes& bytes) {
  e2e::WriteBytes(editor.SetPath(), bytes);
  ASSERT_TRUE(editor.Start());
  const std::vector<CommandRecord> records = RecordsOf(bytes);
  EXPECT_EQ(editor.Names(), ListedNamesOf(records));
  EXPECT_EQ(editor.IsEnabled(ID_ADD), records.size() < MAX_COMMANDS);
  EXPECT_EQ(editor.IsEnabled(ID_DELETE), !records.empty());
  if (!records.empty()) {
    EXPECT_EQ(editor.Selected(), 0);
    EXPECT_EQ(editor.Text(ID_COMMAND), robust::ShownCommandOf(records[0]));
  }
}

// Shows every record in turn, as the user does with the Down key.
void ShowEveryRecord(const Editor& editor) {
  const int count = static_cast<int>(editor.Names().size());
  if (count == 0) return;
  ASSERT_TRUE(editor.ClickEntry(0));
  for (int i = 1; i < count; ++i) e2e::PressKeys({VK_DOWN});
  ASSERT_TRUE(e2e::WaitUntil([&] { return editor.Selected() == count - 1; }));
  EXPECT_TRUE(e2e::IsResponsive(editor.Dialog()));
}

void CancelAndExpectUntouched(const Editor& editor, const Bytes& bytes) {
  ASSERT_TRUE(editor.Click(ID_CANCEL));
  DWORD exitCode = 1;
  ASSERT_TRUE(editor.WaitForExit(&exitCode)) << "the editor did not end";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(editor.SetBytes(), bytes) << "Cancel changed the set file";
}

TEST(RobustEditor, SetFilesOfEverySizeAroundTheRecordBoundaries) {
  const Bytes whole = e2e::SetBytes(robust::OverfullSet([](const std::string& tag) { return "probe.exe " + tag; }));
  for (std::size_t size : robust::BoundarySizes()) {
    SCOPED_TRACE("set file of " + std::to_string(size) + " bytes");
    const Bytes bytes = robust::Cut(whole, size);
    Editor editor;
    ASSERT_NO_FATAL_FAILURE(StartOn(editor, bytes));
    ASSERT_NO_FATAL_FAILURE(ShowEveryRecord(editor));
    CancelAndExpectUntouched(editor, bytes);
  }

  // Ok on a file with one record too many writes the 30 the table holds,
  // each as it was, though every one was shown and stored.
  FakeRunner runner;
  Editor editor;
  ASSERT_NO_FATAL_FAILURE(StartOn(editor, whole));
  ASSERT_NO_FATAL_FAILURE(ShowEveryRecord(editor));
  ASSERT_TRUE(editor.Click(ID_OK));
  ASSERT_TRUE(editor.WaitForExit());
  EXPECT_EQ(editor.SetBytes(), robust::Cut(whole, MAX_COMMANDS * RECORD_SIZE));
  EXPECT_EQ(runner.Reloads(), 1);
}

// Damaged files: once every record has been shown and stored, Ok writes a
// set that the editor reads back as it showed it.
void ExpectSavedAsShown(const Bytes& bytes) {
  FakeRunner runner;
  Editor editor;
  ASSERT_NO_FATAL_FAILURE(StartOn(editor, bytes));
  ASSERT_NO_FATAL_FAILURE(ShowEveryRecord(editor));
  const Names shown = editor.Names();
  ASSERT_TRUE(editor.Click(ID_OK));
  DWORD exitCode = 1;
  ASSERT_TRUE(editor.WaitForExit(&exitCode)) << "the editor did not end";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(runner.Reloads(), 1);
  const Bytes saved = editor.SetBytes();
  EXPECT_EQ(saved.size(), RecordsOf(bytes).size() * RECORD_SIZE);
  EXPECT_EQ(ListedNamesOf(RecordsOf(saved)), shown);
}

TEST(RobustEditor, DamagedRecordsAreShownWithinTheirFields) {
  // Length bytes of 255 in both fields: the fields show the 40 and the 255
  // characters that the record holds, nothing of the bytes after them.
  const std::string command(COMMAND_CAPACITY, 'c');
  const Bytes overlong = e2e::SetBytes({robust::OverlongRecord("Overlong", command, 'k'),
                                        robust::OverlongRecord("Just over", "probe.exe", 'm', NAME_CAPACITY + 1)});
  {
    Editor editor;
    ASSERT_NO_FATAL_FAILURE(StartOn(editor, overlong));
    EXPECT_EQ(editor.Text(ID_NAME), "Overlong" + std::string(32, 'N'));
    EXPECT_EQ(editor.Text(ID_COMMAND), command);
    CancelAndExpectUntouched(editor, overlong);
  }
  ExpectSavedAsShown(overlong);

  // Every byte 0xFF, with a piece of a 31st record.
  ExpectSavedAsShown(robust::Filled(MAX_COMMANDS * RECORD_SIZE + 1, 0xFF));

  std::mt19937 random(robust::Seed());
  const int files = robust::Scaled(4, 100);
  for (int n = 0; n < files && !::testing::Test::HasFatalFailure(); ++n) {
    const Bytes bytes = robust::WithoutWineCrashText(robust::RandomSetFile(random));
    SCOPED_TRACE("random file " + std::to_string(n) + " of " + std::to_string(bytes.size()) + " bytes, seed " +
                 std::to_string(robust::Seed()));
    ExpectSavedAsShown(bytes);
  }
}

TEST(RobustEditor, SetFileThatCannotBeReadStartsEmptyAndStaysAsItIs) {
  // Held by a program that shares it with no one.
  {
    Editor editor;
    editor.WriteSet(NumberedRecords(3));
    const Bytes before = editor.SetBytes();
    HANDLE held =
        CreateFileA(editor.SetPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(editor.Start());
    // Ok would replace the file: the user is told that it could not be read.
    HWND box = editor.FindMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(Editor::MessageText(box).find("could not be read from"), std::string::npos);
    EXPECT_NE(Editor::MessageText(box).find(editor.SetPath()), std::string::npos);
    ASSERT_TRUE(editor.CloseMessageBox(box));
    EXPECT_TRUE(editor.Names().empty());
    EXPECT_TRUE(editor.IsEnabled(ID_ADD));
    CloseHandle(held);
    CancelAndExpectUntouched(editor, before);
  }
  // A folder where the set should be.
  {
    Editor editor;
    ASSERT_TRUE(CreateDirectoryA(editor.SetPath().c_str(), nullptr));
    ASSERT_TRUE(editor.Start());
    EXPECT_TRUE(editor.Names().empty());
    EXPECT_EQ(editor.FindMessageBox(0), nullptr);  // no file to lose: nothing to tell
    ASSERT_TRUE(editor.Click(ID_CANCEL));
    ASSERT_TRUE(editor.WaitForExit());
    EXPECT_NE(GetFileAttributesA(editor.SetPath().c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  }
}

}  // namespace
}  // namespace editor_e2e
