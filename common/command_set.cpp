#include "command_set.h"

#include <cstring>

#include "file.h"
#include "paths.h"

namespace {

class FileSource final : public RecordSource {
 public:
  explicit FileSource(file::File& file) : file_(file) {}
  std::uint64_t Size() override { return file_.Size(); }
  std::size_t Read(void* buffer, std::size_t size) override { return file_.Read(buffer, size); }

 private:
  file::File& file_;
};

// The characters of the new file's name.
constexpr char TEMP_MARK = '~';
constexpr std::string_view TEMP_CHARACTERS = "0123456789abcdefghijklmnopqrstuvwxyz";

bool WriteRecords(file::File& file, const CommandSet& set) {
  bool ok = true;
  for (int i = 0; i < set.Count && i < MAX_COMMANDS && ok; ++i) ok = file.Write(&set.Records[i], RECORD_SIZE);
  return ok;
}

// Writes the set from the start, ends the file after it and closes it.
bool WriteAndClose(file::File& file, const CommandSet& set, error::Code& error) {
  bool ok = file.IsOpen() && WriteRecords(file, set) && file.Truncate() && file.Flush();
  if (!ok) error = error::Last();
  if (!file.Close() && ok) {
    ok = false;
    error = error::Last();
  }
  return ok;
}

// Where no new file can be made, the set is written over itself.
bool WriteInPlace(const char* path, const CommandSet& set, error::Code& error) {
  file::File file = file::File::OpenForWriting(path);
  return WriteAndClose(file, set, error);
}

// True when the UTF-8 text is one character at most: no byte after the first
// starts another.
bool HasOneCharacter(std::string_view utf8) {
  for (std::size_t i = 1; i < utf8.size(); ++i)
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) return false;
  return true;
}

// A new file beside `path` named as command_set.h says; not open, with the
// reason, when there is none.
file::File CreateBeside(std::string_view path, PathText& created, error::Code& error) {
  const bool marked = !HasOneCharacter(FileNamePart(path));
  for (char c : TEMP_CHARACTERS) {
    created = PathText(DirectoryPart(path));
    if (marked) created.Append(TEMP_MARK);
    created.Append(c);
    file::File file = file::File::CreateNew(created.c_str());
    if (file.IsOpen()) return file;
    error = error::Last();
    if (!file::Exists(created.c_str()) && !file::IsFolder(created.c_str())) break;
  }
  return file::File();
}

}  // namespace

std::uint64_t ReadRecords(RecordSource& source, CommandSet& set) {
  set.Count = 0;
  std::uint64_t size = source.Size();
  std::uint64_t position = 0;
  while (position < size && set.Count < MAX_COMMANDS) {
    unsigned char slot[RECORD_SIZE] = {};
    std::size_t got = source.Read(slot, RECORD_SIZE);
    if (got == 0) break;
    std::memcpy(&set.Records[set.Count], slot, RECORD_SIZE);
    ++set.Count;
    position += got;
  }
  return size / RECORD_SIZE + (size % RECORD_SIZE != 0);
}

bool ReadCommandSet(const char* path, CommandSet& set, std::uint64_t* held) {
  set.Count = 0;
  if (held) *held = 0;
  file::File file = file::File::OpenForReading(path);
  if (!file.IsOpen()) return false;
  FileSource source(file);
  const std::uint64_t records = ReadRecords(source, set);
  if (held) *held = records;
  return true;
}

bool CreateEmptySetFile(const char* path) {
  file::File file = file::File::CreateAlways(path);
  return file.IsOpen() && file.Close();
}

bool SaveCommandSet(const char* path, const CommandSet& set, error::Code& error) {
  // A link whose target cannot be named is written through.
  PathText target;
  if (!file::FinalPath(path, target)) return WriteInPlace(path, set, error);
  PathText temp;
  file::File file = CreateBeside(target, temp, error);
  if (!file.IsOpen()) return file::Exists(target.c_str()) && WriteInPlace(target.c_str(), set, error);
  bool ok = WriteAndClose(file, set, error);
  if (ok && !file::MoveOver(temp.c_str(), target.c_str())) {
    ok = false;
    error = error::Last();
  }
  if (!ok) file::Remove(temp.c_str());
  return ok;
}
