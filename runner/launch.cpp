// Starting a record's command, and the editor. Neither waits for the started
// program: a program that is slow to come up never holds up the runner.
#include "runner.h"

#include "ansi_text.h"
#include "desktop.h"
#include "wide_text.h"

static_assert(start_error::FILE_NOT_FOUND == ERROR_FILE_NOT_FOUND &&
                  start_error::PATH_NOT_FOUND == ERROR_PATH_NOT_FOUND &&
                  start_error::ACCESS_DENIED == ERROR_ACCESS_DENIED &&
                  start_error::INVALID_NAME == ERROR_INVALID_NAME &&
                  start_error::BAD_EXE_FORMAT == ERROR_BAD_EXE_FORMAT,
              "the model's start errors are the system's");

// From the root of the record's drive (from the runner's own current
// directory when that drive is missing), with the record's show command; the
// runner comes back to the directory it had. The command line is started
// wide, as the model gives it, its variables expanded. A console program gets
// a console window of its own, as the runner has none to share (Windows makes
// one anyway; Wine would run it unseen on the runner's standard handles); a
// program with windows of its own ignores the flag. A command that names no
// program is handed to the shell to open, if the model finds something in it.
void RunCommand(RunnerModel& model, const Launch& launch, StartBuffers& start) {
  const DWORD length = GetCurrentDirectoryW(CURRENT_DIR_UNITS + 1, start.SavedDirectory);
  // A directory that could not be remembered is never left.
  const bool remembered = length > 0 && length <= CURRENT_DIR_UNITS;
  // The root, read in the records' code page as the drive letter is.
  wchar_t root[sizeof launch.Root];
  const bool inRoot = remembered &&
                      ansi::ToUtf16(launch.Root, reinterpret_cast<char16_t*>(root), sizeof launch.Root - 1) &&
                      SetCurrentDirectoryW(root);
  if (model.ExpandCommand(launch.CommandLine, start.Line) &&
      Utf8ToUtf16(start.Line, reinterpret_cast<char16_t*>(start.WideLine), COMMAND_LINE_CAPACITY) &&
      !desktop::StartProgram(start.WideLine, nullptr, static_cast<WORD>(launch.ShowCmd),
                             CREATE_NEW_CONSOLE)) {
    const error::Code error = GetLastError();
    OpenTarget target;
    if (model.OpenTargetOf(start.Line, error, target))
      OpenInShell(target, inRoot ? root : nullptr, launch.ShowCmd);
  }
  if (remembered) SetCurrentDirectoryW(start.SavedDirectory);
}

// Both parts quoted, so blanks in the folder or the set's name reach the
// editor whole.
void StartEditor(const RunnerModel& model) {
  FixedText<2 * PathText::capacity()> line;
  if (!model.EditorCommandLine(line)) return;
  WideText<2 * PATH_UNITS + 8> wide(line);
  if (wide.Ok()) desktop::StartProgram(wide.data(), nullptr, SW_SHOWDEFAULT);
}
