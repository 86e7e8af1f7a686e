// Tasklark, the tray runner: one hidden window that owns the tray icon, the
// command menu and the control menu, the global hotkeys of the loaded command
// set, and the starting of commands.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>

#include "command_set.h"
#include "fixed_text.h"
#include "platform.h"

// The tray icon's callback message.
constexpr UINT WM_TRAYNOTIFY = 2135;

// Control-menu commands; the record commands are the slot indexes 0 to 29.
constexpr UINT IDM_ABOUT = 65;
constexpr UINT IDM_SAVEAS = 66;
constexpr UINT IDM_CLOSE = 69;
constexpr UINT IDM_LOAD = 76;
constexpr UINT IDM_SETUP = 83;

constexpr UINT TRAY_ICON_ID = 1;
constexpr char APP_TITLE[] = "Tasklark";

// Longest file name of a set file, without its directory.
constexpr std::size_t SET_FILE_NAME_CAPACITY = 255;
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

  FixedText<SET_FILE_NAME_CAPACITY> SetFileName;
  PathText ProgramDir;
  CommandSet Commands = {};
  // Slot of the last loaded record; -1 while the set is empty.
  int LastIndex = 0;

  // The file dialogs' library, once a dialog has been opened.
  HMODULE DialogLibrary = nullptr;

  // Where RunCommand comes back to after starting a command.
  FixedText<CURRENT_DIR_CAPACITY> SavedDirectory;
};

extern Runner TheRunner;

// main.cpp
int RunnerMain(HINSTANCE module);
LRESULT CALLBACK RunnerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// load.cpp
void LoadCommandSet();
// The set file: ProgramDir followed by SetFileName; false when the path does
// not fit the platform's limit (it is then never opened, created or cut).
bool SetFilePath(PathText& path);

// menus.cpp
void ShowCommandMenu(HWND window);
void ShowControlMenu(HWND window);
void RunCommand(int index);

// control.cpp
void ShowAboutBox(HWND window);
void StartEditor(HWND window);
void LoadSetFromDialog(HWND window);
void SaveSetAs(HWND window);
void CloseRunner(HWND window);

// tray.cpp
void AddTrayIcon(HWND window);
void RetryTrayIcon(HWND window);
void OnTaskbarCreated(HWND window);
void UpdateTrayTip();
void RemoveTrayIcon();
