#include "command_set.h"

#include <cstring>

#include "paths.h"

namespace {

class FileSource final : public RecordSource {
 public:
  explicit FileSource(sys::File& file) : file_(file) {}
  std::uint64_t Size() override { return file_.Size(); }
  std::size_t Read(void* buffer, std::size_t size) override { return file_.Read(buffer, size); }

 private:
  sys::File& file_;
};

bool WriteRecords(sys::File& file, const CommandSet& set) {
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
  sys::File file = sys::File::OpenForReading(path);
  if (!file.IsOpen()) return false;
  FileSource source(file);
  ReadRecords(source, set);
  return true;
}

bool CreateEmptySetFile(const char* path) {
  sys::File file = sys::File::CreateAlways(path);
  return file.IsOpen() && file.Close();
}

bool SaveCommandSet(const char* path, const CommandSet& set, sys::ErrorCode& error) {
  PathText temp;
  if (!sys::CreateUniqueFile(DirectoryPart(path), temp)) {
    error = sys::LastError();
    return false;
  }
  sys::File file = sys::File::CreateAlways(temp.c_str());
  bool ok = file.IsOpen() && WriteRecords(file, set) && file.Flush();
  if (!ok) error = sys::LastError();
  if (!file.Close() && ok) {
    ok = false;
    error = sys::LastError();
  }
  if (ok && !sys::MoveFileOver(temp.c_str(), path)) {
    ok = false;
    error = sys::LastError();
  }
  if (!ok) sys::RemoveFile(temp.c_str());
  return ok;
}
