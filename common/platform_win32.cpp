// The shared code's calls into Windows, and the Windows chores both programs
// share. Paths arrive as UTF-8 and go to the system's wide calls.
#include <windows.h>
#include <commdlg.h>

#include "ansi_text.h"
#include "desktop.h"
#include "error.h"
#include "file.h"
#include "paths.h"
#include "program.h"
#include "wide_text.h"

namespace {

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

constexpr DWORD SHARE_READ_WRITE = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD SHARE_ANY = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The prefixes of the paths GetFinalPathNameByHandleW gives.
constexpr wchar_t LONG_PATH_PREFIX[] = L"\\\\?\\";
constexpr wchar_t UNC_PREFIX[] = L"\\\\?\\UNC\\";
constexpr std::size_t UNC_PREFIX_UNITS = sizeof UNC_PREFIX / sizeof(wchar_t) - 1;
constexpr DWORD FINAL_PATH_UNITS = PATH_UNITS + UNC_PREFIX_UNITS;
// What a set file keeps when it is replaced; a read-only one is not replaced.
constexpr DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr DWORD REPLACE_FLAGS = REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
constexpr DWORD KEY_NAME_BUFFER = 256;
constexpr int SCAN_CODE_SHIFT = 16;

// A path for the wide calls; one that does not fit names no file.
class WidePath : public WideText<PATH_UNITS> {
 public:
  explicit WidePath(std::string_view utf8) : WideText(utf8) {
    if (!Ok()) SetLastError(ERROR_FILENAME_EXCED_RANGE);
  }
};

// Others may go on reading and writing the file.
std::intptr_t OpenFile(const char* path, DWORD access, DWORD disposition) {
  const WidePath wide(path);
  if (!wide.Ok()) return reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
  return reinterpret_cast<std::intptr_t>(CreateFileW(wide.c_str(), access, SHARE_READ_WRITE, nullptr,
                                                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

template <std::size_t N>
bool StartsWith(const wchar_t* text, const wchar_t (&prefix)[N]) {
  return std::wcsncmp(text, prefix, N - 1) == 0;
}

// A read-only set file is the user's wish that it stay as it is.
bool IsReadOnly(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

}  // namespace

file::File file::File::OpenForReading(const char* path) {
  return File(OpenFile(path, GENERIC_READ, OPEN_EXISTING));
}

file::File file::File::CreateAlways(const char* path) {
  return File(OpenFile(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS));
}

file::File file::File::CreateNew(const char* path) {
  return File(OpenFile(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW));
}

file::File file::File::OpenForWriting(const char* path) {
  const WidePath wide(path);
  if (wide.Ok() && IsReadOnly(wide.c_str())) {
    SetLastError(ERROR_ACCESS_DENIED);
    return File();
  }
  return File(OpenFile(path, GENERIC_WRITE, OPEN_EXISTING));
}

std::uint64_t file::File::Size() const {
  LARGE_INTEGER size;
  if (!IsOpen() || !GetFileSizeEx(AsHandle(handle_), &size)) return 0;
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t file::File::Read(void* buffer, std::size_t size) {
  DWORD got = 0;
  if (!IsOpen() || !ReadFile(AsHandle(handle_), buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
  return got;
}

// A write that stops short without an error (a disk filling up does that) is
// continued, so that the call that cannot go on reports why.
bool file::File::Write(const void* buffer, std::size_t size) {
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

bool file::File::Truncate() { return IsOpen() && SetEndOfFile(AsHandle(handle_)); }

bool file::File::Flush() { return IsOpen() && FlushFileBuffers(AsHandle(handle_)); }

bool file::File::Close() {
  if (!IsOpen()) return true;
  bool ok = CloseHandle(AsHandle(handle_));
  handle_ = kNone;
  return ok;
}

error::Code error::Last() { return GetLastError(); }

error::Code error::PathTooLong() { return ERROR_FILENAME_EXCED_RANGE; }

void error::Describe(error::Code code, FixedText<255>& text) {
  wchar_t reason[256] = {};
  if (FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, reason,
                     256, nullptr) == 0) {
    char digits[16];
    wsprintfA(digits, "Error %lu.", code);
    text = FixedText<255>(digits);
    return;
  }
  FromWide(reason, text);
  while (!text.empty() && static_cast<unsigned char>(text.view().back()) <= ' ')
    text.Truncate(text.size() - 1);
}

bool path::IsSeparator(char c) { return c == '\\'; }

bool file::Exists(const char* path) {
  const WidePath wide(path);
  const DWORD attributes = wide.Ok() ? GetFileAttributesW(wide.c_str()) : INVALID_FILE_ATTRIBUTES;
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool file::IsFolder(const char* path) {
  const WidePath wide(path);
  const DWORD attributes = wide.Ok() ? GetFileAttributesW(wide.c_str()) : INVALID_FILE_ATTRIBUTES;
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Opened for no access at all, the file is named even while another program
// holds it without sharing. The system names it with a prefix that takes
// the length limit off: a drive's path loses the prefix, a share's takes the
// two backslashes of its usual form, and a path that is then too long for the
// calls of the programs is not named.
bool file::FinalPath(const char* path, PathText& final) {
  const WidePath wide(path);
  if (!wide.Ok()) return false;
  HANDLE file =
      CreateFileW(wide.c_str(), 0, SHARE_ANY, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    final = PathText(path);
    return true;
  }
  wchar_t name[FINAL_PATH_UNITS + 1] = {};
  const DWORD length = GetFinalPathNameByHandleW(file, name, FINAL_PATH_UNITS + 1, FILE_NAME_NORMALIZED);
  CloseHandle(file);
  if (length == 0 || length > FINAL_PATH_UNITS) return false;
  wchar_t* start = name;
  if (StartsWith(name, UNC_PREFIX)) {
    start += UNC_PREFIX_UNITS - 2;
    start[0] = L'\\';
  } else if (StartsWith(name, LONG_PATH_PREFIX)) {
    start += sizeof LONG_PATH_PREFIX / sizeof(wchar_t) - 1;
  }
  return std::wcslen(start) <= PATH_UNITS && FromWide(start, final);
}

bool file::MoveOver(const char* from, const char* to) {
  const WidePath source(from), target(to);
  if (!source.Ok() || !target.Ok()) return false;
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  // A file that cannot be moved away now (another program holds it without
  // sharing its deletion) is told before anything moves: Wine's ReplaceFileW
  // would leave a file of its own behind.
  HANDLE replaced = CreateFileW(target.c_str(), DELETE, SHARE_ANY, nullptr, OPEN_EXISTING, 0, nullptr);
  if (replaced == INVALID_HANDLE_VALUE) return false;
  CloseHandle(replaced);
  // ReplaceFileW makes the new file the old one's successor: attributes,
  // security, alternate streams, creation time. The attributes go over
  // first, for a ReplaceFileW that does not carry them (Wine's). Where the
  // system cannot carry something over, the set is saved all the same.
  const DWORD kept = attributes & KEPT_ATTRIBUTES;
  SetFileAttributesW(source.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
  if (ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACE_FLAGS, nullptr, nullptr)) return true;
  // Without a backup, a failed move of the new file may leave no file under
  // the set's name (Wine's ReplaceFileW does that more often than the
  // system's): the new file then goes there as it is.
  const DWORD error = GetLastError();
  if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES &&
      MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
    return true;
  SetLastError(error);
  return false;
}

bool file::Remove(const char* path) {
  const WidePath wide(path);
  return wide.Ok() && DeleteFileW(wide.c_str());
}

bool file::CopyOver(const char* from, const char* to) {
  const WidePath source(from), target(to);
  return source.Ok() && target.Ok() && CopyFileW(source.c_str(), target.c_str(), FALSE);
}

void keyboard::KeyName(std::uint8_t virtualKey, FixedText<255>& name) {
  name.Clear();
  UINT scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  if (scanCode == 0) return;
  char buffer[KEY_NAME_BUFFER] = {};
  int n = GetKeyNameTextA(static_cast<LONG>(scanCode << SCAN_CODE_SHIFT), buffer, KEY_NAME_BUFFER);
  if (n > 0) name.Append(std::string_view(buffer, static_cast<std::size_t>(n)));
}

bool ansi::EqualIgnoringCase(std::string_view a, std::string_view b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

// No flags, which every code page takes, UTF-8 (65001) too: a byte that is
// no character of the code page becomes U+FFFD.
bool ansi::ToUtf16(std::string_view text, char16_t* out, std::size_t capacity, unsigned codePage) {
  static_assert(SYSTEM_CODE_PAGE == CP_ACP && UTF8_CODE_PAGE == CP_UTF8, "the system's code pages");
  out[0] = u'\0';
  if (text.empty()) return true;
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    reinterpret_cast<wchar_t*>(out), static_cast<int>(capacity));
  out[n > 0 ? n : 0] = u'\0';
  return n > 0;
}

bool path::Same(std::string_view a, std::string_view b) {
  const WidePath first(a), second(b);
  return first.Ok() && second.Ok() &&
         CompareStringOrdinal(first.c_str(), -1, second.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool program::Path(PathText& path) {
  wchar_t wide[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, wide, MAX_PATH);
  return length > 0 && length < MAX_PATH && FromWide(wide, path);
}

void program::CommandLine(program::Line& line) { FromWide(GetCommandLineW(), line); }

bool program::Variable(std::string_view name, program::Line& value) {
  value.Clear();
  const WideText<255> wanted(name);
  if (!wanted.Ok()) return false;
  // Asked for its size first: a value may be up to 32767 units long.
  const DWORD size = GetEnvironmentVariableW(wanted.c_str(), nullptr, 0);
  if (size == 0) return false;
  auto* units = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, size * sizeof(wchar_t)));
  if (!units) return false;
  const DWORD n = GetEnvironmentVariableW(wanted.c_str(), units, size);
  const bool ok = n > 0 && n < size && FromWide(units, value);
  HeapFree(GetProcessHeap(), 0, units);
  return ok;
}

bool ansi::IsLetter(char c) { return IsCharAlphaA(c); }

char ansi::UpperCase(char c) {
  CharUpperBuffA(&c, 1);
  return c;
}

// --- the chores of desktop.h ------------------------------------------------

namespace desktop {

namespace {

constexpr std::size_t MESSAGE_UNITS = 1023;
constexpr DWORD DIALOG_MAX_FILE = 260;
constexpr DWORD CUSTOM_FILTER_SIZE = 40;
constexpr wchar_t DIALOG_LIBRARY[] = L"\\comdlg32.dll";
constexpr char OPEN_DIALOG[] = "GetOpenFileNameW";
constexpr char SAVE_DIALOG[] = "GetSaveFileNameW";

using FileDialogCall = BOOL(WINAPI*)(LPOPENFILENAMEW);

HMODULE DialogLibrary() {
  static HMODULE library = nullptr;
  if (!library) library = LoadSystemLibrary(DIALOG_LIBRARY);
  return library;
}

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + static_cast<UINT>(lstrlenW(name)) >= MAX_PATH) return nullptr;
  lstrcatW(path, name);
  return LoadLibraryW(path);
}

int ShowMessage(HWND owner, std::string_view text, const wchar_t* caption, UINT style) {
  const WideText<MESSAGE_UNITS> wide(text);
  return MessageBoxW(owner, wide.c_str(), caption, style);
}

void ReadStartUp(StartUp& startUp) {
  if (!program::Path(startUp.ProgramPath)) startUp.ProgramPath.Clear();
  program::CommandLine(startUp.CommandLine);
}

PathText ChooseFile(HWND owner, const FileDialog& dialog, std::string_view name, std::string_view folder) {
  PathText chosen;
  const HMODULE library = DialogLibrary();
  if (!library) return chosen;
  const auto show = reinterpret_cast<FileDialogCall>(
      reinterpret_cast<void*>(GetProcAddress(library, dialog.Save ? SAVE_DIALOG : OPEN_DIALOG)));
  WideText<DIALOG_MAX_FILE + 1> file(name);
  if (!file.Ok()) file = WideText<DIALOG_MAX_FILE + 1>("");
  const WideText<PATH_UNITS> initialDir(folder);
  OPENFILENAMEW box = {};
  box.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  box.hwndOwner = owner;
  box.lpstrFilter = dialog.Filter;
  box.nMaxCustFilter = CUSTOM_FILTER_SIZE;
  box.lpstrFile = file.data();
  box.nMaxFile = DIALOG_MAX_FILE;
  box.lpstrInitialDir = initialDir.c_str();
  box.lpstrTitle = dialog.Title;
  box.Flags = dialog.Flags;
  box.lpstrDefExt = dialog.DefaultExtension;
  if (show && show(&box)) FromWide(file.c_str(), chosen);
  return chosen;
}

bool StartProgram(wchar_t* commandLine, const wchar_t* directory, WORD showCommand, DWORD creationFlags) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showCommand;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, creationFlags, nullptr, directory,
                      &startup, &started))
    return false;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

}  // namespace desktop
