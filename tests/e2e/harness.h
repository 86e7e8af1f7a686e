// Driving the real programs under Wine: program folders, processes, windows,
// real input, and the reports of the probe, the program that stands in for a
// command. Texts are UTF-8. Waiting is polling with a time limit.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "test_support.h"

namespace e2e {

constexpr DWORD kTimeoutMs = 10000;
constexpr DWORD kLaunchTimeoutMs = 30000;  // a new process under Wine on a busy machine
constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;
// The programs run from a folder named outside the ANSI code page (Cyrillic
// and Chinese), on a set so named; what the records name stays in the code page.
constexpr char kAnyFolder[] = "\xD0\x94\xD0\xBC\xD0\xB8\xE4\xBB\xBB\xE5\x8A\xA1";
inline const std::string kAnySet = std::string(kAnyFolder) + ".dat";

template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kTimeoutMs, DWORD pollMs = 10) {
  for (const DWORD start = GetTickCount(); !condition(); Sleep(pollMs))
    if (GetTickCount() - start >= timeoutMs) return condition();
  return true;
}

inline std::wstring Wide(std::string_view utf8) { return std::filesystem::u8path(utf8).wstring(); }
inline std::string Utf8(std::wstring_view wide) { return std::filesystem::path(wide).u8string(); }

// Where the build puts every program.
inline std::string BuildDir() {
  wchar_t path[MAX_PATH] = {};
  const std::string full = Utf8(std::wstring_view(path, GetModuleFileNameW(nullptr, path, MAX_PATH)));
  return full.substr(0, full.rfind('\\') + 1);
}

// A scratch folder with copies of built programs.
class ProgramDir : public ScratchDir {
 public:
  explicit ProgramDir(std::initializer_list<const char*> programs, const std::string& name = "tasklark")
      : ScratchDir(name) {
    for (const char* program : programs) CopyAs(program, program);
  }
  void CopyAs(const char* built, const std::string& name) const {
    CopyFileW(Wide(BuildDir() + built).c_str(), Wide(Path(name)).c_str(), FALSE);
  }
};

// A program started in a folder; ended, if it still runs, when this goes.
class Process {
 public:
  Process() = default;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process() {
    if (!info_.hProcess) return;
    TerminateProcess(info_.hProcess, 1);  // nothing when it has ended
    WaitForSingleObject(info_.hProcess, kTimeoutMs);
    CloseHandle(info_.hProcess);
  }
  void Start(const std::string& commandLine, const std::string& dir) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring line = Wide(commandLine);
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, Wide(dir).c_str(), &startup,
                       &info_))
      CloseHandle(info_.hThread);
  }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool WaitForExit(DWORD* exitCode = nullptr) const {
    return WaitForSingleObject(info_.hProcess, kTimeoutMs) == WAIT_OBJECT_0 &&
           (!exitCode || GetExitCodeProcess(info_.hProcess, exitCode));
  }

 private:
  PROCESS_INFORMATION info_ = {};
};

// A top-level window of the process (0: any) with the class and title (null: any).
inline HWND FindTopLevel(const char* className, const char* title, DWORD processId = 0) {
  HWND window = nullptr;
  DWORD owner = 0;
  while ((window = FindWindowExA(nullptr, window, className, title)) != nullptr)
    if (GetWindowThreadProcessId(window, &owner) && (processId == 0 || owner == processId)) return window;
  return nullptr;
}

// Once it is there and answers.
inline HWND WaitForWindow(DWORD processId, const char* className, const char* title = nullptr) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindTopLevel(className, title, processId)) != nullptr; },
            kLaunchTimeoutMs);
  const bool answers =
      window && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, nullptr);
  return answers ? window : nullptr;
}

// The text of a window or list entry, also of another process; empty when it
// went meanwhile. The buffer has room for any text the programs show.
inline std::string TextOf(HWND window, UINT getText = WM_GETTEXT, WPARAM item = 0) {
  wchar_t text[1024] = {};
  const WPARAM first = getText == WM_GETTEXT ? std::size(text) : item;
  DWORD_PTR got = 0;
  SendMessageTimeoutW(window, getText, first, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kTimeoutMs,
                      &got);
  return Utf8(text);
}

inline std::vector<std::string> ListBoxItems(HWND list) {
  std::vector<std::string> items;
  DWORD_PTR count = 0;
  SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &count);
  for (WPARAM i = 0; i < count; ++i) items.push_back(TextOf(list, LB_GETTEXT, i));
  return items;
}

inline HWND WaitForPopupMenu(DWORD processId) {
  HWND menu = nullptr;
  WaitUntil([&] {
    return (menu = FindTopLevel("#32768", nullptr, processId)) != nullptr && IsWindowVisible(menu);
  });
  return menu;
}

// The tray's balloon.
inline std::string WaitForBalloon() {
  HWND tip = nullptr;
  WaitUntil([&] {
    while ((tip = FindWindowExA(nullptr, tip, "tooltips_class32", nullptr)) != nullptr)
      if (IsWindowVisible(tip) && (GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON)) return true;
    return false;
  });
  return tip ? TextOf(tip) : "";
}

// Real input goes to the foreground window.
inline bool MakeForeground(HWND window) {
  return WaitUntil([&] {
    if (GetForegroundWindow() == window) return true;
    SetForegroundWindow(window);
    return false;
  });
}

inline INPUT Key(WORD key, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  return input;
}

// Pressed in order, released in reverse order.
inline void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(Key(key, 0));
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
    inputs.push_back(Key(*key, KEYEVENTF_KEYUP));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Every mouse event with its own absolute place.
inline void MouseAt(POINT screen, DWORD flags = 0) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  SendInput(1, &input, sizeof input);
}

inline void ClickAt(POINT screen) {
  MouseAt(screen);
  MouseAt(screen, MOUSEEVENTF_LEFTDOWN);
  MouseAt(screen, MOUSEEVENTF_LEFTUP);
}

// Its middle, once nothing (a hint, say) covers it.
inline bool ClickWindow(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  const POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  MouseAt(at);
  if (!WaitUntil([&] { return WindowFromPoint(at) == window; })) return false;
  ClickAt(at);
  return true;
}

inline bool HotkeyIsFree(UINT modifiers, UINT key) {
  return RegisterHotKey(nullptr, 0xBFF0, modifiers, key) && UnregisterHotKey(nullptr, 0xBFF0);
}

// A button of a dialog or message box pressed, and the box gone.
inline void PressButton(HWND box, WPARAM button) {
  ASSERT_NE(box, nullptr);
  PostMessageA(box, WM_COMMAND, button, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
}

// Types the path into a file dialog's name box and takes it.
inline void ChooseFile(HWND dialog, const std::string& path) {
  SCOPED_TRACE(path);
  SendMessageW(GetDlgItem(dialog, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(path).c_str()));
  PressButton(dialog, IDOK);
}

// A file type (".ext") or an address scheme that the shell opens with
// `command`, registered where Wine's shell looks (HKLM\Software\Classes) for
// as long as it lives; a file type names the class that holds its command.
// With `waitsForDde` the shell also sends a DDE message that no program
// answers, and so waits for the program it started to end.
class ShellType {
 public:
  ShellType(const std::string& name, const std::string& command, bool waitsForDde = false)
      : name_(name), key_(name[0] == '.' ? "Tasklark" + name : name) {
    if (name_ != key_)
      Set(name_, nullptr, key_);
    else
      Set(key_, "URL Protocol", "");
    Set(key_ + "\\shell\\open\\command", nullptr, command);
    if (waitsForDde) Set(key_ + "\\shell\\open\\ddeexec", nullptr, "[open(\"%1\")]");
  }
  ~ShellType() {
    for (const std::string& key : {name_, key_})
      RegDeleteTreeW(HKEY_LOCAL_MACHINE, Wide(kClasses + key).c_str());
  }

 private:
  static constexpr char kClasses[] = "Software\\Classes\\";
  static void Set(const std::string& key, const char* name, const std::string& value) {
    const std::wstring text = Wide(value);
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, Wide(kClasses + key).c_str(), name ? Wide(name).c_str() : nullptr,
                    REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  std::string name_, key_;
};

// One report of the probe per start; it writes probe-<process id>.txt beside itself.
struct Launch {
  std::string commandLine, dir;
  int show = -1;          // STARTUPINFO's wShowWindow; -1 when not given
  long long started = 0;  // the performance counter when it started
  bool console = false;   // it had a console window
};

// At least `count` of them (fewer when they do not come), in the order of the starts.
inline std::vector<Launch> WaitForLaunches(const ProgramDir& dir, std::size_t count) {
  std::vector<Launch> launches;
  WaitUntil(
      [&] {
        launches.clear();
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(Wide(dir.Path("probe-*.txt")).c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
          const Bytes bytes = ReadBytes(dir.Dir() + Utf8(found.cFileName));
          std::istringstream report(std::string(bytes.begin(), bytes.end()));
          Launch launch;
          std::getline(report, launch.commandLine);
          std::getline(report, launch.dir);
          if (report >> launch.show >> launch.started >> launch.console) launches.push_back(launch);
        }
        FindClose(search);
        return launches.size() >= count;
      },
      kLaunchTimeoutMs);
  std::sort(launches.begin(), launches.end(),
            [](const Launch& a, const Launch& b) { return a.started < b.started; });
  return launches;
}

// The arguments of `count` starts or more, each after the program's quoted
// path; a start that never came reads as empty.
inline std::vector<std::string> LaunchedArguments(const ProgramDir& dir, std::size_t count) {
  std::vector<std::string> arguments;
  for (const Launch& launch : WaitForLaunches(dir, count))
    arguments.push_back(launch.commandLine.substr(launch.commandLine.find(".exe\" ") + 6));
  arguments.resize(std::max(arguments.size(), count));
  return arguments;
}

}  // namespace e2e
