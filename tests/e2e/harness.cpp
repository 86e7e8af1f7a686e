#include "harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace e2e {

namespace {

std::string Utf8(std::wstring_view wide) { return std::filesystem::path(wide).u8string(); }

// Texts of another process: a length, then the text. An entry that went meanwhile
// reads as empty; one that grew fits, as LB_GETTEXT gets room for any record's text.
std::string TextOf(HWND window, UINT getLength, UINT getText, WPARAM item) {
  DWORD_PTR length = 0, got = 0;
  SendMessageTimeoutW(window, getLength, item, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &length);
  const DWORD_PTR least = getText == WM_GETTEXT ? 0 : COMMAND_CAPACITY;
  std::wstring text(std::max(static_cast<LRESULT>(length) < 0 ? 0 : length, least) + 1, L'\0');
  const WPARAM first = getText == WM_GETTEXT ? text.size() : item;
  SendMessageTimeoutW(window, getText, first, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      kTimeoutMs, &got);
  return Utf8(
      std::wstring_view(text.data(), static_cast<LRESULT>(got) < 0 ? 0 : std::min(got, text.size() - 1)));
}

INPUT Input(DWORD type, WORD key, DWORD flags, POINT at = {}) {
  INPUT input = {};
  input.type = type;
  if (type == INPUT_KEYBOARD)
    input.ki = {key, static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)), flags, 0, 0};
  // Every mouse event with its own absolute place.
  else
    input.mi = {MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1),
                MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1),
                0,
                MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags,
                0,
                0};
  return input;
}

}  // namespace

std::wstring Wide(std::string_view utf8) { return std::filesystem::u8path(utf8).wstring(); }

std::string BuildDir() {
  wchar_t path[MAX_PATH] = {};
  const std::string full = Utf8(std::wstring_view(path, GetModuleFileNameW(nullptr, path, MAX_PATH)));
  return full.substr(0, full.rfind('\\') + 1);
}

ProgramDir::ProgramDir(std::initializer_list<const char*> programs, const std::string& name)
    : ScratchDir(name) {
  for (const char* program : programs) CopyAs(program, program);
}

void ProgramDir::CopyAs(const char* built, const std::string& name) const {
  CopyFileW(Wide(BuildDir() + built).c_str(), Wide(Path(name)).c_str(), FALSE);
}

Process Process::Start(const std::string& commandLine, const std::string& dir) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::wstring line = Wide(commandLine);
  Process process;
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, Wide(dir).c_str(), &startup,
                     &info)) {
    CloseHandle(info.hThread);
    process.handle_ = info.hProcess;
    process.id_ = info.dwProcessId;
  }
  return process;
}

Process& Process::operator=(Process&& other) noexcept {
  std::swap(handle_, other.handle_);
  std::swap(id_, other.id_);
  return *this;
}

Process::~Process() {
  if (!handle_) return;
  TerminateProcess(handle_, 1);  // nothing when it has ended
  WaitForSingleObject(handle_, kTimeoutMs);
  CloseHandle(handle_);
}

bool Process::WaitForExit(DWORD* exitCode) const {
  return WaitForSingleObject(handle_, kTimeoutMs) == WAIT_OBJECT_0 &&
         (!exitCode || GetExitCodeProcess(handle_, exitCode));
}

HWND FindTopLevel(const char* className, const char* title, DWORD processId) {
  HWND window = nullptr;
  DWORD owner = 0;
  while ((window = FindWindowExA(nullptr, window, className, title)) != nullptr)
    if (GetWindowThreadProcessId(window, &owner) && (processId == 0 || owner == processId)) return window;
  return nullptr;
}

bool IsResponsive(HWND window, DWORD timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

HWND WaitForWindow(DWORD processId, const char* className, const char* title) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindTopLevel(className, title, processId)) != nullptr; },
            kLaunchTimeoutMs);
  return window && IsResponsive(window) ? window : nullptr;
}

std::string WindowText(HWND window) { return TextOf(window, WM_GETTEXTLENGTH, WM_GETTEXT, 0); }

std::vector<std::string> ListBoxItems(HWND list) {
  std::vector<std::string> items;
  DWORD_PTR count = 0;
  SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &count);
  for (WPARAM i = 0; i < count; ++i) items.push_back(TextOf(list, LB_GETTEXTLEN, LB_GETTEXT, i));
  return items;
}

HWND WaitForPopupMenu(DWORD processId) {
  HWND menu = nullptr;
  WaitUntil([&] {
    return (menu = FindTopLevel("#32768", nullptr, processId)) != nullptr && IsWindowVisible(menu);
  });
  return menu;
}

std::string WaitForBalloon() {
  HWND tip = nullptr;
  WaitUntil([&] {
    while ((tip = FindWindowExA(nullptr, tip, "tooltips_class32", nullptr)) != nullptr)
      if (IsWindowVisible(tip) && (GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON)) return true;
    return false;
  });
  return tip ? WindowText(tip) : "";
}

bool MakeForeground(HWND window) {
  return WaitUntil([&] {
    if (GetForegroundWindow() == window) return true;
    SetForegroundWindow(window);
    return false;
  });
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(Input(INPUT_KEYBOARD, key, 0));
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
    inputs.push_back(Input(INPUT_KEYBOARD, *key, KEYEVENTF_KEYUP));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(POINT screen) {
  INPUT click[] = {Input(INPUT_MOUSE, 0, 0, screen), Input(INPUT_MOUSE, 0, MOUSEEVENTF_LEFTDOWN, screen),
                   Input(INPUT_MOUSE, 0, MOUSEEVENTF_LEFTUP, screen)};
  SendInput(3, click, sizeof(INPUT));
}

bool ClickWindow(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  const POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  INPUT move = Input(INPUT_MOUSE, 0, 0, at);
  SendInput(1, &move, sizeof move);
  if (!WaitUntil([&] { return WindowFromPoint(at) == window; })) return false;
  ClickAt(at);
  return true;
}

bool HotkeyIsFree(UINT modifiers, UINT key) {
  return RegisterHotKey(nullptr, 0xBFF0, modifiers, key) && UnregisterHotKey(nullptr, 0xBFF0);
}

void ChooseFile(HWND dialog, const std::string& path) {
  SendMessageW(GetDlgItem(dialog, 1148), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(Wide(path).c_str()));  // the name box
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the file dialog took " << path;
}

namespace {

constexpr char kClasses[] = "Software\\Classes\\";

void SetClassValue(const std::string& key, const char* name, const std::string& value) {
  const std::wstring text = Wide(value);
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, Wide(kClasses + key).c_str(), name ? Wide(name).c_str() : nullptr,
                  REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

// A file type names the class that holds its command; a scheme holds its own.
ShellType::ShellType(const std::string& name, const std::string& command, bool waitsForDde)
    : name_(name), key_(name[0] == '.' ? "Tasklark" + name : name) {
  if (name_ != key_)
    SetClassValue(name_, nullptr, key_);
  else
    SetClassValue(key_, "URL Protocol", "");
  SetClassValue(key_ + "\\shell\\open\\command", nullptr, command);
  if (waitsForDde) SetClassValue(key_ + "\\shell\\open\\ddeexec", nullptr, "[open(\"%1\")]");
}

ShellType::~ShellType() {
  for (const std::string& key : {name_, key_})
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, Wide(kClasses + key).c_str());
}

namespace {

// The probe writes probe-<process id>.txt beside itself, a line each.
std::vector<Launch> Launches(const ProgramDir& dir) {
  std::vector<Launch> launches;
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
  std::sort(launches.begin(), launches.end(),
            [](const Launch& a, const Launch& b) { return a.started < b.started; });
  return launches;
}

}  // namespace

std::vector<Launch> WaitForLaunches(const ProgramDir& dir, std::size_t count) {
  WaitUntil([&] { return Launches(dir).size() >= count; }, kLaunchTimeoutMs);
  return Launches(dir);
}

std::vector<std::string> LaunchedArguments(const ProgramDir& dir, std::size_t count) {
  std::vector<std::string> arguments;
  for (const Launch& launch : WaitForLaunches(dir, count))
    arguments.push_back(launch.commandLine.substr(launch.commandLine.find(".exe\" ") + 6));
  arguments.resize(std::max(arguments.size(), count));  // a start that never came reads as empty
  return arguments;
}

}  // namespace e2e
