#include "harness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <future>
#include <memory>
#include <sstream>
#include <thread>

namespace e2e {

namespace {

constexpr DWORD kMessageTimeoutMs = 2000;
constexpr DWORD kInjectTimeoutMs = 15000;
constexpr DWORD kRemoveRetryMs = 5000;
constexpr UINT kProbeHotkeyId = 0xBFF0;
constexpr int kMaxProbeReports = 1000;
const char kMenuDumpDll[] = "menudump.dll";
const char kMenuDumpFile[] = "menudump.txt";
const char kGuiCountDll[] = "guicount.dll";
const char kGuiCountFile[] = "guicount.txt";

std::string DirOf(const std::string& path) {
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ToAnsi(const std::wstring& wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr,
                      nullptr);
  return text;
}

LRESULT SendWide(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                           &result))
    return -1;
  return static_cast<LRESULT>(result);
}

// The item texts of a list or combo box, read with the given messages.
std::vector<std::string> ItemTexts(HWND control, UINT getCount, UINT getLength, UINT getText) {
  std::vector<std::string> items;
  LRESULT count = SendWide(control, getCount, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendWide(control, getLength, i, 0);
    std::wstring text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
    LRESULT got = SendWide(control, getText, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    items.push_back(ToAnsi(text));
  }
  return items;
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = dir + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path + "\\");
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        // A program that is still ending may hold its file for a moment.
        WaitUntil([&] { return DeleteFileA(path.c_str()) || !FileExists(path); }, kRemoveRetryMs);
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(dir.c_str());
}

bool IsExtendedKey(WORD key) {
  switch (key) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_RCONTROL: case VK_RMENU:
    case VK_DIVIDE: case VK_NUMLOCK: case VK_LWIN: case VK_RWIN: case VK_APPS:
      return true;
    default:
      return false;
  }
}

INPUT KeyInput(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(key) ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

INPUT MouseInput(POINT screen, DWORD flags) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, width - 1);
  input.mi.dy = MulDiv(screen.y, 65535, height - 1);
  input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  return input;
}

std::string ProbeReportPath(const ProgramDir& dir, int n) {
  return dir.Path("probe-" + std::to_string(n) + ".txt");
}

bool ParseHex(const std::string& hex, std::string& out) {
  out.clear();
  if (hex.size() % 2) return false;
  for (std::size_t i = 0; i < hex.size(); i += 2)
    out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return true;
}

}  // namespace

std::string BuildDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return DirOf(path);
}

// ---------------------------------------------------------------------------

ProgramDir::ProgramDir(std::initializer_list<const char*> programs) {
  static int counter = 0;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  dir_ = std::string(temp) + "tasklark-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(++counter) + "\\";
  RemoveTree(dir_);
  CreateDirectoryA(dir_.c_str(), nullptr);
  for (const char* program : programs) CopyAs(program, program);
}

ProgramDir::~ProgramDir() { RemoveTree(dir_); }

void ProgramDir::CopyAs(const char* builtName, const char* name) const {
  CopyFileA((BuildDir() + builtName).c_str(), Path(name).c_str(), FALSE);
}

bool ProgramDir::Exists(std::string_view name) const { return FileExists(Path(name)); }

// ---------------------------------------------------------------------------

CommandRecord Record(std::string_view name, std::string_view command, std::int32_t showCmd,
                     char drive, std::string_view hotkey) {
  CommandRecord record;
  std::memset(&record, 0, sizeof record);
  StoreFieldText(record.Name, name);
  StoreFieldText(record.Command, command);
  record.ShowCmd = showCmd;
  record.Drive = drive;
  char code[4] = {};
  std::memcpy(code, hotkey.data(), std::min<std::size_t>(hotkey.size(), 4));
  record.Hotkey = {code[0], code[1], code[2], code[3]};
  return record;
}

Bytes RecordBytes(const CommandRecord& record) {
  const auto* p = reinterpret_cast<const unsigned char*>(&record);
  return Bytes(p, p + sizeof record);
}

Bytes SetBytes(const std::vector<CommandRecord>& records) {
  Bytes bytes;
  for (const CommandRecord& r : records) {
    Bytes one = RecordBytes(r);
    bytes.insert(bytes.end(), one.begin(), one.end());
  }
  return bytes;
}

void WriteSet(const std::string& path, const std::vector<CommandRecord>& records) {
  WriteBytes(path, SetBytes(records));
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// ---------------------------------------------------------------------------

Process Process::Start(const std::string& commandLine, const std::string& workingDir) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::string line = commandLine;
  Process process;
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info)) {
    CloseHandle(info.hThread);
    process.handle_ = info.hProcess;
    process.id_ = info.dwProcessId;
  }
  return process;
}

Process::Process(Process&& other) noexcept : handle_(other.handle_), id_(other.id_) {
  other.handle_ = nullptr;
  other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Terminate();
    handle_ = other.handle_;
    id_ = other.id_;
    other.handle_ = nullptr;
    other.id_ = 0;
  }
  return *this;
}

Process::~Process() { Terminate(); }

bool Process::IsRunning() const {
  return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
  if (!handle_ || WaitForSingleObject(handle_, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(handle_, exitCode);
  return true;
}

void Process::Terminate() {
  if (!handle_) return;
  if (IsRunning()) {
    TerminateProcess(handle_, 1);
    WaitForSingleObject(handle_, kDefaultTimeoutMs);
  }
  CloseHandle(handle_);
  handle_ = nullptr;
}

// ---------------------------------------------------------------------------

HWND FindTopLevel(const char* className, const char* title, DWORD processId) {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, className, title)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (processId == 0 || owner == processId) return window;
  }
  return nullptr;
}

bool IsResponsive(HWND window, DWORD timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

HWND WaitForWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindTopLevel(className, title, processId)) != nullptr; }, timeoutMs);
  return window && IsResponsive(window) ? window : nullptr;
}

std::string WindowText(HWND window) {
  LRESULT length = SendWide(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT got = SendWide(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return ToAnsi(text);
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::vector<std::string> ListBoxItems(HWND listBox) {
  return ItemTexts(listBox, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

int ListBoxSelection(HWND listBox) { return static_cast<int>(SendWide(listBox, LB_GETCURSEL, 0, 0)); }

std::vector<std::string> ComboBoxItems(HWND comboBox) {
  return ItemTexts(comboBox, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int ComboBoxSelection(HWND comboBox) { return static_cast<int>(SendWide(comboBox, CB_GETCURSEL, 0, 0)); }

// ---------------------------------------------------------------------------

bool MakeForeground(HWND window, DWORD timeoutMs) {
  return WaitUntil(
      [&] {
        if (GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        return GetForegroundWindow() == window;
      },
      timeoutMs);
}

void PressKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(KeyInput(key, false));
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) inputs.push_back(KeyInput(*it, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressKeys(std::initializer_list<WORD> keys) { PressKeys(std::vector<WORD>(keys)); }

void TypeText(std::string_view text) {
  for (char c : text) {
    SHORT scan = VkKeyScanA(c);
    if (scan == -1) continue;
    std::vector<WORD> keys;
    if (scan & 0x100) keys.push_back(VK_SHIFT);
    keys.push_back(static_cast<WORD>(scan & 0xFF));
    PressKeys(keys);
  }
}

void MovePointer(POINT screen) {
  INPUT input = MouseInput(screen, 0);
  SendInput(1, &input, sizeof input);
}

void ClickAt(POINT screen, bool right) {
  INPUT inputs[3] = {
      MouseInput(screen, 0),
      MouseInput(screen, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
      MouseInput(screen, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP),
  };
  SendInput(3, inputs, sizeof(INPUT));
}

POINT CenterOf(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool ClickWindow(HWND window) {
  POINT center = CenterOf(window);
  MovePointer(center);
  auto reachable = [&] {
    HWND hit = WindowFromPoint(center);
    return hit == window || IsChild(window, hit);
  };
  if (!WaitUntil(reachable, 3000)) return false;
  ClickAt(center);
  return true;
}

// ---------------------------------------------------------------------------

std::vector<ProbeReport> ProbeReports(const ProgramDir& dir) {
  std::vector<ProbeReport> reports;
  for (int n = 1; n <= kMaxProbeReports; ++n) {
    std::string path = ProbeReportPath(dir, n);
    if (!FileExists(path)) {
      if (!FileExists(dir.Path("probe-" + std::to_string(n) + ".claim"))) break;
      continue;  // claimed by a probe that is still writing
    }
    std::ifstream in(path, std::ios::binary);
    ProbeReport report;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::size_t colon = line.find(':');
      if (colon == std::string::npos) continue;
      std::string key = line.substr(0, colon), value = line.substr(colon + 1);
      if (key == "cmdline") report.commandLine = value;
      else if (key == "cwd") report.currentDir = value;
      else if (key == "show") report.showWindow = std::stoi(value);
      else if (key == "qpc") report.startCounter = std::stoll(value);
    }
    reports.push_back(report);
  }
  return reports;
}

bool WaitForProbeReports(const ProgramDir& dir, std::size_t count, DWORD timeoutMs) {
  return WaitUntil([&] { return ProbeReports(dir).size() >= count; }, timeoutMs);
}

void ClearProbeReports(const ProgramDir& dir) {
  for (int n = 1; n <= kMaxProbeReports; ++n) {
    std::string claim = dir.Path("probe-" + std::to_string(n) + ".claim");
    if (!FileExists(claim)) break;
    DeleteFileA(ProbeReportPath(dir, n).c_str());
    DeleteFileA(claim.c_str());
  }
}

// ---------------------------------------------------------------------------

HWND OpenPopupMenu(DWORD processId) {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, "#32768", nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs) {
  HWND menu = nullptr;
  WaitUntil([&] { return (menu = OpenPopupMenu(processId)) != nullptr; }, timeoutMs);
  return menu;
}

bool WaitForNoPopupMenu(DWORD processId, DWORD timeoutMs) {
  return WaitUntil([&] { return OpenPopupMenu(processId) == nullptr; }, timeoutMs);
}

bool ReadOpenMenu(const Process& process, const ProgramDir& dir, std::vector<MenuEntry>& entries) {
  entries.clear();
  const std::string dll = dir.Path(kMenuDumpDll);
  const std::string dump = dir.Path(kMenuDumpFile);
  DeleteFileA(dump.c_str());
  if (!FileExists(dll)) return false;

  if (!InjectDll(process, dll) || !WaitUntil([&] { return FileExists(dump); })) return false;

  std::ifstream in(dump, std::ios::binary);
  std::string line;
  bool complete = false;
  while (std::getline(in, line)) {
    if (line == "end") {
      complete = true;
      break;
    }
    std::istringstream fields(line);
    std::string id, kind, hex;
    std::getline(fields, id, '\t');
    std::getline(fields, kind, '\t');
    std::getline(fields, hex, '\t');
    MenuEntry entry;
    entry.id = static_cast<UINT>(std::stoul(id));
    entry.separator = kind == "S";
    if (!ParseHex(hex, entry.text)) return false;
    entries.push_back(entry);
  }
  in.close();
  DeleteFileA(dump.c_str());
  return complete;
}

// ---------------------------------------------------------------------------

namespace {

bool LoadInto(DWORD processId, const std::string& dllPath) {
  HANDLE target = OpenProcess(PROCESS_CREATE_THREAD | PROCESS_VM_OPERATION | PROCESS_VM_WRITE |
                                  PROCESS_VM_READ | PROCESS_QUERY_INFORMATION,
                              FALSE, processId);
  if (!target) return false;
  void* remote = VirtualAllocEx(target, nullptr, dllPath.size() + 1, MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE);
  bool ok = remote && WriteProcessMemory(target, remote, dllPath.c_str(), dllPath.size() + 1, nullptr);
  if (ok) {
    // kernel32 lies at the same address in every process of a session.
    auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    HANDLE thread = CreateRemoteThread(target, nullptr, 0, loadLibrary, remote, 0, nullptr);
    ok = thread != nullptr && WaitForSingleObject(thread, kDefaultTimeoutMs) == WAIT_OBJECT_0;
    if (thread) CloseHandle(thread);
  }
  if (remote) VirtualFreeEx(target, remote, 0, MEM_RELEASE);
  CloseHandle(target);
  return ok;
}

}  // namespace

bool InjectDll(const Process& process, const std::string& dllPath) {
  // In a thread of its own, so that a call that never returns costs the test
  // its time limit here, not the whole run.
  auto result = std::make_shared<std::promise<bool>>();
  std::future<bool> done = result->get_future();
  std::thread([result, id = process.Id(), dllPath] { result->set_value(LoadInto(id, dllPath)); }).detach();
  return done.wait_for(std::chrono::milliseconds(kInjectTimeoutMs)) == std::future_status::ready && done.get();
}

bool CountGuiObjects(const Process& process, const ProgramDir& dir, GuiCounts& counts) {
  counts = GuiCounts{};
  const std::string dll = dir.Path(kGuiCountDll);
  const std::string result = dir.Path(kGuiCountFile);
  DeleteFileA(result.c_str());
  if (!FileExists(dll) || !InjectDll(process, dll) || !WaitUntil([&] { return FileExists(result); }))
    return false;
  std::ifstream in(result, std::ios::binary);
  std::string key;
  long value = 0;
  bool complete = false;
  while (in >> key) {
    if (key == "end") {
      complete = true;
      break;
    }
    if (!(in >> value)) break;
    if (key == "gdi") counts.gdi = value;
    else if (key == "user") counts.user = value;
    else if (key == "menus") counts.menus = value;
    else if (key == "windows") counts.windows = value;
    else if (key == "gdiobjects") counts.gdiObjects = value;
  }
  in.close();
  DeleteFileA(result.c_str());
  return complete;
}

// ---------------------------------------------------------------------------

bool HotkeyIsFree(UINT modifiers, UINT virtualKey) {
  if (!RegisterHotKey(nullptr, kProbeHotkeyId, modifiers, virtualKey)) return false;
  UnregisterHotKey(nullptr, kProbeHotkeyId);
  return true;
}

}  // namespace e2e
