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

}  // namespace

file::File file::File::OpenForReading(const char* path) {
  return File(OpenFile(path, GENERIC_READ, OPEN_EXISTING));
}

file::File file::File::CreateAlways(const char* path) {
  return File(OpenFile(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS));
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

bool file::CreateUnique(std::string_view dir, PathText& path) {
  const WidePath directory(dir.empty() ? std::string_view(".") : dir);
  wchar_t name[MAX_PATH] = {};
  if (!directory.Ok() || !GetTempFileNameW(directory.c_str(), L"tlk", 0, name)) return false;
  return FromWide(name, path);
}

bool file::MoveOver(const char* from, const char* to) {
  const WidePath source(from), target(to);
  if (!source.Ok() || !target.Ok()) return false;
  // A read-only set file is the user's wish that it stay as it is.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
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

bool ansi::ToUtf16(std::string_view text, char16_t* out, std::size_t capacity) {
  out[0] = u'\0';
  if (text.empty()) return true;
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
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

// By its full path: never a copy that lies in the program's folder.
HMODULE DialogLibrary() {
  static HMODULE library = nullptr;
  if (library) return library;
  wchar_t path[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + sizeof DIALOG_LIBRARY / sizeof(wchar_t) > MAX_PATH) return nullptr;
  lstrcatW(path, DIALOG_LIBRARY);
  library = LoadLibraryW(path);
  return library;
}

}  // namespace

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
