// Puts the form on the screen: each control gets what the form holds, and
// only where it differs, so that a control reports a change exactly when its
// content really changes.
#include <windows.h>
#include <windowsx.h>

#include "setup_dialog.h"

namespace {

void SetFieldText(HWND control, std::string_view text) {
  const FieldText wanted(text);
  FieldText current;
  ReadFieldText(control, current);
  if (current != wanted.view()) SetWindowTextA(control, wanted.c_str());
}

// A list box replaces an entry by deleting and inserting it; the view stays
// where it was.
void SetListEntry(HWND list, int index, const FieldText& text) {
  if (index >= ListBox_GetCount(list)) {
    ListBox_AddString(list, text.c_str());
    return;
  }
  FieldText current;
  if (ListBox_GetTextLen(list, index) <= static_cast<int>(current.capacity())) {
    ListBox_GetText(list, index, current.data());
    current.TakeCString();
    if (current == text.view()) return;
  }
  const int top = ListBox_GetTopIndex(list);
  SetWindowRedraw(list, FALSE);
  ListBox_DeleteString(list, index);
  ListBox_InsertString(list, index, text.c_str());
  ListBox_SetTopIndex(list, top);
  SetWindowRedraw(list, TRUE);
  InvalidateRect(list, nullptr, TRUE);
}

void ShowList(HWND list, const SetupForm& form) {
  const int count = form.Commands.Count;
  for (int i = ListBox_GetCount(list) - 1; i >= count; --i) ListBox_DeleteString(list, i);
  for (int i = 0; i < count; ++i) SetListEntry(list, i, form.Entries[i]);
  if (ListBox_GetCurSel(list) != form.SelectedEntry()) ListBox_SetCurSel(list, form.SelectedEntry());
}

void EnableButton(HWND dialog, HWND button, bool enable) {
  if ((IsWindowEnabled(button) != FALSE) == enable) return;
  // A disabled button cannot keep the focus: it goes on to the next control.
  if (!enable && GetFocus() == button) SendMessageA(dialog, WM_NEXTDLGCTL, 0, FALSE);
  EnableWindow(button, enable);
}

}  // namespace

void ShowForm(SetupDialog& dialog) {
  const SetupForm& form = dialog.Form;
  const SetupFields& fields = form.Fields;
  dialog.Showing = true;
  if (ComboBox_GetCurSel(dialog.WindowSizeList) != fields.WindowSize)
    ComboBox_SetCurSel(dialog.WindowSizeList, fields.WindowSize);
  SetFieldText(dialog.DriveField, std::string_view(&fields.Drive, 1));
  SetFieldText(dialog.CommandField, fields.Command);
  SetFieldText(dialog.NameField, fields.Name);
  SetFieldText(dialog.HotkeyField, fields.Hotkey);
  ShowList(dialog.NameList, form);
  EnableButton(dialog.Handle, dialog.Button(GB_ADD), form.CanAdd());
  EnableButton(dialog.Handle, dialog.Button(GB_DELETE), form.CanDelete());
  dialog.Showing = false;
}
