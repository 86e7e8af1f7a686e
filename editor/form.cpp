// The editor's dialog: its window, every control at its place, the font and
// the hints, and the one dispatch that hands each message, with the dialog's
// state, to its handler.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <cstddef>

#include "accessible.h"
#include "control_ids.h"
#include "desktop.h"
#include "editor_resources.h"
#include "layout.h"
#include "runner_link.h"
#include "setup_dialog.h"

namespace {

constexpr char FONT_FACE[] = "MS Sans Serif";
constexpr int WINDOW_SIZE_ROWS = 3;
constexpr int FIT_ATTEMPTS = 3;
constexpr int LIST_BORDERS = 2;      // the open list's frame, top and bottom
constexpr int HINT_SHOW_MS = 20000;  // long hints need time to be read
constexpr int LABEL_CAPACITY = 15;   // the longest caption, "Window Size", and more
constexpr char MAIN_ICON[] = "MAINICON";

// Tool-window frame without any caption button, and still a button on the
// task bar.
constexpr DWORD DIALOG_STYLE = WS_POPUP | WS_CAPTION;
constexpr DWORD DIALOG_EX_STYLE = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

// Labels size themselves to their caption.
struct LabelCaption {
  int Id;
  const char* Caption;
};
constexpr LabelCaption NAME_LABEL = {ID_NAME_LABEL, "Name:"};
constexpr LabelCaption COMMAND_LABEL = {ID_COMMAND_LABEL, "Command"};
constexpr LabelCaption WINDOW_SIZE_LABEL = {ID_WINDOW_SIZE_LABEL, "Window Size"};
constexpr LabelCaption DRIVE_LABEL = {ID_DRIVE_LABEL, "Drive"};
constexpr LabelCaption HOTKEY_LABEL = {ID_HOTKEY_LABEL, "HotKey"};

// The list and the window size list are named for screen readers here; the
// fields take the name of the label just before them, but for the name
// field, whose label would be heard with its colon.
constexpr wchar_t NAME_LIST_NAME[] = L"Commands";
constexpr wchar_t NAME_FIELD_NAME[] = L"Name";
constexpr wchar_t WINDOW_SIZE_NAME[] = L"Window Size";

struct ButtonLayout {
  GlyphButtonIndex Index;
  int Id;
  const char* Caption;
  const wchar_t* Name;  // for screen readers
  int Picture;
  bool GlyphRight;
};
constexpr ButtonLayout BROWSE_BUTTON = {GB_BROWSE, ID_BROWSE, "..", L"Browse for a program", 0, false};
constexpr ButtonLayout LIST_BUTTONS[] = {
    {GB_ADD, ID_ADD, "A&dd     ", L"Add", IDB_GLYPH_ADD, false},
    {GB_DELETE, ID_DELETE, "D&elete", L"Delete", IDB_GLYPH_DELETE, false},
    {GB_UP, ID_UP, "&Up     ", L"Up", IDB_GLYPH_UP, false},
    {GB_DOWN, ID_DOWN, "Do&wn", L"Down", IDB_GLYPH_DOWN, false},
    {GB_OK, ID_OK, "&Ok", L"Ok", IDB_GLYPH_OK, true},
    {GB_CANCEL, ID_CANCEL, "C&ancel", L"Cancel", IDB_GLYPH_CANCEL, true},
};

constexpr const char* WINDOW_SIZE_ITEMS[] = {"Default", "Minimized", "Maximized"};

struct HintSpec {
  HWND SetupDialog::*Control;
  const char* Text;
};
constexpr HintSpec HINTS[] = {
    {&SetupDialog::NameField,
     "Type the text you want to appear on the menu for this command.\r\n"
     "Type just a hyphen (-) for a separator."},
    {&SetupDialog::CommandField,
     "Type the full command you want to execute.\r\n"
     "Some useful examples:\r\n"
     "explorer.exe /e, c:\\windows\r\n"
     "command.com /k cd c:\\windows\\temp\r\n"
     "d:\\mydir\\myprog.bat 1 2 asd\r\n"
     "start c:\\games\\drjam\\movies\\jammy.avi"},
    {&SetupDialog::WindowSizeList,
     "Determine how this program runs:\r\n"
     "Default, Minimized or Maximized,"},
    {&SetupDialog::DriveField,
     "Indicate on which drive this command should be executed.\r\n"
     "This can be important for some dos commands.\r\n"
     "Especially those that involve:  cd"},
    {&SetupDialog::HotkeyField,
     "Choose a hotkey for this command.\r\n"
     "Each hotkey much have a Ctrl or Alt in it.\r\n"
     "If you want to remove the hotkey. Just press Ctrl."},
};

// The dialog's template: no controls (they are made at their pixel places
// when the dialog starts), the editor's own window class and the caption.
// Aligned on a DWORD, as the system wants a template.
struct alignas(DWORD) SetupTemplate {
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

HFONT CreateDialogFont(int height) {
  LOGFONTA font = {};
  font.lfHeight = -height;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  lstrcpynA(font.lfFaceName, FONT_FACE, LF_FACESIZE);
  return CreateFontIndirectA(&font);
}

// A label as wide as its caption, and as high when that is higher.
Box LabelBox(const char* caption, Box box, HDC dc) {
  SIZE size = {};
  GetTextExtentPoint32A(dc, caption, lstrlenA(caption), &size);
  box.Width = size.cx;
  if (size.cy > box.Height) box.Height = size.cy;
  return box;
}

void MoveControl(HWND control, const Box& box) {
  SetWindowPos(control, nullptr, box.Left, box.Top, box.Width, box.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The list's rows as high as the layout's, its height trimmed to whole rows.
void PlaceNameList(HWND list, const Box& box, int rowHeight) {
  ListBox_SetItemHeight(list, 0, rowHeight);
  MoveControl(list, box);
}

// A drop-down list as high as the edits, opening on three rows.
void PlaceWindowSizeList(HWND combo, const Box& box) {
  // The closed height follows the selection field's height, one for one,
  // once that has been set: set it as it is, measure, and set it to fit.
  // Each setting resizes the control, so the window's height, which includes
  // the open list, is set once, last.
  const int row = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  int field = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  for (int attempt = 0; attempt < FIT_ATTEMPTS; ++attempt) {
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    RECT closed = {};
    GetWindowRect(combo, &closed);
    if (closed.bottom - closed.top == box.Height) break;
    field += box.Height - (closed.bottom - closed.top);
  }
  MoveControl(combo, {box.Left, box.Top, box.Width, box.Height + WINDOW_SIZE_ROWS * row + LIST_BORDERS});
}

// What making the controls needs: each is made at its place, in the
// dialog's font, and the labels are measured in it.
struct Making {
  SetupDialog& Dialog;
  const DialogLayout& Layout;
  HDC Dc;
};

HWND AddControl(const Making& making, const char* className, const char* text, DWORD style, DWORD exStyle,
                int id, const Box& box) {
  HWND control =
      CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, box.Left, box.Top, box.Width,
                      box.Height, making.Dialog.Handle, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      making.Dialog.Instance, nullptr);
  SetWindowFont(control, making.Dialog.Font, FALSE);
  return control;
}

void AddLabel(const Making& making, const LabelCaption& label) {
  AddControl(making, WC_STATICA, label.Caption, SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, label.Id,
             LabelBox(label.Caption, making.Layout.Of(label.Id), making.Dc));
}

HWND AddEdit(const Making& making, const LabelCaption& label, const char* text, DWORD style, int id) {
  AddLabel(making, label);
  return AddControl(making, WC_EDITA, text, WS_TABSTOP | style, WS_EX_CLIENTEDGE, id, making.Layout.Of(id));
}

void AddGlyphButton(const Making& making, const ButtonLayout& layout) {
  HWND button = AddControl(making, WC_BUTTONA, layout.Caption, WS_TABSTOP | BS_OWNERDRAW, 0, layout.Id,
                           making.Layout.Of(layout.Id));
  GlyphButton& glyph = making.Dialog.Buttons[layout.Index];
  MakeGlyphButton(glyph, button, layout.Picture, layout.GlyphRight, layout.Name);
  SizeGlyphButton(glyph, making.Dialog.Instance, making.Layout);
}

// In tab order, each label just before its field, as screen readers name a
// field after the label that comes before it.
void CreateControls(SetupDialog& dialog, const DialogLayout& layout) {
  HDC dc = GetDC(dialog.Handle);
  HGDIOBJ oldFont = SelectObject(dc, dialog.Font);
  const Making making = {dialog, layout, dc};
  dialog.NameList = AddControl(making, WC_LISTBOXA, "", WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_NOTIFY,
                               WS_EX_CLIENTEDGE, ID_NAME_LIST, layout.Of(ID_NAME_LIST));
  PlaceNameList(dialog.NameList, layout.Of(ID_NAME_LIST), layout.ListRowHeight);
  dialog.NameField = AddEdit(making, NAME_LABEL, "", ES_AUTOHSCROLL, ID_NAME);
  dialog.CommandField = AddEdit(making, COMMAND_LABEL, "", ES_AUTOHSCROLL, ID_COMMAND);
  for (HWND edit : {dialog.NameField, dialog.CommandField}) Edit_LimitText(edit, FieldText::capacity());
  AddGlyphButton(making, BROWSE_BUTTON);
  AddLabel(making, WINDOW_SIZE_LABEL);
  dialog.WindowSizeList = AddControl(making, WC_COMBOBOXA, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                                     ID_WINDOW_SIZE, layout.Of(ID_WINDOW_SIZE));
  for (const char* item : WINDOW_SIZE_ITEMS) ComboBox_AddString(dialog.WindowSizeList, item);
  PlaceWindowSizeList(dialog.WindowSizeList, layout.Of(ID_WINDOW_SIZE));
  dialog.DriveField = AddEdit(making, DRIVE_LABEL, " ", 0, ID_DRIVE);
  MakeDriveField(dialog);
  dialog.HotkeyField = AddEdit(making, HOTKEY_LABEL, "", ES_AUTOHSCROLL | ES_READONLY, ID_HOTKEY);
  MakeHotkeyField(dialog);
  for (const ButtonLayout& button : LIST_BUTTONS) AddGlyphButton(making, button);
  SelectObject(dc, oldFont);
  ReleaseDC(dialog.Handle, dc);
}

void CreateHints(SetupDialog& dialog, const DialogLayout& layout) {
  HWND hints = CreateWindowExA(
      WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog.Handle, nullptr, dialog.Instance, nullptr);
  dialog.Hints = hints;
  if (!hints) return;
  SendMessageA(hints, TTM_SETMAXTIPWIDTH, 0, layout.HintWidth);
  SendMessageA(hints, TTM_SETDELAYTIME, TTDT_AUTOPOP, HINT_SHOW_MS);
  for (const HintSpec& hint : HINTS) {
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog.Handle;
    tool.uId = reinterpret_cast<UINT_PTR>(dialog.*hint.Control);
    tool.lpszText = const_cast<char*>(hint.Text);
    SendMessageA(hints, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// Every control moved to its place at the dialog's new resolution, in a font
// made for it, with pictures drawn for it; the hints as wide again. The
// caller has the dialog drawn anew.
void LayOutAgain(SetupDialog& dialog) {
  const DialogLayout layout = LayOutDialog(dialog.Dpi);
  HFONT oldFont = dialog.Font;
  dialog.Font = CreateDialogFont(layout.FontHeight);
  HDC dc = GetDC(dialog.Handle);
  HGDIOBJ dcFont = SelectObject(dc, dialog.Font);
  for (HWND control = GetWindow(dialog.Handle, GW_CHILD); control;
       control = GetWindow(control, GW_HWNDNEXT)) {
    SetWindowFont(control, dialog.Font, FALSE);
    const Box box = layout.Of(GetDlgCtrlID(control));
    if (box.Height == 0) continue;  // none of the layout's
    if (box.Width == 0) {
      char caption[LABEL_CAPACITY + 1] = {};
      GetWindowTextA(control, caption, sizeof caption);
      MoveControl(control, LabelBox(caption, box, dc));
    } else if (control == dialog.NameList) {
      PlaceNameList(control, box, layout.ListRowHeight);
    } else if (control == dialog.WindowSizeList) {
      PlaceWindowSizeList(control, box);
    } else {
      MoveControl(control, box);
    }
  }
  SelectObject(dc, dcFont);
  ReleaseDC(dialog.Handle, dc);
  if (oldFont) DeleteObject(oldFont);
  for (GlyphButton& glyph : dialog.Buttons) SizeGlyphButton(glyph, dialog.Instance, layout);
  if (dialog.Hints) SendMessageA(dialog.Hints, TTM_SETMAXTIPWIDTH, 0, layout.HintWidth);
}

// The layout's client area, centred in the work area.
void SizeAndCentre(const SetupDialog& dialog, const DialogLayout& layout) {
  HWND window = dialog.Handle;
  const int clientWidth = layout.ClientWidth, clientHeight = layout.ClientHeight;
  RECT frame = {0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, GetWindowStyle(window), FALSE, GetWindowExStyle(window));
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame the system really draws decides; correct any difference.
  RECT client = {};
  GetClientRect(window, &client);
  width += clientWidth - client.right;
  height += clientHeight - client.bottom;

  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// A function of user32 that Windows 7 lacks; null there.
template <typename Call>
Call NewerUserCall(const char* name) {
  return reinterpret_cast<Call>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// The resolution of the window's monitor, where the system tells it (Windows
// 10 and later); else the screen's.
int DpiOf(HWND window) {
  const auto getDpi = NewerUserCall<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (getDpi)
    if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// Windows 10 would also scale the dialog itself on a change of resolution,
// by its template's font; this one is laid out in pixels, by LayOut alone.
void TakeOverDpiChanges(HWND window) {
  constexpr int DISABLE_ALL_BEHAVIOURS = 1;  // DDC_DISABLE_ALL
  if (const auto set = NewerUserCall<BOOL(WINAPI*)(HWND, int, int)>("SetDialogDpiChangeBehavior"))
    set(window, DISABLE_ALL_BEHAVIOURS, DISABLE_ALL_BEHAVIOURS);
}

// --- message handlers -------------------------------------------------------

void OnInitDialog(SetupDialog& dialog, HWND window) {
  dialog.Handle = window;
  dialog.Dpi = DpiOf(window);
  TakeOverDpiChanges(window);
  const DialogLayout layout = LayOutDialog(dialog.Dpi);
  dialog.Font = CreateDialogFont(layout.FontHeight);
  SizeAndCentre(dialog, layout);
  CreateControls(dialog, layout);
  CreateHints(dialog, layout);

  desktop::StartUp startUp;
  desktop::ReadStartUp(startUp);
  error::Code error = 0;
  if (!dialog.Form.Open(startUp.CommandLine, startUp.ProgramPath, error))
    PostMessageA(window, WM_UNREADABLE_SET, error, 0);
  if (dialog.Form.SetIsCut()) PostMessageA(window, WM_CUT_SET, 0, 0);
  ShowForm(dialog);
  // Named once filled: under Wine every message that passes a subclass costs
  // a call to the server.
  NameControl(dialog.NameList, NAME_LIST_NAME);
  NameControl(dialog.NameField, NAME_FIELD_NAME);
  NameControl(dialog.WindowSizeList, WINDOW_SIZE_NAME);
  SendMessageA(window, DM_SETDEFID, ID_OK, 0);
  SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(dialog.Button(GB_OK)), TRUE);
}

// Written and closed before the runner is asked to load it again.
void OnOk(SetupDialog& dialog) {
  error::Code error = 0;
  switch (dialog.Form.Ok(error)) {
    case OkOutcome::Saved:
      if (HWND runner = FindWindowA(RUNNER_CLASS_NAME, nullptr)) PostMessageA(runner, WM_RELOADSET, 0, 0);
      DestroyWindow(dialog.Handle);
      break;
    case OkOutcome::Failed:
      ShowForm(dialog);
      desktop::ShowMessage(dialog.Handle, dialog.Form.SaveFailure(error), APP_TITLE_WIDE,
                           MB_OK | MB_ICONSTOP);
      break;
    case OkOutcome::Refused: ShowDriveRefusal(dialog); break;
  }
}

void OnClicked(SetupDialog& dialog, UINT code, void (SetupForm::*action)()) {
  if (code != BN_CLICKED) return;
  (dialog.Form.*action)();
  ShowForm(dialog);
}

void OnCommand(SetupDialog& dialog, int id, HWND control, UINT code) {
  if (dialog.Showing) return;  // the controls report what ShowForm puts there
  SetupForm& form = dialog.Form;
  switch (id) {
    case ID_NAME_LIST:
      if (code == LBN_SELCHANGE) {
        form.SelectCommand(ListBox_GetCurSel(control));
        ShowForm(dialog);  // a refused change puts the selection back
      }
      break;
    case ID_NAME:
    case ID_COMMAND:
      if (code == EN_CHANGE) {
        FieldText text;
        ReadFieldText(control, text);
        if (id == ID_NAME)
          form.SetName(text);
        else
          form.SetCommand(text);
        ShowForm(dialog);
      }
      break;
    case ID_WINDOW_SIZE:
      if (code == CBN_SELCHANGE) form.SetWindowSize(ComboBox_GetCurSel(control));
      break;
    case ID_BROWSE:
      if (code == BN_CLICKED) BrowseForCommand(dialog);
      break;
    case ID_ADD: OnClicked(dialog, code, &SetupForm::Add); break;
    case ID_DELETE: OnClicked(dialog, code, &SetupForm::Delete); break;
    case ID_UP: OnClicked(dialog, code, &SetupForm::MoveUp); break;
    case ID_DOWN: OnClicked(dialog, code, &SetupForm::MoveDown); break;
    case ID_OK:
      if (code == BN_CLICKED) OnOk(dialog);
      break;
    case ID_CANCEL:
      if (code == BN_CLICKED && form.CanCancel()) DestroyWindow(dialog.Handle);
      break;
    default: break;
  }
}

// The read-only hotkey field keeps the look of a field the user fills in.
HBRUSH OnCtlColorStatic(const SetupDialog& dialog, HDC dc, HWND control) {
  if (control != dialog.HotkeyField) return nullptr;
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}

// Moved to a monitor of another resolution: the system's place for the
// window, and everything laid out again for the new resolution.
void OnDpiChanged(SetupDialog& dialog, int dpi, const RECT& suggested) {
  SetWindowPos(dialog.Handle, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  dialog.Dpi = dpi;
  LayOutAgain(dialog);
  // Moved controls leave what they drew at their old places behind.
  RedrawWindow(dialog.Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void OnDestroy(SetupDialog& dialog) {
  if (dialog.Font) DeleteObject(dialog.Font);
  dialog.Font = nullptr;
  PostQuitMessage(0);
}

// The dialog's state comes with WM_INITDIALOG and is kept with the window;
// what comes before it is the system's alone.
INT_PTR CALLBACK SetupDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    OnInitDialog(*reinterpret_cast<SetupDialog*>(lParam), window);
    return FALSE;  // the focus is set
  }
  auto* state = reinterpret_cast<SetupDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!state) return FALSE;
  SetupDialog& dialog = *state;
  switch (message) {
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return TRUE;
    case WM_DRAWITEM: return DrawGlyphButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(
          OnCtlColorStatic(dialog, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_SYSCOLORCHANGE:
      for (GlyphButton& glyph : dialog.Buttons) RefreshGlyphColours(glyph);
      return TRUE;
    case WM_DPICHANGED:
      OnDpiChanged(dialog, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return TRUE;
    case WM_CLOSE:  // any other way of closing (the task bar, say) writes nothing, like Cancel
      DestroyWindow(window);
      return TRUE;
    case WM_UNREADABLE_SET:
      desktop::ShowMessage(window, dialog.Form.ReadFailure(static_cast<error::Code>(wParam)), APP_TITLE_WIDE,
                           MB_OK | MB_ICONWARNING);
      return TRUE;
    case WM_CUT_SET:
      desktop::ShowMessage(window, dialog.Form.CutSetNotice(), APP_TITLE_WIDE, MB_OK | MB_ICONWARNING);
      return TRUE;
    case WM_BROWSED: TakeBrowsedProgram(dialog); return TRUE;
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
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

HWND CreateSetupDialog(HINSTANCE instance, SetupDialog& dialog) {
  dialog.Instance = instance;
  if (!RegisterSetupClass(instance)) return nullptr;
  SetupTemplate setup = {};
  setup.Header.style = DIALOG_STYLE;
  setup.Header.dwExtendedStyle = DIALOG_EX_STYLE;
  CopyWide(setup.ClassName, SETUP_CLASS_NAME);
  CopyWide(setup.Caption, APP_TITLE);
  return CreateDialogIndirectParamA(instance, &setup.Header, nullptr, SetupDialogProc,
                                    reinterpret_cast<LPARAM>(&dialog));
}
