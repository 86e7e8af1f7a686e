#include "drive_field.h"

#include "control_ids.h"
#include "field_text.h"

namespace {

constexpr char BLANK = ' ';
constexpr char INVALID_INPUT[] = "Invalid input value.  Use escape key to abandon changes.";
// Posted to the field when it was left empty: checked once the focus has
// settled, so that a click elsewhere cannot press a button meanwhile.
constexpr UINT WM_CHECKLEAVE = WM_APP + 1;

constexpr char CTRL_C = 0x03;
constexpr char CTRL_V = 0x16;
constexpr char CTRL_X = 0x18;
constexpr char ESCAPE = 0x1B;

DriveField& FieldOf(HWND edit) {
  return *reinterpret_cast<DriveField*>(GetWindowLongPtrA(edit, GWLP_USERDATA));
}

bool HoldsChange(HWND edit) { return DriveLetter(edit) != FieldOf(edit).Entered; }

char UpperCase(char letter) {
  CharUpperBuffA(&letter, 1);
  return letter;
}

// Puts the one character into the field, the caret after a letter.
void Put(HWND edit, char c) {
  const char text[] = {c, '\0'};
  SetFieldText(edit, std::string_view(text, 1));
  const int caret = c == BLANK ? 0 : 1;
  SendMessageA(edit, EM_SETSEL, caret, caret);
}

void Type(HWND edit, char c) {
  if (IsCharAlphaA(c))
    Put(edit, UpperCase(c));
  else
    MessageBeep(MB_OK);
}

// The first character on the clipboard, typed.
void Paste(HWND edit) {
  char c = '\0';
  if (OpenClipboard(edit)) {
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      if (const char* text = static_cast<const char*>(GlobalLock(data))) {
        c = text[0];
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
  }
  Type(edit, c);
}

void Cut(DriveField& field, HWND edit) {
  CallWindowProcA(field.BaseProc, edit, WM_COPY, 0, 0);
  Put(edit, BLANK);
}

void OnChar(DriveField& field, HWND edit, char c) {
  switch (c) {
    case VK_BACK: Put(edit, BLANK); break;
    case CTRL_C: CallWindowProcA(field.BaseProc, edit, WM_CHAR, static_cast<unsigned char>(c), 0); break;
    case CTRL_V: Paste(edit); break;
    case CTRL_X: Cut(field, edit); break;
    case ESCAPE: break;  // handled as a key
    default: Type(edit, c); break;
  }
}

// Escape with a change gives back what the field held on entry.
void Restore(DriveField& field, HWND edit) {
  Put(edit, field.Entered);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  field.HoldsRefusedEdit = false;
}

bool LeavesWithinDialog(HWND edit, HWND to) { return to && to != edit && IsChild(GetParent(edit), to); }

void OnKillFocus(DriveField& field, HWND edit, HWND to) {
  if (!LeavesWithinDialog(edit, to)) return;  // another program, or the error box
  if (HoldsChange(edit) && DriveLetter(edit) == BLANK)
    PostMessageA(edit, WM_CHECKLEAVE, 0, 0);
  else
    field.HoldsRefusedEdit = false;
}

void CheckLeave(DriveField& field, HWND edit) {
  HWND dialog = GetParent(edit);
  HWND focus = GetFocus();
  if (focus == edit) return;
  if (!LeavesWithinDialog(edit, focus) || !HoldsChange(edit) || DriveLetter(edit) != BLANK) {
    field.HoldsRefusedEdit = false;  // filled in meanwhile (another record shown, say)
    return;
  }
  ReleaseCapture();  // a button pressed on the way out is not clicked
  MessageBeep(MB_OK);
  field.HoldsRefusedEdit = true;
  SetFocus(edit);
  MessageBoxA(dialog, INVALID_INPUT, APP_TITLE, MB_OK | MB_ICONSTOP);
}

LRESULT CALLBACK DriveFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  DriveField& field = FieldOf(edit);
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = CallWindowProcA(field.BaseProc, edit, message, wParam, lParam);
      const MSG* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE && HoldsChange(edit))
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        if (HoldsChange(edit)) Restore(field, edit);
        return 0;
      }
      if (wParam == VK_DELETE) {
        Put(edit, BLANK);
        return 0;
      }
      break;
    case WM_CHAR:
      OnChar(field, edit, static_cast<char>(wParam));
      return 0;
    case WM_PASTE:
      Paste(edit);
      return 0;
    case WM_CUT:
      Cut(field, edit);
      return 0;
    case WM_CLEAR:
      Put(edit, BLANK);
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      return FALSE;
    case WM_SETFOCUS:
      if (!field.HoldsRefusedEdit) field.Entered = DriveLetter(edit);
      break;
    case WM_KILLFOCUS: {
      LRESULT result = CallWindowProcA(field.BaseProc, edit, message, wParam, lParam);
      OnKillFocus(field, edit, reinterpret_cast<HWND>(wParam));
      return result;
    }
    case WM_CHECKLEAVE:
      CheckLeave(field, edit);
      return 0;
    default:
      break;
  }
  return CallWindowProcA(field.BaseProc, edit, message, wParam, lParam);
}

}  // namespace

void MakeDriveField(DriveField& field, HWND edit) {
  field.Entered = BLANK;
  field.HoldsRefusedEdit = false;
  SetWindowTextA(edit, " ");
  SetWindowLongPtrA(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&field));
  field.BaseProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DriveFieldProc)));
}

void ShowDrive(HWND edit, char drive) {
  const char text[] = {IsCharAlphaA(drive) ? UpperCase(drive) : BLANK, '\0'};
  SetFieldText(edit, std::string_view(text, 1));
}

char DriveLetter(HWND edit) {
  char text[2] = {};
  GetWindowTextA(edit, text, sizeof text);
  return text[0] ? text[0] : BLANK;
}
