// The dialog of the form fSetup: its window, every control at its place, the
// font and the hints, and the one dispatch that hands each message to its
// handler.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <cstddef>

#include "control_ids.h"
#include "editor_resources.h"
#include "program.h"
#include "runner_link.h"
#include "setup_dialog.h"
#include "wide_text.h"

SetupDialog Dialog;

namespace {

constexpr int CLIENT_WIDTH = 337;
constexpr int CLIENT_HEIGHT = 261;
constexpr int FONT_POINTS = 8;
constexpr int POINTS_PER_INCH = 72;
constexpr char FONT_FACE[] = "MS Sans Serif";
constexpr int LABEL_HEIGHT = 13;
constexpr int LIST_ROW_HEIGHT = 13;
constexpr int WINDOW_SIZE_ROWS = 3;
constexpr int FIT_ATTEMPTS = 3;
constexpr int LIST_BORDERS = 2;      // the open list's frame, top and bottom
constexpr int HINT_MAX_WIDTH = 600;  // wide enough that hints break only at their line ends
constexpr int HINT_SHOW_MS = 20000;  // long hints need time to be read
constexpr char MAIN_ICON[] = "MAINICON";

// Tool-window frame without any caption button, and still a button on the
// task bar.
constexpr DWORD DIALOG_STYLE = WS_POPUP | WS_CAPTION;
constexpr DWORD DIALOG_EX_STYLE = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

constexpr DWORD EDIT_STYLE = WS_TABSTOP | ES_AUTOHSCROLL;

struct Place {
  int Left, Top, Width, Height;
};

// Places at 96 pixels per inch.
constexpr Place NAME_LIST_PLACE = {5, 5, 121, 251};
constexpr Place NAME_PLACE = {129, 20, 198, 21};
constexpr Place COMMAND_PLACE = {128, 60, 179, 21};
constexpr Place BROWSE_PLACE = {307, 60, 19, 21};
constexpr Place WINDOW_SIZE_PLACE = {128, 100, 145, 21};
constexpr Place DRIVE_PLACE = {308, 100, 18, 21};
constexpr Place HOTKEY_PLACE = {130, 141, 121, 21};
constexpr Place ADD_PLACE = {128, 165, 75, 23};
constexpr Place DELETE_PLACE = {128, 188, 75, 23};
constexpr Place UP_PLACE = {128, 211, 75, 23};
constexpr Place DOWN_PLACE = {128, 234, 75, 23};
constexpr Place OK_PLACE = {259, 188, 75, 23};
constexpr Place CANCEL_PLACE = {259, 234, 75, 23};

// Labels size themselves to their caption.
struct LabelSpec {
  HWND SetupDialog::*Control;
  int Id;
  const char* Caption;
  int Left, Top;
};
constexpr LabelSpec LABELS[] = {
    {&SetupDialog::Label1, ID_NAME_LABEL, "Name:", 134, 3},
    {&SetupDialog::Label2, ID_COMMAND_LABEL, "Command", 134, 44},
    {&SetupDialog::Label3, ID_WINDOW_SIZE_LABEL, "Window Size", 134, 84},
    {&SetupDialog::Label4, ID_DRIVE_LABEL, "Drive", 300, 84},
    {&SetupDialog::Label5, ID_HOTKEY_LABEL, "HotKey", 130, 125},
};

struct ButtonLayout {
  HWND SetupDialog::*Control;
  GlyphButtonIndex Index;
  int Id;
  const char* Caption;
  const Place& Where;
  int Picture;
  bool GlyphRight;
};
constexpr ButtonLayout BROWSE_BUTTON = {&SetupDialog::btBrowse, GB_BROWSE, ID_BROWSE, "..",
                                        BROWSE_PLACE,           0,         false};
constexpr ButtonLayout LIST_BUTTONS[] = {
    {&SetupDialog::btnAdd, GB_ADD, ID_ADD, "A&dd     ", ADD_PLACE, IDB_GLYPH_ADD, false},
    {&SetupDialog::btnDelete, GB_DELETE, ID_DELETE, "D&elete", DELETE_PLACE, IDB_GLYPH_DELETE, false},
    {&SetupDialog::btnUp, GB_UP, ID_UP, "&Up     ", UP_PLACE, IDB_GLYPH_UP, false},
    {&SetupDialog::btnDown, GB_DOWN, ID_DOWN, "Do&wn", DOWN_PLACE, IDB_GLYPH_DOWN, false},
    {&SetupDialog::btnOk, GB_OK, ID_OK, "&Ok", OK_PLACE, IDB_GLYPH_OK, true},
    {&SetupDialog::btnCancel, GB_CANCEL, ID_CANCEL, "C&ancel", CANCEL_PLACE, IDB_GLYPH_CANCEL, true},
};

constexpr const char* WINDOW_SIZE_ITEMS[] = {"Default", "Minimized", "Maximized"};

struct HintSpec {
  HWND SetupDialog::*Control;
  const char* Text;
};
constexpr HintSpec HINTS[] = {
    {&SetupDialog::eName,
     "Type the text you want to appear on the menu for this command.\r\n"
     "Type just a hyphen (-) for a separator."},
    {&SetupDialog::eCommand,
     "Type the full command you want to execute.\r\n"
     "Some useful examples:\r\n"
     "explorer.exe /e, c:\\windows\r\n"
     "command.com /k cd c:\\windows\\temp\r\n"
     "d:\\mydir\\myprog.bat 1 2 asd\r\n"
     "start c:\\games\\drjam\\movies\\jammy.avi"},
    {&SetupDialog::cbWindowSize,
     "Determine how this program runs:\r\n"
     "Default, Minimized or Maximized,"},
    {&SetupDialog::meDriveLetter,
     "Indicate on which drive this command should be executed.\r\n"
     "This can be important for some dos commands.\r\n"
     "Especially those that involve:  cd"},
    {&SetupDialog::eHotkey,
     "Choose a hotkey for this command.\r\n"
     "Each hotkey much have a Ctrl or Alt in it.\r\n"
     "If you want to remove the hotkey. Just press Ctrl."},
};

// The dialog's template: no controls (they are made at their pixel places
// when the dialog starts), the editor's own window class and the caption.
struct SetupTemplate {
  DLGTEMPLATE Header;
  WORD Menu;
  WCHAR ClassName[sizeof SETUP_CLASS_NAME];
  WCHAR Caption[sizeof APP_TITLE];
};
static_assert(sizeof(DLGTEMPLATE) == 18 && offsetof(SetupTemplate, Menu) == 18, "dialog template layout");

template <std::size_t N>
void CopyWide(WCHAR (&to)[N], const char (&from)[N]) {
  for (std::size_t i = 0; i < N; ++i) to[i] = static_cast<unsigned char>(from[i]);
}

RECT Scaled(const Place& place) {
  return {Dialog.Scale(place.Left), Dialog.Scale(place.Top), Dialog.Scale(place.Left + place.Width),
          Dialog.Scale(place.Top + place.Height)};
}

HWND AddControl(const char* className, const char* text, DWORD style, DWORD exStyle, int id, RECT box) {
  HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, box.left, box.top,
                                 box.right - box.left, box.bottom - box.top, Dialog.Handle,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Dialog.Instance, nullptr);
  SetWindowFont(control, Dialog.Font, FALSE);
  return control;
}

void AddLabels() {
  HDC dc = GetDC(Dialog.Handle);
  HGDIOBJ oldFont = SelectObject(dc, Dialog.Font);
  for (const LabelSpec& label : LABELS) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, label.Caption, lstrlenA(label.Caption), &size);
    const int left = Dialog.Scale(label.Left), top = Dialog.Scale(label.Top);
    const int height = size.cy > Dialog.Scale(LABEL_HEIGHT) ? size.cy : Dialog.Scale(LABEL_HEIGHT);
    Dialog.*label.Control = AddControl(WC_STATICA, label.Caption, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0,
                                       label.Id, {left, top, left + size.cx, top + height});
  }
  SelectObject(dc, oldFont);
  ReleaseDC(Dialog.Handle, dc);
}

// Rows of 13 pixels, the height trimmed to whole rows.
HWND AddNameList() {
  const RECT box = Scaled(NAME_LIST_PLACE);
  HWND list = AddControl(WC_LISTBOXA, "", WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_NOTIFY, WS_EX_CLIENTEDGE,
                         ID_NAME_LIST, box);
  ListBox_SetItemHeight(list, 0, Dialog.Scale(LIST_ROW_HEIGHT));
  SetWindowPos(list, nullptr, 0, 0, box.right - box.left, box.bottom - box.top, SWP_NOMOVE | SWP_NOZORDER);
  return list;
}

// A drop-down list as high as the edits, opening on three rows.
HWND AddWindowSizeList() {
  const RECT box = Scaled(WINDOW_SIZE_PLACE);
  HWND combo =
      AddControl(WC_COMBOBOXA, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, ID_WINDOW_SIZE, box);
  for (const char* item : WINDOW_SIZE_ITEMS) ComboBox_AddString(combo, item);
  // The closed height follows the selection field's height, one for one;
  // the window's height includes the open list.
  const int wanted = box.bottom - box.top;
  const int row = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  const int width = box.right - box.left, height = wanted + WINDOW_SIZE_ROWS * row + LIST_BORDERS;
  int field = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  for (int attempt = 0; attempt < FIT_ATTEMPTS; ++attempt) {
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    SetWindowPos(combo, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    RECT closed = {};
    GetWindowRect(combo, &closed);
    if (closed.bottom - closed.top == wanted) break;
    field += wanted - (closed.bottom - closed.top);
  }
  return combo;
}

HWND AddButton(const ButtonLayout& layout) {
  HWND button =
      AddControl(WC_BUTTONA, layout.Caption, WS_TABSTOP | BS_OWNERDRAW, 0, layout.Id, Scaled(layout.Where));
  MakeGlyphButton(Dialog.Buttons[layout.Index], button, Dialog.Instance, layout.Picture, layout.GlyphRight);
  Dialog.*layout.Control = button;
  return button;
}

// In tab order; the labels first, outside it.
void CreateControls() {
  SetupDialog& d = Dialog;
  AddLabels();
  d.lbName = AddNameList();
  d.eName = AddControl(WC_EDITA, "", EDIT_STYLE, WS_EX_CLIENTEDGE, ID_NAME, Scaled(NAME_PLACE));
  d.eCommand = AddControl(WC_EDITA, "", EDIT_STYLE, WS_EX_CLIENTEDGE, ID_COMMAND, Scaled(COMMAND_PLACE));
  for (HWND edit : {d.eName, d.eCommand}) Edit_LimitText(edit, FieldText::capacity());
  AddButton(BROWSE_BUTTON);
  d.cbWindowSize = AddWindowSizeList();
  d.meDriveLetter = AddControl(WC_EDITA, " ", WS_TABSTOP, WS_EX_CLIENTEDGE, ID_DRIVE, Scaled(DRIVE_PLACE));
  MakeDriveField(d.meDriveLetter);
  d.eHotkey =
      AddControl(WC_EDITA, "", EDIT_STYLE | ES_READONLY, WS_EX_CLIENTEDGE, ID_HOTKEY, Scaled(HOTKEY_PLACE));
  MakeHotkeyField(d.eHotkey);
  for (const ButtonLayout& layout : LIST_BUTTONS) AddButton(layout);
}

void CreateHints() {
  HWND hints = CreateWindowExA(
      WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Dialog.Handle, nullptr, Dialog.Instance, nullptr);
  Dialog.Hints = hints;
  if (!hints) return;
  SendMessageA(hints, TTM_SETMAXTIPWIDTH, 0, Dialog.Scale(HINT_MAX_WIDTH));
  SendMessageA(hints, TTM_SETDELAYTIME, TTDT_AUTOPOP, HINT_SHOW_MS);
  for (const HintSpec& hint : HINTS) {
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Dialog.Handle;
    tool.uId = reinterpret_cast<UINT_PTR>(Dialog.*hint.Control);
    tool.lpszText = const_cast<char*>(hint.Text);
    SendMessageA(hints, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

HFONT CreateDialogFont() {
  LOGFONTA font = {};
  font.lfHeight = -MulDiv(FONT_POINTS, Dialog.Dpi, POINTS_PER_INCH);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  lstrcpynA(font.lfFaceName, FONT_FACE, LF_FACESIZE);
  return CreateFontIndirectA(&font);
}

// Client area of 337 x 261 (at 96 per inch), centred in the work area.
void SizeAndCentre(HWND dialog) {
  const int clientWidth = Dialog.Scale(CLIENT_WIDTH), clientHeight = Dialog.Scale(CLIENT_HEIGHT);
  RECT frame = {0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, GetWindowStyle(dialog), FALSE, GetWindowExStyle(dialog));
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame the system really draws decides; correct any difference.
  RECT client = {};
  GetClientRect(dialog, &client);
  width += clientWidth - client.right;
  height += clientHeight - client.bottom;

  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Close() { DestroyWindow(Dialog.Handle); }

// --- message handlers -------------------------------------------------------

BOOL OnInitDialog(HWND dialog, HWND, LPARAM) {
  Dialog.Handle = dialog;
  HDC screen = GetDC(nullptr);
  Dialog.Dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  Dialog.Font = CreateDialogFont();
  SizeAndCentre(dialog);
  CreateControls();
  CreateHints();

  // A path that comes back cut names no folder: nothing is read from it.
  PathText program;
  if (!program::Path(program)) program.Clear();
  program::Line line;
  program::CommandLine(line);
  error::Code error = 0;
  if (!fSetup.FormCreate(line, program, error)) PostMessageA(dialog, WM_UNREADABLE_SET, error, 0);
  ShowForm();
  SendMessageA(dialog, DM_SETDEFID, ID_OK, 0);
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Dialog.btnOk), TRUE);
  return FALSE;  // the focus is set
}

// Written and closed before the runner is asked to load it again.
void OnOk() {
  error::Code error = 0;
  switch (fSetup.btnOkClick(error)) {
    case OkOutcome::Saved:
      if (HWND runner = FindWindowA(RUNNER_CLASS_NAME, nullptr)) PostMessageA(runner, WM_RELOADSET, 0, 0);
      Close();
      break;
    case OkOutcome::Failed:
      ShowForm();
      ShowMessage(fSetup.SaveFailure(error), MB_OK | MB_ICONSTOP);
      break;
    case OkOutcome::Refused: break;
  }
}

template <class Handler>
void OnClicked(UINT code, Handler handler) {
  if (code != BN_CLICKED) return;
  (fSetup.*handler)();
  ShowForm();
}

void OnCommand(HWND, int id, HWND control, UINT code) {
  if (Dialog.Showing) return;  // the controls report what ShowForm puts there
  switch (id) {
    case ID_NAME_LIST:
      if (code == LBN_SELCHANGE) {
        fSetup.lbNameClick(ListBox_GetCurSel(control));
        ShowForm();  // a refused change puts the selection back
      }
      break;
    case ID_NAME:
    case ID_COMMAND:
      if (code == EN_CHANGE) {
        FieldText text;
        ReadFieldText(control, text);
        if (id == ID_NAME)
          fSetup.eNameChange(text);
        else
          fSetup.eCommandChange(text);
        ShowForm();
      }
      break;
    case ID_WINDOW_SIZE:
      if (code == CBN_SELCHANGE) fSetup.cbWindowSizeChange(ComboBox_GetCurSel(control));
      break;
    case ID_BROWSE:
      if (code == BN_CLICKED) BrowseForCommand();
      break;
    case ID_ADD: OnClicked(code, &TfSetup::btnAddClick); break;
    case ID_DELETE: OnClicked(code, &TfSetup::btnDeleteClick); break;
    case ID_UP: OnClicked(code, &TfSetup::btnUpClick); break;
    case ID_DOWN: OnClicked(code, &TfSetup::btnDownClick); break;
    case ID_OK:
      if (code == BN_CLICKED) OnOk();
      break;
    case ID_CANCEL:
      if (code == BN_CLICKED && fSetup.btnCancelClick()) Close();
      break;
    default: break;
  }
}

void OnDrawItem(HWND, const DRAWITEMSTRUCT* item) {
  if (item->CtlType != ODT_BUTTON) return;
  if (const GlyphButton* glyph = GlyphButtonOf(item->hwndItem)) DrawGlyphButton(*glyph, *item);
}

// The read-only hotkey field keeps the look of a field the user fills in.
HBRUSH OnCtlColorStatic(HWND, HDC dc, HWND control, int) {
  if (control != Dialog.eHotkey) return nullptr;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}

void OnSysColorChange(HWND) {
  for (GlyphButton& glyph : Dialog.Buttons) RefreshGreyedGlyph(glyph);
}

// Any other way of closing (the task bar, say) writes nothing, like Cancel.
void OnClose(HWND) { Close(); }

void OnDestroy(HWND) {
  for (GlyphButton& glyph : Dialog.Buttons) FreeGlyphButton(glyph);
  if (Dialog.Font) DeleteObject(Dialog.Font);
  Dialog.Font = nullptr;
  PostQuitMessage(0);
}

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return HANDLE_WM_INITDIALOG(dialog, wParam, lParam, OnInitDialog);
    case WM_COMMAND: HANDLE_WM_COMMAND(dialog, wParam, lParam, OnCommand); return TRUE;
    case WM_DRAWITEM: HANDLE_WM_DRAWITEM(dialog, wParam, lParam, OnDrawItem); return TRUE;
    case WM_CTLCOLORSTATIC: return HANDLE_WM_CTLCOLORSTATIC(dialog, wParam, lParam, OnCtlColorStatic);
    case WM_SYSCOLORCHANGE: HANDLE_WM_SYSCOLORCHANGE(dialog, wParam, lParam, OnSysColorChange); return TRUE;
    case WM_CLOSE: HANDLE_WM_CLOSE(dialog, wParam, lParam, OnClose); return TRUE;
    case WM_UNREADABLE_SET:
      ShowMessage(fSetup.ReadFailure(static_cast<error::Code>(wParam)), MB_OK | MB_ICONWARNING);
      return TRUE;
    case WM_DESTROY: HANDLE_WM_DESTROY(dialog, wParam, lParam, OnDestroy); return FALSE;
    default: return FALSE;
  }
}

bool RegisterSetupClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = DefDlgProcA;
  windowClass.cbWndExtra = DLGWINDOWEXTRA;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAIN_ICON);
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(
      instance, MAIN_ICON, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = SETUP_CLASS_NAME;
  return RegisterClassExA(&windowClass) != 0;
}

}  // namespace

const GlyphButton* GlyphButtonOf(HWND window) {
  for (const GlyphButton& glyph : Dialog.Buttons)
    if (window && glyph.Window == window) return &glyph;
  return nullptr;
}

HWND CreateSetupDialog(HINSTANCE instance) {
  Dialog.Instance = instance;
  if (!RegisterSetupClass(instance)) return nullptr;
  SetupTemplate setup = {};
  setup.Header.style = DIALOG_STYLE;
  setup.Header.dwExtendedStyle = DIALOG_EX_STYLE;
  CopyWide(setup.ClassName, SETUP_CLASS_NAME);
  CopyWide(setup.Caption, APP_TITLE);
  return CreateDialogIndirectParamA(instance, &setup.Header, nullptr, SetupDialogProc, 0);
}

int ShowMessage(std::string_view text, UINT style) {
  const WideText<MessageText::capacity()> wide(text);
  return MessageBoxW(Dialog.Handle, wide.c_str(), APP_TITLE_WIDE, style);
}
