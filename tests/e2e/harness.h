// What the end-to-end tests need to drive the real programs: a fresh program
// folder with copies of the built programs, set files, processes, windows,
// real input, the probe's reports and the open popup menu of another process.
//
// Waiting is always polling with a timeout, never a fixed sleep.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "command_record.h"

namespace e2e {

constexpr DWORD kDefaultTimeoutMs = 10000;
// Starting a new process under Wine on a busy machine can take seconds.
constexpr DWORD kLaunchTimeoutMs = 30000;
constexpr DWORD kPollIntervalMs = 10;

using Bytes = std::vector<unsigned char>;

// The folder of the running test program, where the build puts every program.
std::string BuildDir();

// Polls `condition` until it holds or the time is up; true when it held.
template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kDefaultTimeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return condition();
    Sleep(kPollIntervalMs);
  }
}

// ---------------------------------------------------------------------------
// Program folder

// A new, empty temporary folder holding copies of built programs; removed,
// with everything in it, at the end.
class ProgramDir {
 public:
  // Copies these programs from BuildDir() under their own names.
  explicit ProgramDir(std::initializer_list<const char*> programs = {
                          "Tasklark.exe", "larkedit.exe", "probe.exe", "menudump.dll", "guicount.dll"});
  ~ProgramDir();
  ProgramDir(const ProgramDir&) = delete;
  ProgramDir& operator=(const ProgramDir&) = delete;

  // The folder with its trailing backslash.
  const std::string& Dir() const { return dir_; }
  std::string Path(std::string_view name) const { return dir_ + std::string(name); }
  // Copies a built program into the folder under another name (the probe as
  // larkedit.exe, say).
  void CopyAs(const char* builtName, const char* name) const;
  bool Exists(std::string_view name) const;

 private:
  std::string dir_;
};

// ---------------------------------------------------------------------------
// Set files

// A record as the editor stores it: name and command each with a NUL appended.
// `hotkey` is the four stored characters: Ctrl, Alt, Shift flags and the key.
CommandRecord Record(std::string_view name, std::string_view command,
                     std::int32_t showCmd = SHOWCMD_DEFAULT, char drive = 'C',
                     std::string_view hotkey = std::string_view("000\0", 4));
Bytes RecordBytes(const CommandRecord& record);
Bytes SetBytes(const std::vector<CommandRecord>& records);
void WriteSet(const std::string& path, const std::vector<CommandRecord>& records);
void WriteBytes(const std::string& path, const Bytes& bytes);
Bytes ReadBytes(const std::string& path);
bool FileExists(const std::string& path);

// ---------------------------------------------------------------------------
// Processes

class Process {
 public:
  Process() = default;
  // Starts a command line in a working folder; IsValid() tells whether it started.
  static Process Start(const std::string& commandLine, const std::string& workingDir);
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  ~Process();  // ends the process if it still runs

  bool IsValid() const { return handle_ != nullptr; }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return handle_; }
  bool IsRunning() const;
  // Waits for the end; true when it ended in time, with its exit code.
  bool WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs, DWORD* exitCode = nullptr) const;
  void Terminate();

 private:
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

// ---------------------------------------------------------------------------
// Windows

// A top-level window of the process with this class (and title, unless null),
// once it exists and answers messages; null when none appears in time.
HWND WaitForWindow(DWORD processId, const char* className, const char* title = nullptr,
                   DWORD timeoutMs = kDefaultTimeoutMs);
// Any top-level window of another process with this class and title.
HWND FindTopLevel(const char* className, const char* title, DWORD processId = 0);
// True when the window handles a message within the time.
bool IsResponsive(HWND window, DWORD timeoutMs = 5000);
// Texts read with the wide messages: ANSI texts do not cross processes whole.
std::string WindowText(HWND window);
std::string ClassName(HWND window);
std::vector<std::string> ListBoxItems(HWND listBox);
int ListBoxSelection(HWND listBox);
std::vector<std::string> ComboBoxItems(HWND comboBox);
int ComboBoxSelection(HWND comboBox);

// ---------------------------------------------------------------------------
// Real input

// Makes the window the foreground window and waits until it is.
bool MakeForeground(HWND window, DWORD timeoutMs = 5000);
// Presses the keys in order and releases them in reverse order.
void PressKeys(std::initializer_list<WORD> keys);
void PressKeys(const std::vector<WORD>& keys);
// Types text made of characters that have a key on the current layout.
void TypeText(std::string_view text);
// Moves the pointer to a screen point (every event with its own absolute position).
void MovePointer(POINT screen);
void ClickAt(POINT screen, bool right = false);
// Clicks the middle of a window after checking nothing (a hint, say) covers it.
bool ClickWindow(HWND window);
POINT CenterOf(HWND window);

// ---------------------------------------------------------------------------
// The probe: a program that, when started, records how it was started.

struct ProbeReport {
  std::string commandLine;
  std::string currentDir;
  int showWindow = -1;  // STARTUPINFO's wShowWindow, -1 when not given
  long long startCounter = 0;  // QueryPerformanceCounter when it started
};
// Reports of every probe start in the folder, in the order of the starts.
std::vector<ProbeReport> ProbeReports(const ProgramDir& dir);
bool WaitForProbeReports(const ProgramDir& dir, std::size_t count, DWORD timeoutMs = kLaunchTimeoutMs);
void ClearProbeReports(const ProgramDir& dir);

// ---------------------------------------------------------------------------
// Popup menus of another process

struct MenuEntry {
  UINT id = 0;
  bool separator = false;
  std::string text;
};
// The visible popup menu window (class "#32768") of the process, or null.
HWND OpenPopupMenu(DWORD processId);
HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs = kDefaultTimeoutMs);
bool WaitForNoPopupMenu(DWORD processId, DWORD timeoutMs = kDefaultTimeoutMs);
// Reads the open popup menu of the process from inside it: the folder's copy
// of menudump.dll is loaded into the process, writes the menu to a file and
// unloads itself. Needs menudump.dll copied into `dir`, the folder of the program.
bool ReadOpenMenu(const Process& process, const ProgramDir& dir, std::vector<MenuEntry>& entries);

// ---------------------------------------------------------------------------
// Code run inside another process

// Loads a DLL into the process (LoadLibraryA in a thread of its own there) and
// waits until that thread has ended; false when that fails or takes too long
// (the calls into another process have no time limit of their own).
bool InjectDll(const Process& process, const std::string& dllPath);

// Live USER and GDI objects of a process, counted from inside it by the
// folder's copy of guicount.dll. GetGuiResources is 0 under Wine; there the
// counted menus, windows and GDI objects tell.
struct GuiCounts {
  long gdi = -1, user = -1;                   // GetGuiResources
  long menus = -1, windows = -1, gdiObjects = -1;  // counted one by one
};
bool CountGuiObjects(const Process& process, const ProgramDir& dir, GuiCounts& counts);

// ---------------------------------------------------------------------------
// Hotkeys

// True when nobody holds this combination (MOD_ values and a virtual key).
bool HotkeyIsFree(UINT modifiers, UINT virtualKey);

}  // namespace e2e
