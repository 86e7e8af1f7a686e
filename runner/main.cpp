// Start-up, the hidden window and its window procedure.
#include "runner.h"

#include <windowsx.h>

#include "desktop.h"
#include "runner_link.h"

namespace {

constexpr char TASKBAR_CREATED[] = "TaskbarCreated";
constexpr DWORD RUNNER_WINDOW_STYLE = WS_MINIMIZE;  // never visible

// The one instance of the program; WinMain hands it to the window, whose
// handlers take it from there.
Runner TheRunner;

// The shell's "TaskbarCreated" message, sent when the notification area
// (re)appears and every icon has to be added again.
UINT TaskbarCreatedMessage;

Runner& RunnerOf(HWND window) { return *reinterpret_cast<Runner*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

// The first message that carries the runner: it goes with the window from here on.
BOOL OnNcCreate(HWND window, LPCREATESTRUCT create) {
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  return TRUE;
}

BOOL OnCreate(HWND window, LPCREATESTRUCT create) {
  Runner& runner = RunnerOf(window);
  AddTrayIcon(runner.Tray, window, create->hInstance);
  desktop::StartUp startUp;
  desktop::ReadStartUp(startUp);
  runner.Model.Start(startUp.CommandLine, startUp.ProgramPath);
  LoadCommandSet(window, runner.Model, runner.Tray);
  return TRUE;
}

void OnDestroy(HWND window) {
  RemoveTrayIcon(RunnerOf(window).Tray);
  ReleaseHotkeys(window);
  PostQuitMessage(0);
}

// Menu choices and hotkeys both end here.
void OnCommand(HWND window, WPARAM id) {
  Runner& runner = RunnerOf(window);
  RunnerModel& model = runner.Model;
  int slot = 0;
  switch (model.CommandFor(id, slot)) {
    case RunnerCommand::Run: RunCommand(model, model.LaunchOf(slot), runner.Start); break;
    case RunnerCommand::About: ShowAboutBox(window); break;
    case RunnerCommand::Setup: StartEditor(model); break;
    case RunnerCommand::Load:
      if (ChooseSetToLoad(model)) LoadCommandSet(window, model, runner.Tray);
      break;
    case RunnerCommand::SaveAs: SaveSetAs(window, model); break;
    case RunnerCommand::Close: CloseRunner(window); break;
    case RunnerCommand::None: break;
  }
}

// The hotkey id is the record's slot: run it as if chosen from the menu.
void OnHotkey(HWND window, WPARAM id) { PostMessageA(window, WM_COMMAND, id, 0); }

void OnTimer(HWND window, UINT id) { RetryTrayIcon(RunnerOf(window).Tray, id); }

// The tray's icon size follows the screen's resolution.
void OnDpiChanged(HWND window, WPARAM dpis) { ResizeTrayIcon(RunnerOf(window).Tray, LOWORD(dpis)); }
void OnDisplayChange(HWND window, UINT, UINT, UINT) { ResizeTrayIcon(RunnerOf(window).Tray, 0); }

// The event is in the low word, as the shell sends it to an icon of version
// 4 and as other programs post a bare button message. A click's menu opens
// at the pointer, a key's at the anchor the shell gives for the icon.
void OnTrayNotify(HWND window, WPARAM anchor, LPARAM notification) {
  RunnerModel& model = RunnerOf(window).Model;
  const TrayOpening opening = model.TrayEvent(LOWORD(notification));
  if (opening.Menu == TrayMenu::None) return;
  POINT at = {GET_X_LPARAM(anchor), GET_Y_LPARAM(anchor)};
  if (!opening.FromKeyboard) GetCursorPos(&at);
  if (opening.Menu == TrayMenu::Commands)
    ShowCommandMenu(window, model, at, opening.FromKeyboard);
  else
    ShowControlMenu(window, at, opening.FromKeyboard);
  model.TrayMenuClosed();
}

void OnReloadSet(HWND window) {
  Runner& runner = RunnerOf(window);
  LoadCommandSet(window, runner.Model, runner.Tray);
}

void OnTaskbarCreated(HWND window) { AddTrayIconAgain(RunnerOf(window).Tray); }

// Every message goes on to DefWindowProcA after its handler, except
// WM_COMMAND, which is the runner's alone and answers 0; its id is taken
// whole, so a value with anything in its high bits is no command at all.
LRESULT CALLBACK RunnerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: HANDLE_WM_NCCREATE(window, wParam, lParam, OnNcCreate); break;
    case WM_CREATE: HANDLE_WM_CREATE(window, wParam, lParam, OnCreate); break;
    case WM_DESTROY: HANDLE_WM_DESTROY(window, wParam, lParam, OnDestroy); break;
    case WM_COMMAND: OnCommand(window, wParam); return 0;
    case WM_HOTKEY: OnHotkey(window, wParam); break;
    case WM_TIMER: HANDLE_WM_TIMER(window, wParam, lParam, OnTimer); break;
    case WM_DPICHANGED: OnDpiChanged(window, wParam); break;
    case WM_DISPLAYCHANGE: HANDLE_WM_DISPLAYCHANGE(window, wParam, lParam, OnDisplayChange); break;
    case WM_TRAYNOTIFY: OnTrayNotify(window, wParam, lParam); break;
    case WM_RELOADSET: OnReloadSet(window); break;
    default:
      if (message == TaskbarCreatedMessage && message != 0) OnTaskbarCreated(window);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
  TaskbarCreatedMessage = RegisterWindowMessageA(TASKBAR_CREATED);

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RunnerWndProc;
  windowClass.hInstance = module;
  windowClass.lpszClassName = RUNNER_CLASS_NAME;
  RegisterClassA(&windowClass);

  HWND window =
      CreateWindowExA(0, RUNNER_CLASS_NAME, APP_TITLE, RUNNER_WINDOW_STYLE, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, module, &TheRunner);
  if (!window) return 0;
  ShowWindow(window, SW_HIDE);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
