// The two fields that are not typed into as text: the one-letter drive field
// and the hotkey field, which takes key combinations. Both hand every key to
// the form and show what it makes of it; each is handed the dialog with its
// subclass.
#include <windows.h>
#include <commctrl.h>

#include "control_ids.h"
#include "desktop.h"
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

// The drive field shows the form's letter with the caret after it.
void ShowDrive(SetupDialog& dialog) {
  ShowForm(dialog);
  const int caret = dialog.Form.Fields.Drive == DRIVE_BLANK ? 0 : 1;
  SendMessageA(dialog.DriveField, EM_SETSEL, caret, caret);
}

void TypeDrive(SetupDialog& dialog, char c) {
  if (dialog.Form.TypeDrive(c))
    ShowDrive(dialog);
  else
    MessageBeep(MB_OK);
}

void ClearDrive(SetupDialog& dialog) {
  dialog.Form.ClearDrive();
  ShowDrive(dialog);
}

// The first character on the clipboard, typed.
void PasteDrive(SetupDialog& dialog) {
  char c = '\0';
  if (OpenClipboard(dialog.DriveField)) {
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      if (const char* text = static_cast<const char*>(GlobalLock(data))) {
        c = text[0];
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
  }
  TypeDrive(dialog, c);
}

void OnDriveChar(SetupDialog& dialog, char c) {
  switch (c) {
    case VK_BACK: ClearDrive(dialog); break;
    case CTRL_C: DefSubclassProc(dialog.DriveField, WM_COPY, 0, 0); break;
    case CTRL_V: PasteDrive(dialog); break;
    case CTRL_X:
      DefSubclassProc(dialog.DriveField, WM_COPY, 0, 0);
      ClearDrive(dialog);
      break;
    case ESCAPE: break;  // handled as a key
    default: TypeDrive(dialog, c); break;
  }
}

bool LeavesWithinDialog(const SetupDialog& dialog, HWND to) {
  return to && to != dialog.DriveField && IsChild(dialog.Handle, to);
}

// A refused leave, once the focus has settled on another control.
void CheckLeave(const SetupDialog& dialog) {
  if (dialog.Form.DriveRefused() && GetFocus() != dialog.DriveField && LeavesWithinDialog(dialog, GetFocus()))
    ShowDriveRefusal(dialog);
}

LRESULT CALLBACK DriveFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR data) {
  SetupDialog& dialog = *reinterpret_cast<SetupDialog*>(data);
  SetupForm& form = dialog.Form;
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = DefSubclassProc(edit, message, wParam, lParam);
      const MSG* msg = reinterpret_cast<const MSG*>(lParam);
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE && form.DriveChanged())
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        if (form.UndoDrive()) {
          ShowForm(dialog);
          SendMessageA(edit, EM_SETSEL, 0, -1);
        }
        return 0;
      }
      if (wParam == VK_DELETE) {
        ClearDrive(dialog);
        return 0;
      }
      break;
    case WM_CHAR: OnDriveChar(dialog, static_cast<char>(wParam)); return 0;
    case WM_PASTE: PasteDrive(dialog); return 0;
    case WM_CUT: OnDriveChar(dialog, CTRL_X); return 0;
    case WM_CLEAR: ClearDrive(dialog); return 0;
    case WM_UNDO:
    case EM_UNDO: return FALSE;
    case WM_SETFOCUS: form.EnterDrive(); break;
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      if (LeavesWithinDialog(dialog, reinterpret_cast<HWND>(wParam)) && form.LeaveDrive())
        PostMessageA(edit, WM_CHECKLEAVE, 0, 0);
      return result;
    }
    case WM_CHECKLEAVE: CheckLeave(dialog); return 0;
    case WM_NCDESTROY: RemoveWindowSubclass(edit, DriveFieldProc, id); break;
    default: break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

ShiftState ShiftStateOf(LPARAM keyData) {
  ShiftState shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= SS_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) shift |= SS_CTRL;
  if (keyData & ALT_CONTEXT_BIT) shift |= SS_ALT;
  return shift;
}

bool IsKeyDown(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

// A combination with Ctrl or Alt is the field's, not the dialog's: Alt+O
// becomes a hotkey here and does not also press Ok, Ctrl+Tab does not move on.
LRESULT CALLBACK HotkeyFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR data) {
  SetupDialog& dialog = *reinterpret_cast<SetupDialog*>(data);
  if (message == WM_GETDLGCODE) {
    // The read-only field keeps its text unselected when entered.
    LRESULT code = DefSubclassProc(edit, message, wParam, lParam) & ~DLGC_HASSETSEL;
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg && IsKeyDown(msg->message) && (ShiftStateOf(msg->lParam) & (SS_CTRL | SS_ALT)))
      code |= DLGC_WANTMESSAGE;
    return code;
  }
  if (IsKeyDown(message) &&
      dialog.Form.PressHotkey(static_cast<std::uint16_t>(wParam), ShiftStateOf(lParam))) {
    ShowForm(dialog);
    // The characters the key press was translated into go nowhere.
    MSG typed;
    while (PeekMessageA(&typed, edit, WM_CHAR, WM_CHAR, PM_REMOVE) ||
           PeekMessageA(&typed, edit, WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE)) {
    }
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, HotkeyFieldProc, id);
  return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

// The focus goes back to the drive field and the user is told.
void ShowDriveRefusal(const SetupDialog& dialog) {
  ReleaseCapture();  // a button pressed on the way out is not clicked
  MessageBeep(MB_OK);
  SetFocus(dialog.DriveField);
  desktop::ShowMessage(dialog.Handle, INVALID_INPUT, APP_TITLE_WIDE, MB_OK | MB_ICONSTOP);
}

void MakeDriveField(SetupDialog& dialog) {
  SetWindowSubclass(dialog.DriveField, DriveFieldProc, FIELD_SUBCLASS_ID,
                    reinterpret_cast<DWORD_PTR>(&dialog));
}

void MakeHotkeyField(SetupDialog& dialog) {
  SetWindowSubclass(dialog.HotkeyField, HotkeyFieldProc, FIELD_SUBCLASS_ID,
                    reinterpret_cast<DWORD_PTR>(&dialog));
}
