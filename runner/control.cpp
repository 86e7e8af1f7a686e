// The commands of the control menu: about box, editor, loading a set,
// saving it under another name, closing.
#include "runner.h"

#include <commdlg.h>

#include "desktop.h"

namespace {

constexpr wchar_t ABOUT_CAPTION[] = L"Tasklark 1.0";
// Lines end with a single carriage return; a blank line is two in a row.
constexpr char ABOUT_TEXT[] =
    "Tasklark is freeware and comes without any warranty.\r"
    "\r"
    "     \r"
    "\r"
    "     \r"
    "\r"
    "     -if you find Tasklark usefull\r"
    "      and you will continue to use it,\r"
    "      or know how to improve Tasklark\r"
    "      please write to the Tasklark developers;\r"
    "      every letter is read and answered.\r"
    "\r"
    "      tasklark@example.org\r"
    "\r"
    "(c) 2026 the Tasklark developers, Example City";
constexpr UINT ABOUT_STYLE = MB_OK | MB_ICONINFORMATION;

// One filter pair; the literal's own NUL ends the list.
constexpr wchar_t SET_FILE_FILTER[] = L"Tasklark Data Files\0*.dat\0";
constexpr wchar_t SET_FILE_EXTENSION[] = L"dat";

constexpr DWORD LOAD_FLAGS = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_NOREADONLYRETURN | OFN_NONETWORKBUTTON |
                             OFN_EXPLORER | OFN_LONGNAMES;
static_assert(LOAD_FLAGS == 0x2A800C, "load dialog flags");
constexpr desktop::FileDialog LOAD_DIALOG = {L"Open Tasklark commandset", SET_FILE_FILTER, SET_FILE_EXTENSION,
                                             LOAD_FLAGS, false};

constexpr DWORD SAVE_FLAGS = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_NONETWORKBUTTON |
                             OFN_EXPLORER | OFN_LONGNAMES;
static_assert(SAVE_FLAGS == 0x2A080A, "save dialog flags");
constexpr desktop::FileDialog SAVE_DIALOG = {L"Save Tasklark commandset as ...", SET_FILE_FILTER,
                                             SET_FILE_EXTENSION, SAVE_FLAGS, true};

constexpr UINT REPLACE_QUESTION_STYLE = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
constexpr UINT SAVE_ERROR_STYLE = MB_OK | MB_ICONERROR;

// The load or save-as dialog, proposing the current set's name in the
// program's folder; the chosen path, or empty. The dialog has no owner, so
// that it has a taskbar button of its own: the runner's window shows none.
PathText ChooseSetFile(const desktop::FileDialog& dialog, const RunnerModel& model) {
  return desktop::ChooseFile(nullptr, dialog, model.SetFileName, model.ProgramDir);
}

}  // namespace

void ShowAboutBox(HWND window) { desktop::ShowMessage(window, ABOUT_TEXT, ABOUT_CAPTION, ABOUT_STYLE); }

// Whatever folder the user browsed to, the set of that name beside the
// program is the one to load (and is created empty when there is none);
// false when nothing was chosen.
bool ChooseSetToLoad(RunnerModel& model) { return model.TakeChosenName(ChooseSetFile(LOAD_DIALOG, model)); }

// Copies the set file to the chosen name in the program folder and carries
// on under that name; nothing is reloaded. The name changes only when the
// copy is there.
void SaveSetAs(HWND window, RunnerModel& model) {
  const SaveAsPlan plan = model.PlanSaveAs(ChooseSetFile(SAVE_DIALOG, model));
  if (plan.Step == SaveAsStep::Nothing) return;
  if (plan.Step == SaveAsStep::AskFirst &&
      desktop::ShowMessage(window, model.ReplaceQuestion(plan.Name), APP_TITLE_WIDE,
                           REPLACE_QUESTION_STYLE) != IDYES)
    return;
  error::Code error = 0;
  if (!model.SaveAs(plan, error))
    desktop::ShowMessage(window, model.SaveAsFailure(plan.Name, error), APP_TITLE_WIDE, SAVE_ERROR_STYLE);
}

// The window's destruction removes the icon, frees the hotkeys and ends the loop.
void CloseRunner(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }
