// The two fields that are not typed into as text: the one-letter drive field
// and the hotkey field, which takes key combinations. Both hand every key to
// fSetup and show what it makes of it.
#include <windows.h>
#include <commctrl.h>

#include "control_ids.h"
#include "messages.h"
#include "setup_dialog.h"

namespace {

constexpr UINT_PTR FIELD_SUBCLASS_ID = 1;

constexpr char INVALID_INPUT[] = "Invalid input value.  Use escape key to abandon changes.";

constexpr char CTRL_C = 0x03;
constexpr char CTRL_V = 0x16;
constexpr char CTRL_X = 0x18;
constexpr char ESCAPE = 0x1B;

// Bit 29 of a key message's data: Alt is held.
constexpr LPARAM ALT_CONTEXT_BIT = LPARAM(1) << 29;

// The drive field shows fSetup's letter with the caret after it.
void ShowDrive(HWND edit) {
  ShowForm();
  const int caret = fSetup.Fields.Drive == DRIVE_BLANK ? 0 : 1;
  SendMessageA(edit, EM_SETSEL, caret, caret);
}

void TypeDrive(HWND edit, char c) {
  if (fSetup.DriveKey(c))
    ShowDrive(edit);
  else
    MessageBeep(MB_OK);
}

void ClearDrive(HWND edit) {
  fSetup.DriveClear();
  ShowDrive(edit);
}

// The first character on the clipboard, typed.
void PasteDrive(HWND edit) {
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
  TypeDrive(edit, c);
}

void OnDriveChar(HWND edit, char c) {
  switch (c) {
    case VK_BACK: ClearDrive(edit); break;
    case CTRL_C: DefSubclassProc(edit, WM_COPY, 0, 0); break;
    case CTRL_V: PasteDrive(edit); break;
    case CTRL_X:
      DefSubclassProc(edit, WM_COPY, 0, 0);
      ClearDrive(edit);
      break;
    case ESCAPE: break;  // handled as a key
    default: TypeDrive(edit, c); break;
  }
}

bool LeavesWithinDialog(HWND edit, HWND to) { return to && to != edit && IsChild(GetParent(edit), to); }

// A refused leave: the focus goes back and the user is told.
void CheckLeave(HWND edit) {
  if (!fSetup.DriveRefused() || GetFocus() == edit || !LeavesWithinDialog(edit, GetFocus())) return;
  ReleaseCapture();  // a button pressed on the way out is not clicked
  MessageBeep(MB_OK);
  SetFocus(edit);
  MessageBoxA(GetParent(edit), INVALID_INPUT, APP_TITLE, MB_OK | MB_ICONSTOP);
}

LRESULT CALLBACK DriveFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = DefSubclassProc(edit, message, wParam, lParam);
      const MSG* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE && fSetup.DriveHoldsChange())
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        if (fSetup.DriveEscape()) {
          ShowForm();
          SendMessageA(edit, EM_SETSEL, 0, -1);
        }
        return 0;
      }
      if (wParam == VK_DELETE) {
        ClearDrive(edit);
        return 0;
      }
      break;
    case WM_CHAR: OnDriveChar(edit, static_cast<char>(wParam)); return 0;
    case WM_PASTE: PasteDrive(edit); return 0;
    case WM_CUT: OnDriveChar(edit, CTRL_X); return 0;
    case WM_CLEAR: ClearDrive(edit); return 0;
    case WM_UNDO:
    case EM_UNDO: return FALSE;
    case WM_SETFOCUS: fSetup.DriveEnter(); break;
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      if (LeavesWithinDialog(edit, reinterpret_cast<HWND>(wParam)) && fSetup.DriveLeave())
        PostMessageA(edit, WM_CHECKLEAVE, 0, 0);
      return result;
    }
    case WM_CHECKLEAVE: CheckLeave(edit); return 0;
    default: break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

TShiftState ShiftStateOf(LPARAM keyData) {
  TShiftState shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= SS_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) shift |= SS_CTRL;
  if (keyData & ALT_CONTEXT_BIT) shift |= SS_ALT;
  return shift;
}

bool IsKeyDown(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

// A combination with Ctrl or Alt is the field's, not the dialog's: Alt+O
// becomes a hotkey here and does not also press Ok, Ctrl+Tab does not move on.
LRESULT CALLBACK HotkeyFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_GETDLGCODE) {
    // The read-only field keeps its text unselected when entered.
    LRESULT code = DefSubclassProc(edit, message, wParam, lParam) & ~DLGC_HASSETSEL;
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg && IsKeyDown(msg->message) && (ShiftStateOf(msg->lParam) & (SS_CTRL | SS_ALT)))
      code |= DLGC_WANTMESSAGE;
    return code;
  }
  if (IsKeyDown(message) && fSetup.eHotkeyKeyDown(static_cast<std::uint16_t>(wParam), ShiftStateOf(lParam))) {
    ShowForm();
    // The characters the key press was translated into go nowhere.
    MSG typed;
    while (PeekMessageA(&typed, edit, WM_CHAR, WM_CHAR, PM_REMOVE) ||
           PeekMessageA(&typed, edit, WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE)) {
    }
    return 0;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void MakeDriveField(HWND edit) { SetWindowSubclass(edit, DriveFieldProc, FIELD_SUBCLASS_ID, 0); }

void MakeHotkeyField(HWND edit) { SetWindowSubclass(edit, HotkeyFieldProc, FIELD_SUBCLASS_ID, 0); }
