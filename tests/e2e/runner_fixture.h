// The real Tasklark.exe in a fresh program folder, with the probe as the
// command it starts, and what the tests need to drive and observe it.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "harness.h"
#include "runner_link.h"

namespace e2e {

constexpr UINT kTrayNotify = 2135;
constexpr UINT kTrayIconId = 1;
constexpr WPARAM kAbout = 65, kSaveAs = 66, kClose = 69, kLoad = 76, kSetup = 83;
constexpr char kSetFile[] = "Tasklark.dat";

// Stored hotkeys: Ctrl, Alt and Shift flags, then the key character.
inline std::string Hotkey(const char* flags, char key) { return std::string(flags) + key; }
const std::string kNoHotkey("000\0", 4);

inline bool operator==(const MenuEntry& a, const MenuEntry& b) {
  return a.id == b.id && a.separator == b.separator && a.text == b.text;
}
inline void PrintTo(const MenuEntry& e, std::ostream* out) {
  *out << "{" << e.id << (e.separator ? " separator" : "") << " \"" << e.text << "\"}";
}

// True when no process of this executable name runs.
inline bool NoProcessNamed(const char* exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
    found = lstrcmpiA(entry.szExeFile, exeName) == 0;
  CloseHandle(snapshot);
  return !found;
}

// Types a path into a file dialog's name box and confirms it; returns when
// the dialog has closed.
inline void ChooseFile(HWND dialog, const std::string& path) {
  constexpr int kFileNameBox = 1148;
  HWND edit = nullptr;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM data) -> BOOL {
        if (GetDlgCtrlID(child) != kFileNameBox || ClassName(child) != "Edit") return TRUE;
        *reinterpret_cast<HWND*>(data) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&edit));
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
}

// The tips of the icons in the tray, read from the shell's tool tip control
// through memory of the shell's process. Wine's shell keeps one tool per
// icon there, and keeps the tools of icons gone too.
inline std::vector<std::string> TrayTips() {
  std::vector<std::string> tips;
  HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  DWORD shell = 0;
  GetWindowThreadProcessId(tray, &shell);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, shell);
  if (!process) return tips;
  struct Remote {
    TOOLINFOW info;
    wchar_t text[128];
  };
  auto* remote = static_cast<Remote*>(
      VirtualAllocEx(process, nullptr, sizeof(Remote), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  HWND tooltip = nullptr;
  while (remote && (tooltip = FindWindowExA(nullptr, tooltip, TOOLTIPS_CLASSA, nullptr))) {
    DWORD owner = 0;
    GetWindowThreadProcessId(tooltip, &owner);
    if (owner != shell) continue;
    LRESULT count = SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      Remote local = {};
      local.info.cbSize = sizeof local.info;
      local.info.lpszText = remote->text;
      WriteProcessMemory(process, remote, &local, sizeof local, nullptr);
      if (!SendMessageW(tooltip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&remote->info))) continue;
      ReadProcessMemory(process, remote, &local, sizeof local, nullptr);
      local.text[127] = L'\0';
      std::wstring wide(local.text);
      tips.emplace_back(wide.begin(), wide.end());
    }
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return tips;
}

class RunnerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (runner_.IsRunning() && window_) {
      PostMessageA(window_, WM_COMMAND, kClose, 0);
      runner_.WaitForExit();
    }
  }

  // A command line that starts the probe with a tag to tell launches apart.
  std::string Probe(const std::string& tag) const { return "\"" + dir_.Path("probe.exe") + "\" " + tag; }

  void WriteSet(const std::vector<CommandRecord>& records, const std::string& name = kSetFile) const {
    e2e::WriteSet(dir_.Path(name), records);
  }

  // Starts the runner from its folder and waits until it has started: its
  // window answers sent messages even while it is being created, but a posted
  // click on the icon opens a menu only from the message loop.
  void StartRunner(const std::string& arguments = "") {
    std::string commandLine = "\"" + dir_.Path("Tasklark.exe") + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    runner_ = Process::Start(commandLine, dir_.Dir());
    ASSERT_TRUE(runner_.IsValid());
    window_ = WaitForWindow(runner_.Id(), RUNNER_CLASS_NAME, "Tasklark");
    ASSERT_NE(window_, nullptr) << "no runner window";
    PostMessageA(window_, kTrayNotify, kTrayIconId, WM_RBUTTONDOWN);
    ASSERT_NE(WaitForPopupMenu(runner_.Id()), nullptr);
    ChooseFromMenu({VK_ESCAPE});
  }

  // A set name no earlier test used: the shell keeps the tips of icons gone.
  static std::string UniqueName(const std::string& base) {
    static int counter = 0;
    return base + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + ".dat";
  }
  // True as well where the shell's tips cannot be read (not Wine's shell).
  static bool HasTip(const std::string& tip) {
    return WaitUntil([&] {
      std::vector<std::string> tips = TrayTips();
      return tips.empty() || std::find(tips.begin(), tips.end(), tip) != tips.end();
    });
  }

  // Handled before the call returns; a command's program has been started.
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam = 0) const {
    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutA(window_, message, wParam, lParam, SMTO_ABORTIFHUNG,
                                    kDefaultTimeoutMs, &result));
    return static_cast<LRESULT>(result);
  }
  void Command(WPARAM id) const { Send(WM_COMMAND, id); }
  void Reload() const { Send(WM_RELOADSET, 0); }

  // Every launch so far, once every started probe has ended.
  std::vector<ProbeReport> SettledLaunches() const {
    EXPECT_TRUE(WaitUntil([] { return NoProcessNamed("probe.exe"); }));
    return ProbeReports(dir_);
  }
  std::vector<ProbeReport> WaitForLaunches(std::size_t count) const {
    EXPECT_TRUE(WaitForProbeReports(dir_, count)) << "expected " << count << " launches";
    return SettledLaunches();
  }
  // The probe's tags (its arguments) of every launch so far.
  std::vector<std::string> LaunchedTags(std::size_t expected) const {
    std::vector<std::string> tags;
    for (const ProbeReport& report : WaitForLaunches(expected)) {
      std::size_t end = report.commandLine.find(".exe\" ");
      tags.push_back(end == std::string::npos ? report.commandLine : report.commandLine.substr(end + 6));
    }
    return tags;
  }

  // Pops up a tray menu the way a click on the icon does and reads it.
  std::vector<MenuEntry> OpenMenu(UINT button) {
    PostMessageA(window_, kTrayNotify, kTrayIconId, button);
    std::vector<MenuEntry> entries;
    EXPECT_NE(WaitForPopupMenu(runner_.Id()), nullptr) << "no menu";
    EXPECT_TRUE(ReadOpenMenu(runner_, dir_, entries));
    return entries;
  }
  std::vector<MenuEntry> OpenCommandMenu() { return OpenMenu(WM_LBUTTONDOWN); }
  std::vector<MenuEntry> OpenControlMenu() { return OpenMenu(WM_RBUTTONDOWN); }
  // Keys go to the open menu: the runner is in the foreground while it shows.
  void ChooseFromMenu(std::initializer_list<WORD> keys) {
    for (WORD key : keys) PressKeys({key});
    EXPECT_TRUE(WaitForNoPopupMenu(runner_.Id()));
  }

  // A dialog or message box of the runner's, by its title.
  HWND WaitForDialog(const char* title) const { return WaitForWindow(runner_.Id(), "#32770", title); }

  // The runner's icon is in the tray when the shell accepts a change to it.
  bool TrayIconExists() const {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window_;
    data.uID = kTrayIconId;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
  }

  // Ends the runner through its control command; false when it did not end.
  bool CloseRunner(DWORD* exitCode) const {
    PostMessageA(window_, WM_COMMAND, kClose, 0);
    return runner_.WaitForExit(kDefaultTimeoutMs, exitCode);
  }

  ProgramDir dir_;
  Process runner_;
  HWND window_ = nullptr;
};

}  // namespace e2e
