// The shared code's calls into Windows.
#include <windows.h>

#include "platform.h"

namespace sys {

namespace {

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

constexpr DWORD SHARE_READ_WRITE = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD KEY_NAME_BUFFER = 256;
constexpr int SCAN_CODE_SHIFT = 16;

}  // namespace

File File::OpenForReading(const char* path) {
  HANDLE h = CreateFileA(path, GENERIC_READ, SHARE_READ_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return File(h == INVALID_HANDLE_VALUE ? kNone : reinterpret_cast<std::intptr_t>(h));
}

File File::CreateAlways(const char* path) {
  HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, SHARE_READ_WRITE, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return File(h == INVALID_HANDLE_VALUE ? kNone : reinterpret_cast<std::intptr_t>(h));
}

std::uint64_t File::Size() const {
  LARGE_INTEGER size;
  if (!IsOpen() || !GetFileSizeEx(AsHandle(handle_), &size)) return 0;
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t File::Read(void* buffer, std::size_t size) {
  DWORD got = 0;
  if (!IsOpen() || !ReadFile(AsHandle(handle_), buffer, static_cast<DWORD>(size), &got, nullptr))
    return 0;
  return got;
}

// A write that stops short without an error (a disk filling up does that) is
// continued, so that the call that cannot go on reports why.
bool File::Write(const void* buffer, std::size_t size) {
  const char* p = static_cast<const char*>(buffer);
  while (IsOpen() && size > 0) {
    DWORD written = 0;
    if (!WriteFile(AsHandle(handle_), p, static_cast<DWORD>(size), &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_DISK_FULL);
      return false;
    }
    p += written;
    size -= written;
  }
  return IsOpen();
}

bool File::Flush() { return IsOpen() && FlushFileBuffers(AsHandle(handle_)); }

bool File::Close() {
  if (!IsOpen()) return true;
  bool ok = CloseHandle(AsHandle(handle_));
  handle_ = kNone;
  return ok;
}

ErrorCode LastError() { return GetLastError(); }

ErrorCode PathTooLongError() { return ERROR_FILENAME_EXCED_RANGE; }

void DescribeError(ErrorCode code, FixedText<255>& text) {
  text.Clear();
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, text.data(), static_cast<DWORD>(text.capacity() + 1), nullptr);
  if (n == 0) {
    text.Append("Error ");
    char digits[16];
    int i = sizeof digits;
    do digits[--i] = static_cast<char>('0' + code % 10); while ((code /= 10) != 0 && i > 0);
    text.Append(std::string_view(digits + i, sizeof digits - i));
    text.Append('.');
    return;
  }
  text.TakeCString();
  while (!text.empty() && static_cast<unsigned char>(text.view().back()) <= ' ')
    text.Truncate(text.size() - 1);
}

bool IsFolderSeparator(char c) { return c == '\\'; }

bool IsExistingFile(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateUniqueFile(std::string_view dir, PathText& path) {
  PathText directory(dir.empty() ? std::string_view(".") : dir);
  if (directory.WasCut()) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  char name[MAX_PATH] = {};
  if (!GetTempFileNameA(directory.c_str(), "tlk", 0, name)) return false;
  path.Clear();
  path.Append(name);
  return true;
}

bool MoveFileOver(const char* from, const char* to) {
  // A read-only set file is the user's wish that it stay as it is.
  DWORD attributes = GetFileAttributesA(to);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool RemoveFile(const char* path) { return DeleteFileA(path); }

bool CopyFileOver(const char* from, const char* to) { return CopyFileA(from, to, FALSE); }

void KeyName(std::uint8_t virtualKey, FixedText<255>& name) {
  name.Clear();
  UINT scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  if (scanCode == 0) return;
  char buffer[KEY_NAME_BUFFER] = {};
  int n = GetKeyNameTextA(static_cast<LONG>(scanCode << SCAN_CODE_SHIFT), buffer, KEY_NAME_BUFFER);
  if (n > 0) name.Append(std::string_view(buffer, static_cast<std::size_t>(n)));
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool IsLetter(char c) { return IsCharAlphaA(c); }

char UpperCase(char c) {
  CharUpperBuffA(&c, 1);
  return c;
}

}  // namespace sys
