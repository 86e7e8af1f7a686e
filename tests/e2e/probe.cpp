// Started as a command by the programs under test: writes how it was started
// to probe-<process id>.txt beside itself (command line, current folder, show
// mode, starting moment; UTF-8, a line each) and ends. Given the argument
// "busy" it stays busy for a while afterwards, as a large program does while
// it comes up.
#include <windows.h>

#include <string>

namespace {

constexpr DWORD kBusyMs = 4000;

std::string Utf8(const wchar_t* wide) {
  char text[4 * 32768];
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  return std::string(text, n > 0 ? n - 1 : 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  LARGE_INTEGER started = {};
  QueryPerformanceCounter(&started);
  STARTUPINFOW startup = {};
  GetStartupInfoW(&startup);
  wchar_t dir[MAX_PATH] = {}, self[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, dir);
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::string commandLine = Utf8(GetCommandLineW());
  const std::string report = commandLine + "\n" + Utf8(dir) + "\n" +
                             std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1) +
                             "\n" + std::to_string(started.QuadPart) + "\n";

  // The report shows up under its final name only when it is complete.
  std::wstring base = self;
  base = base.substr(0, base.rfind(L'\\') + 1) + L"probe-" + std::to_wstring(GetCurrentProcessId());
  HANDLE file = CreateFileW((base + L".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileExW((base + L".tmp").c_str(), (base + L".txt").c_str(), MOVEFILE_REPLACE_EXISTING);
  if (commandLine.size() >= 5 && commandLine.compare(commandLine.size() - 5, 5, " busy") == 0) Sleep(kBusyMs);
  return 0;
}
