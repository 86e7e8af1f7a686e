// The commands of the control menu: about box, editor, loading a set,
// saving it under another name, closing.
#include "runner.h"

#include <commdlg.h>


namespace {

constexpr char ABOUT_CAPTION[] = "Tasklark 1.0";
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

constexpr UINT EDITOR_SHOW = SW_SHOWDEFAULT;

// One filter pair; the literal's own NUL ends the list.
constexpr char SET_FILE_FILTER[] = "Tasklark Data Files\0*.dat\0";
constexpr char SET_FILE_EXTENSION[] = "dat";
constexpr DWORD CUSTOM_FILTER_SIZE = 40;
constexpr DWORD DIALOG_MAX_FILE = 260;
constexpr std::size_t DIALOG_FILE_BUFFER = DIALOG_MAX_FILE + 2;

constexpr char LOAD_TITLE[] = "Open Tasklark commandset";
constexpr DWORD LOAD_FLAGS = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_NOREADONLYRETURN |
                             OFN_NONETWORKBUTTON | OFN_EXPLORER | OFN_LONGNAMES;
static_assert(LOAD_FLAGS == 0x2A800C, "load dialog flags");

constexpr char SAVE_TITLE[] = "Save Tasklark commandset as ...";
constexpr DWORD SAVE_FLAGS = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                             OFN_NONETWORKBUTTON | OFN_EXPLORER | OFN_LONGNAMES;
static_assert(SAVE_FLAGS == 0x2A080A, "save dialog flags");

constexpr char DIALOG_LIBRARY[] = "\\comdlg32.dll";
constexpr char OPEN_DIALOG[] = "GetOpenFileNameA";
constexpr char SAVE_DIALOG[] = "GetSaveFileNameA";

constexpr UINT REPLACE_QUESTION_STYLE = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
constexpr UINT SAVE_ERROR_STYLE = MB_OK | MB_ICONERROR;

// The record of the load and save-as dialogs with its file-name buffer.
struct SetFileDialog {
  OPENFILENAMEA Record;
  char File[DIALOG_FILE_BUFFER];
};

// Proposes the current set's name in the program folder.
void FillSetFileDialog(SetFileDialog& dialog, const char* title, DWORD flags) {
  dialog = SetFileDialog{};
  lstrcpynA(dialog.File, TheRunner.Model.SetFileName.c_str(), DIALOG_MAX_FILE + 1);
  OPENFILENAMEA& record = dialog.Record;
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  record.lpstrFilter = SET_FILE_FILTER;
  record.nMaxCustFilter = CUSTOM_FILTER_SIZE;
  record.lpstrFile = dialog.File;
  record.nMaxFile = DIALOG_MAX_FILE;
  record.lpstrInitialDir = TheRunner.Model.ProgramDir.c_str();
  record.lpstrTitle = title;
  record.Flags = flags;
  record.lpstrDefExt = SET_FILE_EXTENSION;
}

// Shows the load or the save-as dialog; false when it was cancelled or could
// not be shown. The dialogs' library is loaded on their first use only: it
// brings several megabytes of libraries along that a resident tray program
// should not carry for dialogs seldom opened.
bool RunFileDialog(const char* function, SetFileDialog& dialog) {
  using FileDialog = BOOL(WINAPI*)(LPOPENFILENAMEA);
  if (!TheRunner.DialogLibrary) {
    // By its full path: never a copy that lies in the program's folder.
    PathText path;
    UINT length = GetSystemDirectoryA(path.data(), static_cast<UINT>(path.capacity() + 1));
    if (length == 0 || length > path.capacity()) return false;
    path.TakeCString();
    path.Append(DIALOG_LIBRARY);
    if (path.WasCut()) return false;
    TheRunner.DialogLibrary = LoadLibraryA(path.c_str());
  }
  if (!TheRunner.DialogLibrary) return false;
  auto show = reinterpret_cast<FileDialog>(
      reinterpret_cast<void*>(GetProcAddress(TheRunner.DialogLibrary, function)));
  return show && show(&dialog.Record);
}

}  // namespace

void ShowAboutBox(HWND window) { MessageBoxA(window, ABOUT_TEXT, ABOUT_CAPTION, ABOUT_STYLE); }

// Both parts quoted, so blanks in the folder or the set's name reach the
// editor whole.
void StartEditor(HWND) {
  FixedText<2 * PathText::capacity()> commandLine;
  if (TheRunner.Model.EditorCommandLine(commandLine)) WinExec(commandLine.c_str(), EDITOR_SHOW);
}

// Whatever folder the user browsed to, the set of that name beside the
// program is loaded (and created empty when there is none).
void LoadSetFromDialog(HWND) {
  SetFileDialog dialog;
  FillSetFileDialog(dialog, LOAD_TITLE, LOAD_FLAGS);
  if (RunFileDialog(OPEN_DIALOG, dialog) && TheRunner.Model.TakeChosenName(dialog.File)) LoadCommandSet();
}

// Copies the set file to the chosen name in the program folder and carries
// on under that name; nothing is reloaded. The name changes only when the
// copy is there.
void SaveSetAs(HWND window) {
  SetFileDialog dialog;
  FillSetFileDialog(dialog, SAVE_TITLE, SAVE_FLAGS);
  if (!RunFileDialog(SAVE_DIALOG, dialog)) return;
  RunnerModel& model = TheRunner.Model;
  const SaveAsPlan plan = model.PlanSaveAs(dialog.File);
  if (plan.Step == SaveAsStep::Nothing) return;
  if (plan.Step == SaveAsStep::AskFirst &&
      MessageBoxA(window, model.ReplaceQuestion(plan.Name).c_str(), APP_TITLE, REPLACE_QUESTION_STYLE) != IDYES)
    return;
  sys::ErrorCode error = 0;
  if (!model.SaveAs(plan, error))
    MessageBoxA(window, model.SaveAsFailure(plan.Name, error).c_str(), APP_TITLE, SAVE_ERROR_STYLE);
}

// The window's destruction removes the icon, frees the hotkeys and ends the loop.
void CloseRunner(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }
