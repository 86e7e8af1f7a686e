// Started as a command by the programs under test: writes how it was started
// to probe-<process id>.txt beside itself (command line, current folder, show
// mode, starting moment, 1 with a console window or 0; UTF-8, a line each)
// and ends; also built as a console program. Given the argument "busy" it then
// stays busy for a while, as a large program does coming up.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* wide) {
  static char text[4 * 32768];
  return std::string(text,
                     WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr) - 1);
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
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  const std::string line = Utf8(GetCommandLineW());
  const std::string report = line + "\n" + Utf8(dir) + "\n" + std::to_string(show) + "\n" +
                             std::to_string(started.QuadPart) + "\n" + (GetConsoleWindow() ? "1\n" : "0\n");
  // The harness takes a report once its last line is there.
  std::wstring path = self;
  path = path.substr(0, path.rfind(L'\\') + 1) + L"probe-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
  CloseHandle(file);
  if (line.size() > 5 && line.compare(line.size() - 5, 5, " busy") == 0) Sleep(4000);
  return 0;
}
