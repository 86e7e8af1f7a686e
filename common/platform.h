// The little the shared code needs from the operating system: the set file's
// calls, key names and a case-insensitive comparison. platform_win32.cpp is
// the product's; platform_posix.cpp lets the shared code run natively for unit
// tests, sanitizers and fuzzing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fixed_text.h"

// A path: UTF-8 inside, and at most MAX_PATH - 1 UTF-16 units at the
// system's calls, up to three bytes each here. A longer path is refused,
// never cut.
constexpr std::size_t PATH_UNITS = 259;
using PathText = FixedText<3 * PATH_UNITS>;

namespace sys {

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

using ErrorCode = unsigned long;
ErrorCode LastError();
// The error of a path that is too long to be named.
ErrorCode PathTooLongError();
// A sentence that tells the user what the error means.
void DescribeError(ErrorCode code, FixedText<255>& text);

// A folder separator of the file system: the backslash, and where the shared
// code runs natively the slash too.
bool IsFolderSeparator(char c);

// True when a file (not a directory) exists at the path.
bool IsExistingFile(const char* path);
// Creates a new, empty file with a unique name in the directory `dir` (with
// its trailing separator, or empty for the current directory).
bool CreateUniqueFile(std::string_view dir, PathText& path);
// Moves `from` over `to` in one step, replacing `to` and flushing to disk.
bool MoveFileOver(const char* from, const char* to);
bool RemoveFile(const char* path);
// Copies a file over another, which is replaced when it exists.
bool CopyFileOver(const char* from, const char* to);

// The name the keyboard layout gives the key with this virtual-key code; empty
// when it has none or the call fails.
void KeyName(std::uint8_t virtualKey, FixedText<255>& name);

// Equal ignoring letter case, as the user's locale compares texts (of the
// ANSI code page).
bool EqualIgnoringCase(std::string_view a, std::string_view b);
// The same file name or folder, ignoring letter case (UTF-8 paths).
bool SamePath(std::string_view a, std::string_view b);

// The running program's path and its command line, UTF-8; false when the
// path does not fit.
bool ProgramPath(PathText& path);
using ProgramLine = FixedText<3 * 32767>;  // 32767 UTF-16 units at most
void CommandLine(ProgramLine& line);

// A letter of the system's character set (accented ones too), and its upper case.
bool IsLetter(char c);
char UpperCase(char c);

}  // namespace sys
