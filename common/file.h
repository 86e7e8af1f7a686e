// Files of the file system, named by UTF-8 paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "paths.h"

namespace file {

// An open file; closed when it goes out of scope.
class File {
 public:
  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = kNone; }
  ~File() { Close(); }

  // Opens an existing file for reading; others may go on reading and writing it.
  static File OpenForReading(const char* path);
  // Creates the file, or empties an existing one, for reading and writing;
  // others may read and write it too.
  static File CreateAlways(const char* path);

  bool IsOpen() const { return handle_ != kNone; }
  std::uint64_t Size() const;
  // Reads up to `size` bytes; 0 when the read fails or the file has no more.
  std::size_t Read(void* buffer, std::size_t size);
  // Writes all bytes; false when any could not be written.
  bool Write(const void* buffer, std::size_t size);
  bool Flush();
  bool Close();

 private:
  static constexpr std::intptr_t kNone = -1;
  explicit File(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_ = kNone;
};

// True when a file (not a directory) exists at the path.
bool Exists(const char* path);
// True when a folder, or the root of a drive, exists at the path.
bool IsFolder(const char* path);
// Creates a new, empty file with a unique name in the directory `dir` (with
// its trailing separator, or empty for the current directory).
bool CreateUnique(std::string_view dir, PathText& path);
// Moves `from` over `to` in one step, replacing `to` and flushing to disk.
bool MoveOver(const char* from, const char* to);
bool Remove(const char* path);
// Copies a file over another, which is replaced when it exists.
bool CopyOver(const char* from, const char* to);

}  // namespace file
