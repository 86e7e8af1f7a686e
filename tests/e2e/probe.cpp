// A program for the tests to start as a command: it records its command line,
// its current directory and the show mode it was given in the next free
// probe-<n>.txt beside itself, with the moment it started, then ends.
#include <windows.h>

#include <string>

namespace {

constexpr int kMaxReports = 1000;

std::string OwnDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir = path;
  return dir.substr(0, dir.find_last_of('\\') + 1);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The moment it runs, on the clock every process shares, for timing launches.
  LARGE_INTEGER started = {};
  QueryPerformanceCounter(&started);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  char cwd[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, cwd);

  std::string report = std::string("cmdline:") + GetCommandLineA() + "\r\ncwd:" + cwd +
                       "\r\nshow:" + std::to_string(show) +
                       "\r\nqpc:" + std::to_string(started.QuadPart) + "\r\n";

  // Claim a number first, so probes started together never share one; the
  // report appears under its final name only when it is complete.
  const std::string dir = OwnDir();
  for (int n = 1; n <= kMaxReports; ++n) {
    std::string base = dir + "probe-" + std::to_string(n);
    HANDLE claim = CreateFileA((base + ".claim").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (claim == INVALID_HANDLE_VALUE) continue;
    CloseHandle(claim);
    HANDLE file = CreateFileA((base + ".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileExA((base + ".tmp").c_str(), (base + ".txt").c_str(), MOVEFILE_REPLACE_EXISTING);
    return 0;
  }
  return 1;
}
