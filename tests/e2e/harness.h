// Driving the real programs under Wine: program folders, processes, windows,
// real input, and the reports of the probe, the program that stands in for a
// command. Texts are UTF-8. Waiting is polling with a time limit.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "test_support.h"

namespace e2e {

constexpr DWORD kTimeoutMs = 10000;
constexpr DWORD kLaunchTimeoutMs = 30000;  // a new process under Wine on a busy machine

template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kTimeoutMs, DWORD pollMs = 10) {
  for (const DWORD start = GetTickCount(); !condition(); Sleep(pollMs))
    if (GetTickCount() - start >= timeoutMs) return condition();
  return true;
}

std::wstring Wide(std::string_view utf8);
std::string BuildDir();  // where the build puts every program

// A scratch folder with copies of built programs.
class ProgramDir : public ScratchDir {
 public:
  explicit ProgramDir(std::initializer_list<const char*> programs = {"Tasklark.exe", "larkedit.exe",
                                                                     "probe.exe"},
                      const std::string& name = "tasklark");
  void CopyAs(const char* built, const std::string& name) const;
};

class Process {
 public:
  static Process Start(const std::string& commandLine, const std::string& dir);
  Process() = default;
  Process(Process&& other) noexcept { *this = static_cast<Process&&>(other); }
  Process& operator=(Process&& other) noexcept;
  ~Process();  // ends it if it still runs
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return handle_; }
  bool WaitForExit(DWORD* exitCode = nullptr) const;

 private:
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

// A top-level window of the process (0: any) with the class and title (null:
// any); WaitForWindow waits until it answers.
HWND FindTopLevel(const char* className, const char* title, DWORD processId = 0);
HWND WaitForWindow(DWORD processId, const char* className, const char* title = nullptr);
bool IsResponsive(HWND window, DWORD timeoutMs = kTimeoutMs);
std::string WindowText(HWND window);  // also of another process
std::vector<std::string> ListBoxItems(HWND list);
HWND WaitForPopupMenu(DWORD processId);
std::string WaitForBalloon();  // the tray's balloon

bool MakeForeground(HWND window);                  // real input goes to the foreground window
void PressKeys(std::initializer_list<WORD> keys);  // released in reverse order
void ClickAt(POINT screen);
bool ClickWindow(HWND window);  // its middle, once nothing (a hint, say) covers it
bool HotkeyIsFree(UINT modifiers, UINT key);
void ChooseFile(HWND dialog, const std::string& path);  // in a file dialog

// A file type (".ext") or an address scheme that the shell opens with
// `command`, registered where Wine's shell looks (HKLM\Software\Classes) for
// as long as it lives. With `waitsForDde` the shell also sends a DDE message
// that no program answers, and so waits for the program it started to end.
class ShellType {
 public:
  ShellType(const std::string& name, const std::string& command, bool waitsForDde = false);
  ShellType(const ShellType&) = delete;
  ShellType& operator=(const ShellType&) = delete;
  ~ShellType();

 private:
  std::string name_, key_;
};

// One report of the probe per start, in the order of the starts.
struct Launch {
  std::string commandLine, dir;
  int show = -1;          // STARTUPINFO's wShowWindow; -1 when not given
  long long started = 0;  // the performance counter when it started
  bool console = false;   // it had a console window
};
std::vector<Launch> WaitForLaunches(const ProgramDir& dir, std::size_t count);
// The arguments of at least `count` starts, each after the program's quoted path.
std::vector<std::string> LaunchedArguments(const ProgramDir& dir, std::size_t count);

}  // namespace e2e
