// Start-up, the hidden window and its window procedure.
#include "runner.h"

#include "paths.h"
#include "runner_link.h"

Runner TheRunner;

namespace {

constexpr char MAIN_ICON[] = "MAINICON";
constexpr char TASKBAR_CREATED[] = "TaskbarCreated";
constexpr UINT TRAY_ICON_FLAGS = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr DWORD RUNNER_WINDOW_STYLE = WS_MINIMIZE;  // never visible
constexpr WPARAM FIRST_NON_RECORD_ID = MAX_COMMANDS;

void FillTrayIconData(HWND window) {
  NOTIFYICONDATAA& icon = TheRunner.TrayIconData;
  icon = NOTIFYICONDATAA{};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = window;
  icon.uID = TRAY_ICON_ID;
  icon.uFlags = TRAY_ICON_FLAGS;
  icon.uCallbackMessage = WM_TRAYNOTIFY;
  icon.hIcon = LoadIconA(TheRunner.Module, MAIN_ICON);
  lstrcpyA(icon.szTip, APP_TITLE);
}

// The file-name part of the first argument; the default name without one.
// Only the name counts: set files always live beside the program.
void TakeSetFileName() {
  ArgumentText argument;
  std::string_view name = DEFAULT_SET_FILE_NAME;
  if (FirstArgument(GetCommandLineA(), argument) && !FileNamePart(argument).empty())
    name = FileNamePart(argument);
  TheRunner.SetFileName.Clear();
  TheRunner.SetFileName.Append(name);
}

void TakeProgramDir() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(TheRunner.Module, path, MAX_PATH);
  if (length >= MAX_PATH) length = 0;  // cut: no directory is better than a wrong one
  TheRunner.ProgramDir.Clear();
  TheRunner.ProgramDir.Append(DirectoryPart(std::string_view(path, length)));
}

void OnCreate(HWND window) {
  TheRunner.Window = window;
  FillTrayIconData(window);
  AddTrayIcon(window);
  TakeSetFileName();
  TakeProgramDir();
  LoadCommandSet();
}

void OnDestroy(HWND window) {
  RemoveTrayIcon();
  if (TheRunner.TrayIconData.hIcon) DestroyIcon(TheRunner.TrayIconData.hIcon);
  for (int id = 0; id < MAX_COMMANDS; ++id) UnregisterHotKey(window, id);
  PostQuitMessage(0);
}

// Menu choices and hotkeys both end here. The id is compared whole, so a
// value with anything in its high bits is no command at all.
void OnCommand(HWND window, WPARAM id) {
  if (id < FIRST_NON_RECORD_ID) {
    // A slot beyond the loaded set holds a record the user no longer has.
    if (static_cast<int>(id) <= TheRunner.LastIndex) RunCommand(static_cast<int>(id));
    return;
  }
  switch (id) {
    case IDM_ABOUT: ShowAboutBox(window); break;
    case IDM_SETUP: StartEditor(window); break;
    case IDM_LOAD: LoadSetFromDialog(window); break;
    case IDM_SAVEAS: SaveSetAs(window); break;
    case IDM_CLOSE: CloseRunner(window); break;
    default: break;
  }
}

// The hotkey id is the record's slot: run it as if chosen from the menu.
void OnHotkey(HWND window, WPARAM id) { PostMessageA(window, WM_COMMAND, id, 0); }

void OnTrayNotify(HWND window, LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONDOWN) ShowCommandMenu(window);
  else if (mouseMessage == WM_RBUTTONDOWN) ShowControlMenu(window);
}

}  // namespace

// Every message goes on to DefWindowProcA after its handler, except
// WM_COMMAND, which is the runner's alone and answers 0.
LRESULT CALLBACK RunnerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(window); break;
    case WM_DESTROY: OnDestroy(window); break;
    case WM_COMMAND: OnCommand(window, wParam); return 0;
    case WM_HOTKEY: OnHotkey(window, wParam); break;
    case WM_TIMER: RetryTrayIcon(window); break;
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
  TheRunner.LastIndex = -1;
  TheRunner.TaskbarCreatedMessage = RegisterWindowMessageA(TASKBAR_CREATED);

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RunnerWndProc;
  windowClass.hInstance = module;
  windowClass.lpszClassName = RUNNER_CLASS_NAME;
  RegisterClassA(&windowClass);

  HWND window = CreateWindowExA(0, RUNNER_CLASS_NAME, APP_TITLE, RUNNER_WINDOW_STYLE, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, module,
                                nullptr);
  if (!window) return 0;
  ShowWindow(window, SW_HIDE);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) { return RunnerMain(module); }
