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

bool WriteRecords(file::File& file, const CommandSet& set) {
  bool ok = true;
  for (int i = 0; i < set.Count && i < MAX_COMMANDS && ok; ++i) ok = file.Write(&set.Records[i], RECORD_SIZE);
  return ok;
}

}  // namespace

void ReadRecords(RecordSource& source, CommandSet& set) {
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
}

bool ReadCommandSet(const char* path, CommandSet& set) {
  set.Count = 0;
  file::File file = file::File::OpenForReading(path);
  if (!file.IsOpen()) return false;
  FileSource source(file);
  ReadRecords(source, set);
  return true;
}

bool CreateEmptySetFile(const char* path) {
  file::File file = file::File::CreateAlways(path);
  return file.IsOpen() && file.Close();
}

bool SaveCommandSet(const char* path, const CommandSet& set, error::Code& error) {
  PathText temp;
  if (!file::CreateUnique(DirectoryPart(path), temp)) {
    error = error::Last();
    return false;
  }
  file::File file = file::File::CreateAlways(temp.c_str());
  bool ok = file.IsOpen() && WriteRecords(file, set) && file.Flush();
  if (!ok) error = error::Last();
  if (!file.Close() && ok) {
    ok = false;
    error = error::Last();
  }
  if (ok && !file::MoveOver(temp.c_str(), path)) {
    ok = false;
    error = error::Last();
  }
  if (!ok) file::Remove(temp.c_str());
  return ok;
}
