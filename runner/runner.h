// Tasklark, the tray runner: one hidden window that owns the tray icon, the
// command menu and the control menu, the global hotkeys of the loaded command
// set, and the starting of commands. What it does is the model's
// (runner_model.h); the code here makes the window and calls the system.
// Each part is handed the state it works on.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string_view>

#include "runner_model.h"

constexpr UINT TRAY_ICON_ID = 1;
constexpr char APP_TITLE[] = "Tasklark";
constexpr wchar_t APP_TITLE_WIDE[] = L"Tasklark";

// The longest current directory: 32767 UTF-16 units.
constexpr DWORD CURRENT_DIR_UNITS = 32767;
using DirectoryBuffer = wchar_t[CURRENT_DIR_UNITS + 1];

// The tray icon as the shell is told of it, and what the runner keeps beside.
struct TrayIcon {
  NOTIFYICONDATAW Data;
  HINSTANCE Module;  // whose icon it shows
  bool IconIsOwn;    // loaded at a size of its own, and destroyed by the runner
  // Tries left to add the icon while the notification area is not there yet.
  int RetriesLeft;
};

// What a command's start works in: large, and written only while a command
// starts (the start touches no more of a buffer than the text it holds).
struct StartBuffers {
  // Where the start comes back to.
  DirectoryBuffer SavedDirectory;
  // The command line as it starts, and the same for the system's call.
  CommandText Line;
  wchar_t WideLine[COMMAND_LINE_CAPACITY + 1];
};

// The one instance is static, so every member starts out zero and costs
// nothing in the program file; large buffers have no initializer of their
// own, so that nothing writes them at start.
struct Runner {
  TrayIcon Tray = {};
  RunnerModel Model;
  StartBuffers Start;
};

// load.cpp
void LoadCommandSet(HWND window, RunnerModel& model, TrayIcon& tray);
void ReleaseHotkeys(HWND window);

// menus.cpp: each opens at a point, and from the keyboard with its first
// item chosen.
void ShowCommandMenu(HWND window, const RunnerModel& model, POINT at, bool fromKeyboard);
void ShowControlMenu(HWND window, POINT at, bool fromKeyboard);

// launch.cpp: a record's command, and the editor.
void RunCommand(RunnerModel& model, const Launch& launch, StartBuffers& start);
void StartEditor(const RunnerModel& model);

// open.cpp: what a command names, opened by the shell on a thread of its own.
void OpenInShell(const OpenTarget& target, const wchar_t* root, std::int32_t showCommand);

// control.cpp
void ShowAboutBox(HWND window);
bool ChooseSetToLoad(RunnerModel& model);
void SaveSetAs(HWND window, RunnerModel& model);
void CloseRunner(HWND window);

// tray.cpp
void AddTrayIcon(TrayIcon& tray, HWND window, HINSTANCE module);
void RetryTrayIcon(TrayIcon& tray, UINT_PTR timer);
void AddTrayIconAgain(TrayIcon& tray);
void ResizeTrayIcon(TrayIcon& tray, UINT dpi);
void UpdateTrayTip(TrayIcon& tray, std::string_view tip);
void ShowLoadBalloon(const TrayIcon& tray, std::string_view text);
void RemoveTrayIcon(TrayIcon& tray);
