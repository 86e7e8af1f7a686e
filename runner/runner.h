// Tasklark, the tray runner: one hidden window that owns the tray icon, the
// command menu and the control menu, the global hotkeys of the loaded command
// set, and the starting of commands. What it does is the model's
// (runner_model.h); the code here makes the windows and calls the system.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>

#include "fixed_text.h"
#include "runner_model.h"

// The tray icon's callback message.
constexpr UINT WM_TRAYNOTIFY = 2135;
constexpr UINT TRAY_ICON_ID = 1;
constexpr char APP_TITLE[] = "Tasklark";

// Longest current directory the ANSI calls can report: 32767 UTF-16 units,
// up to two bytes each in a double-byte code page.
constexpr std::size_t CURRENT_DIR_CAPACITY = 65535;

// Every member starts out zero, so the one instance costs nothing in the
// program file.
struct Runner {
  HINSTANCE Module = nullptr;
  HWND Window = nullptr;
  NOTIFYICONDATAA TrayIconData = {};
  // The shell's "TaskbarCreated" message, sent when the notification area
  // (re)appears and every icon has to be added again.
  UINT TaskbarCreatedMessage = 0;
  // Tries left to add the icon while the notification area is not there yet.
  int IconRetriesLeft = 0;

  RunnerModel Model;

  // The file dialogs' library, once a dialog has been opened.
  HMODULE DialogLibrary = nullptr;

  // Where RunCommand comes back to after starting a command.
  FixedText<CURRENT_DIR_CAPACITY> SavedDirectory;
};

extern Runner TheRunner;

// load.cpp
void LoadCommandSet();
void ReleaseHotkeys(HWND window);

// menus.cpp
void ShowCommandMenu(HWND window);
void ShowControlMenu(HWND window);
void RunCommand(int slot);

// control.cpp
void ShowAboutBox(HWND window);
void StartEditor(HWND window);
void LoadSetFromDialog(HWND window);
void SaveSetAs(HWND window);
void CloseRunner(HWND window);

// tray.cpp
void AddTrayIcon(HWND window);
void RetryTrayIcon(HWND window, UINT_PTR timer);
void OnTaskbarCreated(HWND window);
void UpdateTrayTip();
void RemoveTrayIcon();
