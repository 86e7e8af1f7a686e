// The shared code's platform calls on Linux, for native unit tests, sanitizers
// and fuzzing. Key names follow a US keyboard layout.
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "ansi_text.h"
#include "error.h"
#include "file.h"
#include "paths.h"
#include "program.h"
#include "utf8.h"

namespace {

constexpr int NEW_FILE_MODE = 0644;

// Virtual-key codes of the punctuation keys of a US layout and their names.
struct NamedKey {
  std::uint8_t code;
  const char* name;
};
constexpr NamedKey kUsLayoutNames[] = {
    {0x08, "Backspace"}, {0x09, "Tab"},       {0x0D, "Enter"},   {0x10, "Shift"},    {0x11, "Ctrl"},
    {0x12, "Alt"},       {0x14, "Caps Lock"}, {0x1B, "Esc"},     {0x20, "Space"},    {0x6A, "Num *"},
    {0x6B, "Num +"},     {0x6D, "Num -"},     {0x6E, "Num Del"}, {0x90, "Num Lock"}, {0x91, "Scroll Lock"},
    {0xBA, ";"},         {0xBB, "="},         {0xBC, ","},       {0xBD, "-"},        {0xBE, "."},
    {0xBF, "/"},         {0xC0, "`"},         {0xDB, "["},       {0xDC, "\\"},       {0xDD, "]"},
    {0xDE, "'"},
};

}  // namespace

file::File file::File::OpenForReading(const char* path) {
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (fd >= 0 && (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
    close(fd);
    errno = EISDIR;
    fd = -1;
  }
  return File(fd < 0 ? kNone : fd);
}

file::File file::File::CreateAlways(const char* path) {
  int fd = open(path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, NEW_FILE_MODE);
  return File(fd < 0 ? kNone : fd);
}

file::File file::File::CreateNew(const char* path) {
  int fd = open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, NEW_FILE_MODE);
  return File(fd < 0 ? kNone : fd);
}

// The owner's write permission stands for the read-only attribute, for root too.
file::File file::File::OpenForWriting(const char* path) {
  struct stat st;
  if (stat(path, &st) == 0 && !(st.st_mode & S_IWUSR)) {
    errno = EACCES;
    return File();
  }
  int fd = open(path, O_WRONLY | O_CLOEXEC);
  return File(fd < 0 ? kNone : fd);
}

std::uint64_t file::File::Size() const {
  struct stat st;
  if (!IsOpen() || fstat(static_cast<int>(handle_), &st) != 0) return 0;
  return static_cast<std::uint64_t>(st.st_size);
}

std::size_t file::File::Read(void* buffer, std::size_t size) {
  if (!IsOpen()) return 0;
  ssize_t got = read(static_cast<int>(handle_), buffer, size);
  return got < 0 ? 0 : static_cast<std::size_t>(got);
}

bool file::File::Write(const void* buffer, std::size_t size) {
  const char* p = static_cast<const char*>(buffer);
  while (IsOpen() && size > 0) {
    ssize_t n = write(static_cast<int>(handle_), p, size);
    if (n <= 0) return false;
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return IsOpen();
}

bool file::File::Truncate() {
  const off_t end = IsOpen() ? lseek(static_cast<int>(handle_), 0, SEEK_CUR) : -1;
  return end >= 0 && ftruncate(static_cast<int>(handle_), end) == 0;
}

bool file::File::Flush() { return IsOpen() && fsync(static_cast<int>(handle_)) == 0; }

bool file::File::Close() {
  if (!IsOpen()) return true;
  bool ok = close(static_cast<int>(handle_)) == 0;
  handle_ = kNone;
  return ok;
}

error::Code error::Last() { return static_cast<error::Code>(errno); }

error::Code error::PathTooLong() { return ENAMETOOLONG; }

void error::Describe(error::Code code, FixedText<255>& text) {
  text.Clear();
  text.Append(strerror(static_cast<int>(code)));
  text.Append('.');
}

bool path::IsSeparator(char c) { return c == '\\' || c == '/'; }

bool file::Exists(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 && !S_ISDIR(st.st_mode);
}

bool file::IsFolder(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool file::FinalPath(const char* path, PathText& final) {
  char resolved[PATH_MAX];
  if (!realpath(path, resolved)) {
    final = PathText(path);
    return errno == ENOENT && !final.WasCut();
  }
  final = PathText(resolved);
  return !final.WasCut();
}

bool file::MoveOver(const char* from, const char* to) {
  struct stat st;
  if (stat(to, &st) == 0 && !(st.st_mode & S_IWUSR)) {
    errno = EACCES;
    return false;
  }
  return rename(from, to) == 0;
}

bool file::Remove(const char* path) { return unlink(path) == 0; }

bool file::CopyOver(const char* from, const char* to) {
  File source = File::OpenForReading(from);
  if (!source.IsOpen()) return false;
  File target = File::CreateAlways(to);
  if (!target.IsOpen()) return false;
  char buffer[4096];
  for (std::size_t n; (n = source.Read(buffer, sizeof buffer)) > 0;)
    if (!target.Write(buffer, n)) return false;
  return target.Close();
}

void keyboard::KeyName(std::uint8_t virtualKey, FixedText<255>& name) {
  name.Clear();
  for (const NamedKey& key : kUsLayoutNames)
    if (key.code == virtualKey) name.Append(key.name);
}

bool ansi::EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Letters of code page 1252: ASCII, and the accented ones from 0xC0 on but
// the two signs among them.
bool ansi::IsLetter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= 0xC0 && u != 0xD7 && u != 0xF7);
}

char ansi::UpperCase(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u != 0xF7 && u != 0xFF)) return static_cast<char>(u - 32);
  return c;
}

// Natively the system's code page is Latin-1: each byte is the code point of
// its value.
bool ansi::ToUtf16(std::string_view text, char16_t* out, std::size_t capacity, unsigned codePage) {
  if (codePage == UTF8_CODE_PAGE) return Utf8ToUtf16(text, out, capacity);
  const std::size_t n = text.size() < capacity ? text.size() : capacity;
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(text[i]);
  out[n] = u'\0';
  return n == text.size();
}

bool path::Same(std::string_view a, std::string_view b) { return ansi::EqualIgnoringCase(a, b); }

bool program::Path(PathText& path) {
  char buffer[PathText::capacity() + 1];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
  path = PathText(std::string_view(buffer, n > 0 ? static_cast<std::size_t>(n) : 0));
  return n > 0 && !path.WasCut();
}

void program::CommandLine(program::Line& line) { line.Clear(); }

bool program::Variable(std::string_view name, program::Line& value) {
  value.Clear();
  const FixedText<255> wanted(name);
  const char* found = wanted.WasCut() ? nullptr : getenv(wanted.c_str());
  if (!found) return false;
  value.Append(found);
  return !value.WasCut();
}
