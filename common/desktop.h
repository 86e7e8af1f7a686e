// The Windows chores both programs share: a message box with a UTF-8 text,
// the Open and Save dialogs, the start-up arguments, and starting a program
// without waiting for it. Windows only; the code is in platform_win32.cpp.
#pragma once

#include <windows.h>

#include <string_view>

#include "paths.h"
#include "program.h"

namespace desktop {

// A message box with a UTF-8 text; the button that was chosen.
int ShowMessage(HWND owner, std::string_view text, const wchar_t* caption, UINT style);

// How the program was started: its path, empty when it does not fit (a cut
// path names no folder), and its command line.
struct StartUp {
  PathText ProgramPath;
  program::Line CommandLine;
};
void ReadStartUp(StartUp& startUp);

// An Open or a Save dialog.
struct FileDialog {
  const wchar_t* Title;
  const wchar_t* Filter;  // pairs of a name and a pattern, ended by an empty name
  const wchar_t* DefaultExtension;
  DWORD Flags;
  bool Save;  // the Save dialog, else the Open dialog
};
// Shows the dialog on `name` (UTF-8; an empty name box when it does not fit)
// in `folder`. The chosen path, or empty when the dialog was cancelled or
// could not be shown. The dialogs' library is loaded on the first dialog
// only: it brings several megabytes of libraries along that a small program
// should not carry for a dialog seldom opened.
PathText ChooseFile(HWND owner, const FileDialog& dialog, std::string_view name, std::string_view folder);

// A library of the system's folder (`name` with its leading backslash), by
// its full path: never a copy that lies in the program's folder. Null when
// it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// Starts a command line, writable as the system asks, with a show command,
// in `directory` (null: the caller's), and does not wait for it; false with
// the reason in GetLastError when it did not start.
bool StartProgram(wchar_t* commandLine, const wchar_t* directory, WORD showCommand, DWORD creationFlags = 0);

}  // namespace desktop
