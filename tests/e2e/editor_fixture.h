// Driving the real larkedit.exe: started in a fresh program folder on a set
// written for the test, its dialog and controls found, real input sent to
// them, and a stand-in runner window that counts the reload requests.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../../editor/control_ids.h"
#include "command_record.h"
#include "harness.h"
#include "runner_link.h"

namespace editor_e2e {

using e2e::Bytes;

constexpr char SET_NAME[] = "Tasklark.dat";
constexpr char MESSAGE_BOX_CLASS[] = "#32770";

// The record the editor's Add makes, after the fields were stored into it
// with these texts: the tails of "[Name]" and "[Command]" stay behind the
// stored texts, as in every slot the editor writes over.
inline CommandRecord AddedRecord(std::string_view name = "[Name]", std::string_view command = "[Command]",
                                 std::int32_t showCmd = SHOWCMD_DEFAULT, char drive = 'C',
                                 std::string_view hotkey = std::string_view("000\0", 4)) {
  CommandRecord record;
  std::memset(&record, 0, sizeof record);
  SetDefaultRecord(record);
  StoreFieldText(record.Name, name);
  StoreFieldText(record.Command, command);
  record.ShowCmd = showCmd;
  record.Drive = drive;
  std::memcpy(&record.Hotkey, hotkey.data(), 4);
  return record;
}

inline std::vector<CommandRecord> NumberedRecords(int count) {
  std::vector<CommandRecord> records;
  for (int i = 0; i < count; ++i)
    records.push_back(e2e::Record("Command " + std::to_string(i), "probe.exe " + std::to_string(i)));
  return records;
}

// A window of the runner's class: the editor finds it and posts it
// WM_RELOADSET, which stays in this thread's queue until counted.
class FakeRunner {
 public:
  FakeRunner() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = RUNNER_CLASS_NAME;
    RegisterClassA(&windowClass);  // fails harmlessly when already there
    window_ = CreateWindowExA(0, RUNNER_CLASS_NAME, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  }
  ~FakeRunner() { DestroyWindow(window_); }
  FakeRunner(const FakeRunner&) = delete;
  FakeRunner& operator=(const FakeRunner&) = delete;

  bool IsValid() const { return window_ != nullptr; }
  // Reload requests received so far, with both parameters 0.
  int Reloads() {
    MSG msg;
    while (PeekMessageA(&msg, window_, WM_RELOADSET, WM_RELOADSET, PM_REMOVE)) {
      if (msg.wParam == 0 && msg.lParam == 0) ++reloads_;
      else ++otherMessages_;
    }
    return reloads_;
  }
  int OtherMessages() const { return otherMessages_; }

 private:
  HWND window_ = nullptr;
  int reloads_ = 0;
  int otherMessages_ = 0;
};

// One run of the editor in its own program folder.
class Editor {
 public:
  Editor() : dir_({"larkedit.exe", "probe.exe"}) {}

  const e2e::ProgramDir& Dir() const { return dir_; }
  std::string SetPath() const { return dir_.Path(SET_NAME); }
  void WriteSet(const std::vector<CommandRecord>& records) const { e2e::WriteSet(SetPath(), records); }
  Bytes SetBytes() const { return e2e::ReadBytes(SetPath()); }

  // Starts larkedit.exe with these arguments and waits for its dialog.
  ::testing::AssertionResult Start(const std::string& arguments = SET_NAME) {
    process_ = e2e::Process::Start("\"" + dir_.Path("larkedit.exe") + "\" " + arguments, dir_.Dir());
    if (!process_.IsValid()) return ::testing::AssertionFailure() << "larkedit.exe did not start";
    dialog_ = e2e::WaitForWindow(process_.Id(), SETUP_CLASS_NAME, APP_TITLE);
    if (!dialog_) return ::testing::AssertionFailure() << "no dialog \"" << APP_TITLE << "\"";
    if (!e2e::WaitUntil([&] { return IsWindowVisible(dialog_) && Focus() != nullptr; }))
      return ::testing::AssertionFailure() << "the dialog did not show";
    return ::testing::AssertionSuccess();
  }

  const e2e::Process& Process() const { return process_; }
  HWND Dialog() const { return dialog_; }
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }

  std::string Text(int id) const { return e2e::WindowText(Control(id)); }
  std::vector<std::string> Names() const { return e2e::ListBoxItems(Control(ID_NAME_LIST)); }
  int Selected() const { return e2e::ListBoxSelection(Control(ID_NAME_LIST)); }
  int WindowSize() const { return e2e::ComboBoxSelection(Control(ID_WINDOW_SIZE)); }
  bool IsEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

  // The control that has the keyboard focus in the editor.
  HWND Focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info)) return nullptr;
    return info.hwndFocus;
  }
  bool WaitForFocus(int id) const { return e2e::WaitUntil([&] { return Focus() == Control(id); }); }

  bool WaitForText(int id, const std::string& text) const {
    return e2e::WaitUntil([&] { return Text(id) == text; });
  }
  bool WaitUntilCount(std::size_t count) const {
    return e2e::WaitUntil([&] { return Names().size() == count; });
  }
  bool WaitForNames(const std::vector<std::string>& names, int selected) const {
    return e2e::WaitUntil([&] { return Names() == names && Selected() == selected; });
  }

  bool Activate() const { return e2e::MakeForeground(dialog_); }
  // Clicks the middle of a control, or beside it when the last click was
  // there: two quick clicks on one spot would make a double click, which
  // does not move the focus into an edit.
  bool Click(int id) const {
    HWND control = Control(id);
    POINT point = e2e::CenterOf(control);
    if (point.x == lastClick_.x && point.y == lastClick_.y) point.x += GetSystemMetrics(SM_CXDOUBLECLK);
    return Activate() && ClickAt(control, point);
  }
  // Clicks entry `index` of the name list.
  bool ClickEntry(int index) const {
    HWND list = Control(ID_NAME_LIST);
    const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    RECT client = {};
    GetClientRect(list, &client);
    POINT point = {client.right / 2, (index - top) * height + height / 2};
    ClientToScreen(list, &point);
    if (point.y == lastClick_.y) point.x += GetSystemMetrics(SM_CXDOUBLECLK);
    return Activate() && ClickAt(list, point) && e2e::WaitUntil([&] { return Selected() == index; });
  }
  // Replaces the text of an edit by typing.
  bool TypeInto(int id, const std::string& text) const {
    if (!Click(id) || !WaitForFocus(id)) return false;
    e2e::PressKeys({VK_HOME});
    e2e::PressKeys({VK_SHIFT, VK_END});
    e2e::TypeText(text);
    return WaitForText(id, text);
  }

  // A message box of the editor's ("Configure Tasklark"), or null.
  HWND FindMessageBox(DWORD timeoutMs = e2e::kDefaultTimeoutMs) const {
    HWND box = nullptr;
    e2e::WaitUntil([&] { return (box = e2e::FindTopLevel(MESSAGE_BOX_CLASS, APP_TITLE, process_.Id())) != nullptr; },
                   timeoutMs);
    return box;
  }
  // The message of a message box: its static texts, the icon's empty one left out.
  static std::string MessageText(HWND box) {
    std::string text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM found) -> BOOL {
          if (e2e::ClassName(child) == "Static") *reinterpret_cast<std::string*>(found) += e2e::WindowText(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
  }
  // Presses a message box's OK with Enter; true when it is gone.
  bool CloseMessageBox(HWND box) const {
    if (!e2e::MakeForeground(box)) return false;
    e2e::PressKeys({VK_RETURN});
    return e2e::WaitUntil([&] { return !IsWindow(box); });
  }

  bool WaitForExit(DWORD* exitCode = nullptr) const { return process_.WaitForExit(e2e::kDefaultTimeoutMs, exitCode); }

 private:
  // Clicks a point of the window once nothing (a hint, say) covers it.
  bool ClickAt(HWND window, POINT point) const {
    e2e::MovePointer(point);
    if (!e2e::WaitUntil([&] { return WindowFromPoint(point) == window; }, 3000)) return false;
    e2e::ClickAt(point);
    lastClick_ = point;
    return true;
  }

  e2e::ProgramDir dir_;
  mutable POINT lastClick_ = {-1, -1};
  e2e::Process process_;
  HWND dialog_ = nullptr;
};

// Files in the folder besides the programs: a failed save leaves nothing behind.
inline std::vector<std::string> DataFiles(const e2e::ProgramDir& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(dir.Path("*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == ".." || name == "larkedit.exe" || name == "probe.exe") continue;
    names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

}  // namespace editor_e2e
