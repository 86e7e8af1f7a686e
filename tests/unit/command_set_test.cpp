#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "command_set.h"
#include "test_files.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using Bytes = std::vector<unsigned char>;

// Bytes whose every position differs from its neighbours, so a record read
// into the wrong place or a byte lost shows.
Bytes Pattern(std::size_t size, unsigned seed = 1) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>((i * 7 + seed * 13) % 251 + 1);
  return bytes;
}

Bytes SlotBytes(const CommandSet& set, int slot) {
  const auto* p = reinterpret_cast<const unsigned char*>(&set.Records[slot]);
  return Bytes(p, p + RECORD_SIZE);
}

// A set whose every slot is filled with 0xAA, as a runner's table is after a longer set.
CommandSet* UsedSet() {
  static CommandSet set;
  std::memset(&set, 0xAA, sizeof set);
  set.Count = -5;
  return &set;
}

struct FileSizeCase {
  std::size_t size;
  int records;
};

class ReadBySize : public ::testing::TestWithParam<FileSizeCase> {};

TEST_P(ReadBySize, CountsEveryPieceAndZeroFillsAShortLastOne) {
  ScratchDir dir;
  const FileSizeCase c = GetParam();
  Bytes file = Pattern(c.size);
  WriteBytes(dir.Path("set.dat"), file);

  CommandSet& set = *UsedSet();
  ReadCommandSet(dir.Path("set.dat").c_str(), set);
  ASSERT_EQ(set.Count, c.records);
  for (int i = 0; i < c.records; ++i) {
    Bytes expected(RECORD_SIZE, 0);
    std::size_t from = i * RECORD_SIZE;
    std::size_t n = std::min(RECORD_SIZE, file.size() - from);
    std::copy(file.begin() + from, file.begin() + from + n, expected.begin());
    EXPECT_EQ(SlotBytes(set, i), expected) << "slot " << i;
  }
  for (int i = c.records; i < MAX_COMMANDS; ++i)
    EXPECT_EQ(SlotBytes(set, i), Bytes(RECORD_SIZE, 0xAA)) << "slot " << i << " must be untouched";
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ReadBySize,
    ::testing::Values(FileSizeCase{0, 0}, FileSizeCase{1, 1}, FileSizeCase{311, 1},
                      FileSizeCase{312, 1}, FileSizeCase{313, 2}, FileSizeCase{312 * 2 + 311, 3},
                      FileSizeCase{312 * 29, 29}, FileSizeCase{312 * 30, 30},
                      FileSizeCase{312 * 30 + 1, 30}, FileSizeCase{312 * 31 + 1, 30},
                      FileSizeCase{312 * 100, 30}));

TEST(ReadCommandSet, MissingFileOrDirectoryGivesAnEmptySet) {
  ScratchDir dir;
  CommandSet& set = *UsedSet();
  EXPECT_FALSE(ReadCommandSet(dir.Path("missing.dat").c_str(), set));
  EXPECT_EQ(set.Count, 0);

  std::filesystem::create_directory(dir.Path("folder.dat"));
  set.Count = 3;
  EXPECT_FALSE(ReadCommandSet(dir.Path("folder.dat").c_str(), set));
  EXPECT_EQ(set.Count, 0);
  EXPECT_FALSE(sys::IsExistingFile(dir.Path("folder.dat").c_str()));
}

TEST(ReadCommandSet, ReadOnlyFileStillReadsItsRecords) {
  ScratchDir dir;
  WriteBytes(dir.Path("ro.dat"), Pattern(RECORD_SIZE * 2));
  SetReadOnly(dir.Path("ro.dat"), true);
  CommandSet& set = *UsedSet();
  EXPECT_TRUE(ReadCommandSet(dir.Path("ro.dat").c_str(), set));
  EXPECT_EQ(set.Count, 2);
  SetReadOnly(dir.Path("ro.dat"), false);
}

// A source that hands out its bytes in pieces and may fail part-way.
class PieceSource final : public RecordSource {
 public:
  PieceSource(std::uint64_t claimedSize, Bytes data, std::size_t piece)
      : size_(claimedSize), data_(std::move(data)), piece_(piece) {}
  std::uint64_t Size() override { return size_; }
  std::size_t Read(void* buffer, std::size_t size) override {
    ++reads;
    std::size_t n = std::min({size, piece_, data_.size() - pos_});
    std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    return n;
  }
  int reads = 0;

 private:
  std::uint64_t size_;
  Bytes data_;
  std::size_t piece_;
  std::size_t pos_ = 0;
};

TEST(ReadRecords, StopsAtAReadThatDeliversNothing) {
  // The file claims more bytes than it delivers (it shrank, or a read failed).
  PieceSource source(RECORD_SIZE * 10, Pattern(RECORD_SIZE + 5), RECORD_SIZE);
  CommandSet& set = *UsedSet();
  ReadRecords(source, set);
  EXPECT_EQ(set.Count, 2);
  EXPECT_EQ(source.reads, 3);
}

TEST(ReadRecords, ShortReadsEachFillOneSlot) {
  PieceSource source(400, Pattern(400), 100);
  CommandSet& set = *UsedSet();
  ReadRecords(source, set);
  ASSERT_EQ(set.Count, 4);
  EXPECT_EQ(SlotBytes(set, 3)[99], Pattern(400)[399]);
  EXPECT_EQ(SlotBytes(set, 3)[100], 0);
}

TEST(WriteCommandSet, RoundTripsByteForByte) {
  ScratchDir dir;
  for (int count : {0, 1, 2, 30}) {
    CommandSet& set = *UsedSet();
    Bytes all = Pattern(sizeof set.Records, static_cast<unsigned>(count));
    std::memcpy(set.Records, all.data(), all.size());
    set.Count = count;
    const std::string path = dir.Path("out.dat");
    ASSERT_TRUE(WriteCommandSet(path.c_str(), set));
    EXPECT_EQ(ReadBytes(path), Bytes(all.begin(), all.begin() + count * RECORD_SIZE));

    CommandSet back;
    ReadCommandSet(path.c_str(), back);
    ASSERT_EQ(back.Count, count);
    EXPECT_EQ(std::memcmp(back.Records, set.Records, count * RECORD_SIZE), 0);
  }
}

TEST(WriteCommandSet, ReplacesALongerFileAndFailsOnADirectory) {
  ScratchDir dir;
  WriteBytes(dir.Path("set.dat"), Pattern(RECORD_SIZE * 5));
  CommandSet& set = *UsedSet();
  set.Count = 1;
  EXPECT_TRUE(WriteCommandSet(dir.Path("set.dat").c_str(), set));
  EXPECT_EQ(ReadBytes(dir.Path("set.dat")).size(), RECORD_SIZE);

  EXPECT_TRUE(CreateEmptySetFile(dir.Path("set.dat").c_str()));
  EXPECT_EQ(ReadBytes(dir.Path("set.dat")).size(), 0u);

  std::filesystem::create_directory(dir.Path("folder.dat"));
  EXPECT_FALSE(WriteCommandSet(dir.Path("folder.dat").c_str(), set));
  EXPECT_FALSE(CreateEmptySetFile(dir.Path("folder.dat").c_str()));
}

class SaveCommandSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(&set, 0, sizeof set);
    Bytes all = Pattern(RECORD_SIZE * 3, 9);
    std::memcpy(set.Records, all.data(), all.size());
    set.Count = 3;
    old = Pattern(RECORD_SIZE * 4, 2);
    WriteBytes(path(), old);
  }
  std::string path() const { return dir.Path("set.dat"); }
  // Only the set file is left in the folder: no temporary file survives.
  void ExpectOnlyTheSetFile() { EXPECT_EQ(dir.Names(), std::vector<std::string>{"set.dat"}); }

  ScratchDir dir;
  CommandSet set;
  Bytes old;
  sys::ErrorCode error = 0;
};

TEST_F(SaveCommandSetTest, ReplacesTheFileWhole) {
  ASSERT_TRUE(SaveCommandSet(path().c_str(), set, error));
  const auto* p = reinterpret_cast<const unsigned char*>(set.Records);
  EXPECT_EQ(ReadBytes(path()), Bytes(p, p + 3 * RECORD_SIZE));
  ExpectOnlyTheSetFile();
}

TEST_F(SaveCommandSetTest, CreatesAMissingFile) {
  std::filesystem::remove(path());
  set.Count = 0;
  ASSERT_TRUE(SaveCommandSet(path().c_str(), set, error));
  EXPECT_TRUE(sys::IsExistingFile(path().c_str()));
  EXPECT_EQ(ReadBytes(path()).size(), 0u);
}

TEST_F(SaveCommandSetTest, MissingFolderFailsAndTellsWhy) {
  std::string missing = dir.Path("no-such-folder") + (dir.Dir().back() == '\\' ? "\\" : "/") + "set.dat";
  EXPECT_FALSE(SaveCommandSet(missing.c_str(), set, error));
  EXPECT_NE(error, 0u);
  FixedText<255> why;
  sys::DescribeError(error, why);
  EXPECT_FALSE(why.empty());
  ExpectOnlyTheSetFile();
}

TEST_F(SaveCommandSetTest, ReadOnlyFileStaysAsItWas) {
  SetReadOnly(path(), true);
  EXPECT_FALSE(SaveCommandSet(path().c_str(), set, error));
  SetReadOnly(path(), false);
  EXPECT_EQ(ReadBytes(path()), old);
  ExpectOnlyTheSetFile();
}

TEST_F(SaveCommandSetTest, DirectoryAtThePathFails) {
  std::filesystem::remove(path());
  std::filesystem::create_directory(path());
  EXPECT_FALSE(SaveCommandSet(path().c_str(), set, error));
  EXPECT_TRUE(std::filesystem::is_directory(path()));
  ExpectOnlyTheSetFile();
}

#ifdef _WIN32
TEST_F(SaveCommandSetTest, FileHeldWithoutSharingStaysAsItWas) {
  HANDLE held = CreateFileA(path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(SaveCommandSet(path().c_str(), set, error));
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(path()), old);
  ExpectOnlyTheSetFile();
}

TEST(ReadCommandSet, FileHeldWithoutSharingReadsAsEmpty) {
  ScratchDir dir;
  WriteBytes(dir.Path("held.dat"), Pattern(RECORD_SIZE));
  HANDLE held = CreateFileA(dir.Path("held.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  CommandSet& set = *UsedSet();
  EXPECT_FALSE(ReadCommandSet(dir.Path("held.dat").c_str(), set));
  EXPECT_EQ(set.Count, 0);
  CloseHandle(held);
}
#endif

}  // namespace
