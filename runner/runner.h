// Tasklark, the tray runner: one hidden window that owns the tray icon, the
// command menu and the control menu, the global hotkeys of the loaded command
// set, and the starting of commands. What it does is the model's
// (runner_model.h); the code here makes the window and calls the system.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "runner_model.h"

constexpr UINT TRAY_ICON_ID = 1;
constexpr char APP_TITLE[] = "Tasklark";
constexpr wchar_t APP_TITLE_WIDE[] = L"Tasklark";

// The longest current directory: 32767 UTF-16 units.
constexpr DWORD CURRENT_DIR_UNITS = 32767;

// The one instance is static, so every member starts out zero and costs
// nothing in the program file; large buffers have no initializer of their
// own, so that nothing writes them at start.
struct Runner {
  HINSTANCE Module = nullptr;
  HWND Window = nullptr;
  NOTIFYICONDATAW TrayIconData = {};
  bool IconIsOwn = false;  // loaded at a size of its own, and destroyed by the runner
  // The shell's "TaskbarCreated" message, sent when the notification area
  // (re)appears and every icon has to be added again.
  UINT TaskbarCreatedMessage = 0;
  // Tries left to add the icon while the notification area is not there yet.
  int IconRetriesLeft = 0;

  RunnerModel Model;

  // The file dialogs' library, once a dialog has been opened.
  HMODULE DialogLibrary = nullptr;

  // Where RunCommand comes back to after starting a command.
  wchar_t SavedDirectory[CURRENT_DIR_UNITS + 1];
};

extern Runner TheRunner;

// load.cpp
void LoadCommandSet();
void ReleaseHotkeys(HWND window);

// menus.cpp
void ShowCommandMenu(HWND window);
void ShowControlMenu(HWND window);

// launch.cpp: a record's command, and the editor.
void RunCommand(int slot);
void StartEditor(HWND window);

// control.cpp
void ShowAboutBox(HWND window);
void LoadSetFromDialog(HWND window);
void SaveSetAs(HWND window);
void CloseRunner(HWND window);
// A message box of the runner's with a UTF-8 text.
int ShowMessage(HWND window, std::string_view text, UINT style);

// tray.cpp
void AddTrayIcon(HWND window);
void RetryTrayIcon(HWND window, UINT_PTR timer);
void OnTaskbarCreated(HWND window);
void LoadTrayIcon(UINT dpi);
void OnDisplayChange(UINT dpi);
void UpdateTrayTip();
void ShowHotkeyBalloon(std::string_view text);
void RemoveTrayIcon();
