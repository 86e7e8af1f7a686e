// The floor larkedit is measured against: the least Win32 program that shows
// the editor's dialog on a command set and nothing else. A window class, a
// dialog of the same size with the same controls and hints, the set file
// beside the program read in one go, the list and the fields filled from it,
// shown, and a message loop. Laid out in pixels at 96 per inch, the bench's
// resolution.
#include <windows.h>
#include <commctrl.h>

namespace {

constexpr char CLASS_NAME[] = "TasklarkEditorReference";
constexpr WCHAR CLASS_NAME_WIDE[] = L"TasklarkEditorReference";
constexpr char SET_FILE_NAME[] = "Tasklark.dat";
constexpr DWORD DIALOG_STYLE = WS_POPUP | WS_CAPTION;
constexpr DWORD DIALOG_EX_STYLE = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
constexpr int CLIENT_WIDTH = 337;
constexpr int CLIENT_HEIGHT = 261;
constexpr int FONT_HEIGHT = -11;  // 8 points at 96 per inch
constexpr char FONT_FACE[] = "MS Sans Serif";
constexpr int FIRST_CONTROL_ID = 101;

// A record of the set file (common/command_record.h): 312 bytes, integers
// little-endian.
constexpr int MAX_RECORDS = 30;
constexpr int NAME_CAPACITY = 40;
constexpr int COMMAND_CAPACITY = 255;
struct Record {
  BYTE NameLength;
  char Name[NAME_CAPACITY];
  BYTE CommandLength;
  char Command[COMMAND_CAPACITY];
  BYTE Filler1[3];
  INT32 ShowCmd;
  char Drive;
  char Ctrl, Alt, Shift;  // '1' when held
  char Key;
  BYTE Filler2[3];
};
static_assert(sizeof(Record) == 312, "the set file's record");

// The dialog's template: no controls, the reference's window class, and the
// class name as its caption.
struct alignas(DWORD) DialogTemplate {
  DLGTEMPLATE Header;
  WORD Menu;
  WCHAR ClassName[sizeof CLASS_NAME];
  WCHAR Caption[sizeof CLASS_NAME];
};

struct Control {
  const char* ClassName;
  const char* Text;
  DWORD Style, ExStyle;
  int Left, Top, Width, Height;
  const char* Hint;
};

enum ControlIndex {
  NAME_LABEL,
  COMMAND_LABEL,
  WINDOW_SIZE_LABEL,
  DRIVE_LABEL,
  HOTKEY_LABEL,
  NAME_LIST,
  NAME,
  COMMAND,
  BROWSE,
  WINDOW_SIZE,
  DRIVE,
  HOTKEY,
  ADD,
  DELETE_BUTTON,
  UP,
  DOWN,
  OK,
  CANCEL,
  CONTROL_COUNT
};

constexpr DWORD EDIT = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD BUTTON = WS_TABSTOP | BS_PUSHBUTTON;
constexpr Control CONTROLS[CONTROL_COUNT] = {
    {"Static", "Name:", SS_LEFT, 0, 134, 3, 40, 13, nullptr},
    {"Static", "Command", SS_LEFT, 0, 134, 44, 60, 13, nullptr},
    {"Static", "Window Size", SS_LEFT, 0, 134, 84, 80, 13, nullptr},
    {"Static", "Drive", SS_LEFT, 0, 300, 84, 30, 13, nullptr},
    {"Static", "HotKey", SS_LEFT, 0, 130, 125, 40, 13, nullptr},
    {"ListBox", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY, WS_EX_CLIENTEDGE, 5, 5, 121, 251, nullptr},
    {"Edit", "", EDIT, WS_EX_CLIENTEDGE, 129, 20, 198, 21, "The text of this command on the menu."},
    {"Edit", "", EDIT, WS_EX_CLIENTEDGE, 128, 60, 179, 21, "The command to run."},
    {"Button", "..", BUTTON, 0, 307, 60, 19, 21, nullptr},
    {"ComboBox", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 128, 100, 145, 64, "How it runs."},
    {"Edit", "", WS_TABSTOP, WS_EX_CLIENTEDGE, 308, 100, 18, 21, "The drive it runs on."},
    {"Edit", "", EDIT | ES_READONLY, WS_EX_CLIENTEDGE, 130, 141, 121, 21, "Its hotkey."},
    {"Button", "Add", BUTTON, 0, 128, 165, 75, 23, nullptr},
    {"Button", "Delete", BUTTON, 0, 128, 188, 75, 23, nullptr},
    {"Button", "Up", BUTTON, 0, 128, 211, 75, 23, nullptr},
    {"Button", "Down", BUTTON, 0, 128, 234, 75, 23, nullptr},
    {"Button", "Ok", BUTTON, 0, 259, 188, 75, 23, nullptr},
    {"Button", "Cancel", BUTTON, 0, 259, 234, 75, 23, nullptr},
};

constexpr const char* WINDOW_SIZES[] = {"Default", "Minimized", "Maximized"};
enum WindowSizeIndex { ITEM_DEFAULT, ITEM_MINIMIZED, ITEM_MAXIMIZED };
constexpr int HOTKEY_TEXT_CAPACITY = 31;

INT_PTR CALLBACK ReferenceDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_CLOSE: DestroyWindow(dialog); return TRUE;
    case WM_DESTROY: PostQuitMessage(0); return FALSE;
    default: return FALSE;
  }
}

// Reads the set file beside the program; the number of records read.
int ReadSet(Record (&records)[MAX_RECORDS]) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  while (length > 0 && path[length - 1] != '\\') --length;
  lstrcpynA(path + length, SET_FILE_NAME, MAX_PATH - static_cast<int>(length));
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  DWORD read = 0;
  ReadFile(file, records, sizeof records, &read, nullptr);
  CloseHandle(file);
  return static_cast<int>(read / sizeof(Record));
}

// A stored text as a C string: the length byte, then up to the field's
// capacity of characters.
void CopyStored(char* to, BYTE length, const char* chars, int capacity) {
  lstrcpynA(to, chars, (length < capacity ? length : capacity) + 1);
}

void ShowRecord(const Record& record, const HWND (&controls)[CONTROL_COUNT]) {
  char text[COMMAND_CAPACITY + 1];
  CopyStored(text, record.NameLength, record.Name, NAME_CAPACITY);
  SetWindowTextA(controls[NAME], text);
  CopyStored(text, record.CommandLength, record.Command, COMMAND_CAPACITY);
  SetWindowTextA(controls[COMMAND], text);
  const int windowSize = record.ShowCmd == SW_SHOWMINIMIZED   ? ITEM_MINIMIZED
                         : record.ShowCmd == SW_SHOWMAXIMIZED ? ITEM_MAXIMIZED
                                                              : ITEM_DEFAULT;
  SendMessageA(controls[WINDOW_SIZE], CB_SETCURSEL, windowSize, 0);
  const char drive[] = {record.Drive, '\0'};
  SetWindowTextA(controls[DRIVE], drive);
  char hotkey[HOTKEY_TEXT_CAPACITY + 1] = "";
  if (record.Shift == '1') lstrcatA(hotkey, "Shift+");
  if (record.Ctrl == '1') lstrcatA(hotkey, "Ctrl+");
  if (record.Alt == '1') lstrcatA(hotkey, "Alt+");
  const char key = record.Key;
  const char keyText[] = {key >= 'a' && key <= 'z' ? static_cast<char>(key - 'a' + 'A') : key, '\0'};
  lstrcatA(hotkey, keyText);
  SetWindowTextA(controls[HOTKEY], hotkey);
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX common = {sizeof common, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefDlgProcA;
  windowClass.cbWndExtra = DLGWINDOWEXTRA;
  windowClass.hInstance = module;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = CLASS_NAME;
  RegisterClassA(&windowClass);
  DialogTemplate setup = {};
  setup.Header.style = DIALOG_STYLE;
  setup.Header.dwExtendedStyle = DIALOG_EX_STYLE;
  lstrcpyW(setup.ClassName, CLASS_NAME_WIDE);
  lstrcpyW(setup.Caption, CLASS_NAME_WIDE);
  HWND dialog = CreateDialogIndirectParamA(module, &setup.Header, nullptr, ReferenceDialogProc, 0);
  if (!dialog) return 1;

  // Client area of 337 x 261, centred in the work area.
  RECT frame = {0, 0, CLIENT_WIDTH, CLIENT_HEIGHT}, work = {};
  AdjustWindowRectEx(&frame, DIALOG_STYLE, FALSE, DIALOG_EX_STYLE);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(dialog, nullptr, (work.left + work.right - width) / 2, (work.top + work.bottom - height) / 2,
               width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  LOGFONTA font = {};
  font.lfHeight = FONT_HEIGHT;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  lstrcpynA(font.lfFaceName, FONT_FACE, LF_FACESIZE);
  HFONT dialogFont = CreateFontIndirectA(&font);
  HWND controls[CONTROL_COUNT];
  HWND hints =
      CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, module, nullptr);
  for (int i = 0; i < CONTROL_COUNT; ++i) {
    const Control& c = CONTROLS[i];
    controls[i] = CreateWindowExA(
        c.ExStyle, c.ClassName, c.Text, WS_CHILD | WS_VISIBLE | c.Style, c.Left, c.Top, c.Width, c.Height,
        dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(FIRST_CONTROL_ID + i)), module, nullptr);
    SendMessageA(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    if (!c.Hint) continue;
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(controls[i]);
    tool.lpszText = const_cast<char*>(c.Hint);
    SendMessageA(hints, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  for (const char* item : WINDOW_SIZES)
    SendMessageA(controls[WINDOW_SIZE], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));

  Record records[MAX_RECORDS];
  const int count = ReadSet(records);
  for (int i = 0; i < count; ++i) {
    char name[NAME_CAPACITY + 1];
    CopyStored(name, records[i].NameLength, records[i].Name, NAME_CAPACITY);
    SendMessageA(controls[NAME_LIST], LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  if (count > 0) {
    SendMessageA(controls[NAME_LIST], LB_SETCURSEL, 0, 0);
    ShowRecord(records[0], controls);
  }
  ShowWindow(dialog, SW_SHOWNORMAL);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  DeleteObject(dialogFont);
  return 0;
}
