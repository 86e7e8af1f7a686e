// The commands of the control menu: about box, editor, loading a set,
// saving it under another name, closing.
#include "runner.h"

#include <commdlg.h>

#include "wide_text.h"

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

// One filter pair; the literal's own NUL ends the list.
constexpr wchar_t SET_FILE_FILTER[] = L"Tasklark Data Files\0*.dat\0";
constexpr wchar_t SET_FILE_EXTENSION[] = L"dat";
constexpr DWORD CUSTOM_FILTER_SIZE = 40;
constexpr DWORD DIALOG_MAX_FILE = 260;

constexpr wchar_t LOAD_TITLE[] = L"Open Tasklark commandset";
constexpr DWORD LOAD_FLAGS = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_NOREADONLYRETURN | OFN_NONETWORKBUTTON |
                             OFN_EXPLORER | OFN_LONGNAMES;
static_assert(LOAD_FLAGS == 0x2A800C, "load dialog flags");

constexpr wchar_t SAVE_TITLE[] = L"Save Tasklark commandset as ...";
constexpr DWORD SAVE_FLAGS = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_NONETWORKBUTTON |
                             OFN_EXPLORER | OFN_LONGNAMES;
static_assert(SAVE_FLAGS == 0x2A080A, "save dialog flags");

constexpr wchar_t DIALOG_LIBRARY[] = L"\\comdlg32.dll";
constexpr char OPEN_DIALOG[] = "GetOpenFileNameW";
constexpr char SAVE_DIALOG[] = "GetSaveFileNameW";

constexpr UINT REPLACE_QUESTION_STYLE = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;
constexpr UINT SAVE_ERROR_STYLE = MB_OK | MB_ICONERROR;

// The load or save-as dialog, proposing the current set's name in the
// program's folder; the chosen path, UTF-8, or empty when it was cancelled
// or could not be shown. The dialogs' library is loaded on their first use
// only: it brings several megabytes of libraries along that a resident tray
// program should not carry for dialogs seldom opened.
PathText ChooseSetFile(const char* function, const wchar_t* title, DWORD flags) {
  using FileDialog = BOOL(WINAPI*)(LPOPENFILENAMEW);
  PathText chosen;
  if (!TheRunner.DialogLibrary) {
    // By its full path: never a copy that lies in the program's folder.
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + sizeof DIALOG_LIBRARY / sizeof(wchar_t) > MAX_PATH) return chosen;
    lstrcatW(path, DIALOG_LIBRARY);
    TheRunner.DialogLibrary = LoadLibraryW(path);
  }
  auto show = reinterpret_cast<FileDialog>(
      reinterpret_cast<void*>(GetProcAddress(TheRunner.DialogLibrary, function)));
  WideText<DIALOG_MAX_FILE + 1> file(TheRunner.Model.SetFileName);
  const WideText<PATH_UNITS> folder(TheRunner.Model.ProgramDir);
  if (!file.Ok()) file = WideText<DIALOG_MAX_FILE + 1>("");
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  dialog.lpstrFilter = SET_FILE_FILTER;
  dialog.nMaxCustFilter = CUSTOM_FILTER_SIZE;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = DIALOG_MAX_FILE;
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrTitle = title;
  dialog.Flags = flags;
  dialog.lpstrDefExt = SET_FILE_EXTENSION;
  if (show && show(&dialog)) FromWide(file.c_str(), chosen);
  return chosen;
}

}  // namespace

void ShowAboutBox(HWND window) { MessageBoxA(window, ABOUT_TEXT, ABOUT_CAPTION, ABOUT_STYLE); }

// Whatever folder the user browsed to, the set of that name beside the
// program is loaded (and created empty when there is none).
void LoadSetFromDialog(HWND) {
  const PathText chosen = ChooseSetFile(OPEN_DIALOG, LOAD_TITLE, LOAD_FLAGS);
  if (TheRunner.Model.TakeChosenName(chosen)) LoadCommandSet();
}

// Copies the set file to the chosen name in the program folder and carries
// on under that name; nothing is reloaded. The name changes only when the
// copy is there.
void SaveSetAs(HWND window) {
  const PathText chosen = ChooseSetFile(SAVE_DIALOG, SAVE_TITLE, SAVE_FLAGS);
  RunnerModel& model = TheRunner.Model;
  const SaveAsPlan plan = model.PlanSaveAs(chosen);
  if (plan.Step == SaveAsStep::Nothing) return;
  if (plan.Step == SaveAsStep::AskFirst &&
      ShowMessage(window, model.ReplaceQuestion(plan.Name), REPLACE_QUESTION_STYLE) != IDYES)
    return;
  error::Code error = 0;
  if (!model.SaveAs(plan, error))
    ShowMessage(window, model.SaveAsFailure(plan.Name, error), SAVE_ERROR_STYLE);
}

// The window's destruction removes the icon, frees the hotkeys and ends the loop.
void CloseRunner(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

int ShowMessage(HWND window, std::string_view text, UINT style) {
  const WideText<1023> wide(text);
  return MessageBoxW(window, wide.c_str(), APP_TITLE_WIDE, style);
}
