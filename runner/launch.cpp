// Starting a record's command, and the editor. Neither waits for the started
// program: a program that is slow to come up never holds up the runner.
#include "runner.h"

#include "desktop.h"
#include "wide_text.h"

// From the root of the record's drive (from the runner's own current
// directory when that drive is missing), with the record's show command; the
// runner comes back to the directory it had. The record's command line is
// ANSI text, widened as the system's ANSI call would. A console program gets
// a console window of its own, as the runner has none to share (Windows makes
// one anyway; Wine would run it unseen on the runner's standard handles); a
// program with windows of its own ignores the flag.
void RunCommand(const Launch& launch, DirectoryBuffer& savedDirectory) {
  const DWORD length = GetCurrentDirectoryW(CURRENT_DIR_UNITS + 1, savedDirectory);
  // A directory that could not be remembered is never left.
  const bool remembered = length > 0 && length <= CURRENT_DIR_UNITS;
  if (remembered) SetCurrentDirectoryA(launch.Root);
  // Never more UTF-16 units than ANSI bytes.
  wchar_t line[COMMAND_CAPACITY + 1];
  if (MultiByteToWideChar(CP_ACP, 0, launch.CommandLine.c_str(), -1, line, COMMAND_CAPACITY + 1) > 0)
    desktop::StartProgram(line, nullptr, static_cast<WORD>(launch.ShowCmd), CREATE_NEW_CONSOLE);
  if (remembered) SetCurrentDirectoryW(savedDirectory);
}

// Both parts quoted, so blanks in the folder or the set's name reach the
// editor whole.
void StartEditor(const RunnerModel& model) {
  FixedText<2 * PathText::capacity()> line;
  if (!model.EditorCommandLine(line)) return;
  WideText<2 * PATH_UNITS + 8> wide(line);
  if (wide.Ok()) desktop::StartProgram(wide.data(), nullptr, SW_SHOWDEFAULT);
}
