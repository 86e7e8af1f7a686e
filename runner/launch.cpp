// Starting a record's command, and the editor. Neither waits for the started
// program: a program that is slow to come up never holds up the runner.
#include "runner.h"

#include "wide_text.h"

// From the root of the record's drive (from the runner's own current
// directory when that drive is missing), with the record's show command; the
// runner comes back to the directory it had. The command line is the
// record's ANSI text, handed over writable, as the system asks.
void RunCommand(int slot) {
  Launch launch = TheRunner.Model.LaunchOf(slot);
  wchar_t* saved = TheRunner.SavedDirectory;
  const DWORD length = GetCurrentDirectoryW(CURRENT_DIR_UNITS + 1, saved);
  // A directory that could not be remembered is never left.
  const bool remembered = length > 0 && length <= CURRENT_DIR_UNITS;
  if (remembered) SetCurrentDirectoryA(launch.Root);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(launch.ShowCmd);
  PROCESS_INFORMATION started = {};
  if (CreateProcessA(nullptr, launch.CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &started)) {
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }
  if (remembered) SetCurrentDirectoryW(saved);
}

// Both parts quoted, so blanks in the folder or the set's name reach the
// editor whole.
void StartEditor(HWND) {
  FixedText<2 * PathText::capacity()> line;
  if (!TheRunner.Model.EditorCommandLine(line)) return;
  WideText<2 * PATH_UNITS + 8> wide(line);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWDEFAULT;
  PROCESS_INFORMATION started = {};
  if (wide.Ok() && CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &started)) {
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }
}
