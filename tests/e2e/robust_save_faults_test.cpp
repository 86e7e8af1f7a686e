// Saves of the real editor that fail: a disk that fills up during the write,
// and a folder where the set file should be. The previous file stays byte
// for byte, the user is told why, the dialog keeps its edits, no reload is
// posted and nothing is left behind; once the cause is gone, Ok saves.
#include <memory>

#include "editor_fixture.h"
#include "robust_inputs.h"

namespace editor_e2e {
namespace {

using Names = std::vector<std::string>;

std::string SystemMessage(DWORD error) {
  char text[512] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                           sizeof text, nullptr);
  std::string message(text, n);
  while (!message.empty() && static_cast<unsigned char>(message.back()) <= ' ') message.pop_back();
  return message;
}

// The small file system that the test run mounted (tools/small-disk), named
// by TASKLARK_SMALL_DISK as a Unix path.
class SmallDisk {
 public:
  // Empty, with the reason in `why`, when there is none.
  static std::string Find(std::string& why) {
    const std::string unixPath = robust::Environment("TASKLARK_SMALL_DISK");
    if (unixPath.empty()) {
      why = "TASKLARK_SMALL_DISK is not set";
      return {};
    }
    // Wine's own call turns a Unix path into the path its programs use.
    using ToDos = WCHAR*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos) {
      why = "not running under Wine";
      return {};
    }
    WCHAR* dos = toDos(unixPath.c_str());
    if (!dos) {
      why = unixPath + " has no path in Wine";
      return {};
    }
    char path[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, dos, -1, path, MAX_PATH, nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, dos);
    const std::string dir = std::string(path) + "\\";
    ULARGE_INTEGER total = {};
    if (!GetDiskFreeSpaceExA(dir.c_str(), nullptr, &total, nullptr) || total.QuadPart > kMostBytes) {
      why = unixPath + " is not a small file system (tools/small-disk mounts one as root)";
      return {};
    }
    return dir;
  }

  explicit SmallDisk(std::string dir) : dir_(std::move(dir)) {}
  ~SmallDisk() { Empty(); }

  static unsigned long long FreeBytes(const std::string& dir) {
    ULARGE_INTEGER free = {};
    GetDiskFreeSpaceExA(dir.c_str(), &free, nullptr, nullptr);
    return free.QuadPart;
  }
  // Fills the disk with one file until only `bytes` are free.
  bool FillLeaving(unsigned long long bytes) {
    const unsigned long long free = FreeBytes(dir_);
    if (free < bytes) return false;
    e2e::WriteBytes(Filler(), Bytes(static_cast<std::size_t>(free - bytes), 0));
    return FreeBytes(dir_) == bytes;
  }
  void Empty() { DeleteFileA(Filler().c_str()); }

  // An editor whose program folder is on this disk: the folder is made in
  // the temporary folder, which points here while it is made.
  std::unique_ptr<Editor> MakeEditor() const {
    char saved[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("TMP", saved, MAX_PATH);
    SetEnvironmentVariableA("TMP", dir_.c_str());
    auto editor = std::make_unique<Editor>();
    SetEnvironmentVariableA("TMP", n > 0 && n < MAX_PATH ? saved : nullptr);
    return editor;
  }

 private:
  static constexpr unsigned long long kMostBytes = 64ull << 20;
  std::string Filler() const { return dir_ + "filler.bin"; }
  std::string dir_;
};

// Ok that cannot save: the message names the file and the reason, and
// everything stays as it was.
void ExpectRefusedSave(const Editor& editor, FakeRunner& runner, const Bytes& before, const Names& names,
                       const std::vector<std::string>& reasons) {
  ASSERT_TRUE(editor.Click(ID_OK));
  HWND box = editor.FindMessageBox();
  ASSERT_TRUE(box) << "no message";
  const std::string message = Editor::MessageText(box);
  EXPECT_NE(message.find("could not be saved"), std::string::npos) << message;
  EXPECT_NE(message.find(editor.SetPath()), std::string::npos) << message;
  bool toldWhy = false;
  for (const std::string& reason : reasons) toldWhy = toldWhy || message.find(reason) != std::string::npos;
  EXPECT_TRUE(toldWhy) << message;
  ASSERT_TRUE(editor.CloseMessageBox(box));
  EXPECT_TRUE(editor.Process().IsRunning());
  EXPECT_EQ(editor.Names(), names);
  EXPECT_EQ(e2e::ReadBytes(editor.SetPath()), before);
  EXPECT_EQ(DataFiles(editor.Dir()), (Names{SET_NAME})) << "a failed save left a file behind";
  EXPECT_EQ(runner.Reloads(), 0);
}

TEST(RobustSaving, DiskThatFillsUpDuringTheWrite) {
  std::string why;
  const std::string dir = SmallDisk::Find(why);
  if (dir.empty()) GTEST_SKIP() << "no small file system: " << why;
  SmallDisk disk(dir);
  const std::vector<std::string> diskFull = {SystemMessage(ERROR_DISK_FULL), SystemMessage(ERROR_HANDLE_DISK_FULL)};

  // With room for part of the new set, and with no room at all.
  for (unsigned long long room : {4096ull, 0ull}) {
    SCOPED_TRACE(std::to_string(room) + " bytes free");
    FakeRunner runner;
    std::unique_ptr<Editor> editor = disk.MakeEditor();
    const std::vector<CommandRecord> records = NumberedRecords(MAX_COMMANDS - 1);
    editor->WriteSet(records);
    const Bytes before = editor->SetBytes();
    ASSERT_TRUE(editor->Start());
    ASSERT_TRUE(editor->Click(ID_ADD));
    ASSERT_TRUE(editor->TypeInto(ID_NAME, "Kept"));
    const Names names = editor->Names();
    ASSERT_EQ(names.size(), static_cast<std::size_t>(MAX_COMMANDS));

    ASSERT_TRUE(disk.FillLeaving(room)) << SmallDisk::FreeBytes(dir) << " bytes free";
    ExpectRefusedSave(*editor, runner, before, names, diskFull);
    EXPECT_EQ(editor->Text(ID_NAME), "Kept");

    disk.Empty();
    ASSERT_TRUE(editor->Click(ID_OK));
    ASSERT_TRUE(editor->WaitForExit());
    std::vector<CommandRecord> saved = records;
    saved.push_back(AddedRecord("Kept"));
    EXPECT_EQ(editor->SetBytes(), e2e::SetBytes(saved));
    EXPECT_EQ(runner.Reloads(), 1);
  }
}

TEST(RobustSaving, FolderWhereTheSetFileShouldBe) {
  FakeRunner runner;
  Editor editor;
  ASSERT_TRUE(CreateDirectoryA(editor.SetPath().c_str(), nullptr));
  const std::string inside = editor.SetPath() + "\\inside.txt";
  e2e::WriteBytes(inside, {'k', 'e', 'p', 't'});
  ASSERT_TRUE(editor.Start());
  ASSERT_TRUE(editor.Click(ID_ADD));
  ASSERT_TRUE(editor.TypeInto(ID_NAME, "Kept"));
  ExpectRefusedSave(editor, runner, {}, {"Kept"}, {SystemMessage(ERROR_ACCESS_DENIED), SystemMessage(ERROR_ALREADY_EXISTS)});
  EXPECT_EQ(editor.Text(ID_NAME), "Kept");
  EXPECT_EQ(e2e::ReadBytes(inside), (Bytes{'k', 'e', 'p', 't'}));
  ASSERT_TRUE(editor.Click(ID_CANCEL));
  ASSERT_TRUE(editor.WaitForExit());
}

}  // namespace
}  // namespace editor_e2e
