// Start-up, the hidden window and its window procedure.
#include "runner.h"

#include <windowsx.h>

#include "program.h"
#include "runner_link.h"

Runner TheRunner;

namespace {

constexpr char TASKBAR_CREATED[] = "TaskbarCreated";
constexpr UINT TRAY_ICON_FLAGS = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr DWORD RUNNER_WINDOW_STYLE = WS_MINIMIZE;  // never visible

void FillTrayIconData(HWND window) {
  NOTIFYICONDATAW& icon = TheRunner.TrayIconData;
  icon = NOTIFYICONDATAW{};
  icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
  icon.hWnd = window;
  icon.uID = TRAY_ICON_ID;
  icon.uFlags = TRAY_ICON_FLAGS;
  icon.uCallbackMessage = WM_TRAYNOTIFY;
  lstrcpyW(icon.szTip, APP_TITLE_WIDE);
  LoadTrayIcon(0);
}

BOOL OnCreate(HWND window, LPCREATESTRUCT) {
  TheRunner.Window = window;
  FillTrayIconData(window);
  AddTrayIcon(window);
  // A path that comes back cut names no folder: no set is read from it.
  PathText program;
  if (!program::Path(program)) program.Clear();
  program::Line line;
  program::CommandLine(line);
  TheRunner.Model.Start(line, program);
  LoadCommandSet();
  return TRUE;
}

void OnDestroy(HWND window) {
  RemoveTrayIcon();
  ReleaseHotkeys(window);
  PostQuitMessage(0);
}

// Menu choices and hotkeys both end here.
void OnCommand(HWND window, WPARAM id) {
  int slot = 0;
  switch (TheRunner.Model.CommandFor(id, slot)) {
    case RunnerCommand::Run: RunCommand(slot); break;
    case RunnerCommand::About: ShowAboutBox(window); break;
    case RunnerCommand::Setup: StartEditor(window); break;
    case RunnerCommand::Load: LoadSetFromDialog(window); break;
    case RunnerCommand::SaveAs: SaveSetAs(window); break;
    case RunnerCommand::Close: CloseRunner(window); break;
    case RunnerCommand::None: break;
  }
}

// The hotkey id is the record's slot: run it as if chosen from the menu.
void OnHotkey(HWND window, WPARAM id) { PostMessageA(window, WM_COMMAND, id, 0); }

void OnTimer(HWND window, UINT id) { RetryTrayIcon(window, id); }

// The tray's icon size follows the screen's resolution.
void OnDpiChanged(WPARAM dpis) { OnDisplayChange(LOWORD(dpis)); }
void OnDisplayChanged(HWND, UINT, UINT, UINT) { OnDisplayChange(0); }

void OnTrayNotify(HWND window, LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONDOWN)
    ShowCommandMenu(window);
  else if (mouseMessage == WM_RBUTTONDOWN)
    ShowControlMenu(window);
}

}  // namespace

// Every message goes on to DefWindowProcA after its handler, except
// WM_COMMAND, which is the runner's alone and answers 0; its id is taken
// whole, so a value with anything in its high bits is no command at all.
LRESULT CALLBACK RunnerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: HANDLE_WM_CREATE(window, wParam, lParam, OnCreate); break;
    case WM_DESTROY: HANDLE_WM_DESTROY(window, wParam, lParam, OnDestroy); break;
    case WM_COMMAND: OnCommand(window, wParam); return 0;
    case WM_HOTKEY: OnHotkey(window, wParam); break;
    case WM_TIMER: HANDLE_WM_TIMER(window, wParam, lParam, OnTimer); break;
    case WM_DPICHANGED: OnDpiChanged(wParam); break;
    case WM_DISPLAYCHANGE: HANDLE_WM_DISPLAYCHANGE(window, wParam, lParam, OnDisplayChanged); break;
    case WM_TRAYNOTIFY: OnTrayNotify(window, lParam); break;
    case WM_RELOADSET: LoadCommandSet(); break;
    default:
      if (message == TheRunner.TaskbarCreatedMessage && message != 0) OnTaskbarCreated(window);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int RunnerMain(HINSTANCE module) {
  TheRunner.Module = module;
  TheRunner.TaskbarCreatedMessage = RegisterWindowMessageA(TASKBAR_CREATED);

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RunnerWndProc;
  windowClass.hInstance = module;
  windowClass.lpszClassName = RUNNER_CLASS_NAME;
  RegisterClassA(&windowClass);

  HWND window =
      CreateWindowExA(0, RUNNER_CLASS_NAME, APP_TITLE, RUNNER_WINDOW_STYLE, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, module, nullptr);
  if (!window) return 0;
  ShowWindow(window, SW_HIDE);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) { return RunnerMain(module); }
