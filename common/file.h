// Files of the file system, named by UTF-8 paths.
#pragma once

#include <cstddef>
#include <cstdint>

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
  // Creates a file that is not there yet, for reading and writing.
  static File CreateNew(const char* path);
  // Opens an existing file for writing over what it holds. A read-only file
  // is refused, also where the system would open it (Wine run as root).
  static File OpenForWriting(const char* path);

  bool IsOpen() const { return handle_ != kNone; }
  std::uint64_t Size() const;
  // Reads up to `size` bytes; 0 when the read fails or the file has no more.
  std::size_t Read(void* buffer, std::size_t size);
  // Writes all bytes; false when any could not be written.
  bool Write(const void* buffer, std::size_t size);
  // Ends the file at the current position.
  bool Truncate();
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
// The path of the file that `path` names, through any link, in full; the
// path itself when nothing is there. False when it cannot be named.
bool FinalPath(const char* path, PathText& final);
// Moves `from` over `to` in one step, flushing to disk. An existing `to`
// hands on what makes it the file it is: its attributes, and where the
// system keeps them its security and alternate streams. A read-only `to`,
// and one that another program holds so that it cannot be moved away, are
// refused before anything moves.
bool MoveOver(const char* from, const char* to);
bool Remove(const char* path);
// Copies a file over another, which is replaced when it exists.
bool CopyOver(const char* from, const char* to);

}  // namespace file
