// Choosing, adding, deleting and moving commands, and keeping the list entry
// of the current command equal to the name field.
#include <windows.h>
#include <windowsx.h>

#include <cstring>

#include "command_record.h"
#include "field_text.h"
#include "setup_form.h"

void TfSetup::SetListEntry(int index, std::string_view text) {
  const FieldText wanted(text);
  if (ListBox_GetTextLen(lbName, index) == static_cast<int>(wanted.size())) {
    FieldText current;
    ListBox_GetText(lbName, index, current.data());
    current.TakeCString();
    if (current == wanted.view()) return;
  }
  // A list box replaces an entry by deleting and inserting it; keep the view
  // and the selection where they were.
  const int top = ListBox_GetTopIndex(lbName);
  const int selected = ListBox_GetCurSel(lbName);
  SetWindowRedraw(lbName, FALSE);
  ListBox_DeleteString(lbName, index);
  ListBox_InsertString(lbName, index, wanted.c_str());
  if (selected >= 0) ListBox_SetCurSel(lbName, selected);
  ListBox_SetTopIndex(lbName, top);
  SetWindowRedraw(lbName, TRUE);
  InvalidateRect(lbName, nullptr, TRUE);
}

void TfSetup::EnableButton(HWND button, bool enable) {
  // A disabled button cannot keep the focus: it goes on to the next control.
  if (!enable && GetFocus() == button) SendMessageA(Handle, WM_NEXTDLGCTL, 0, FALSE);
  EnableWindow(button, enable);
}

void TfSetup::lbNameClick() {
  const int selected = ListBox_GetCurSel(lbName);
  if (selected == CurrentIndex) return;
  StoreRecord(CurrentIndex);
  CurrentIndex = selected;
  ShowRecord(CurrentIndex);
}

void TfSetup::btnAddClick() {
  // The button is disabled while the table is full; a stray click message
  // must not write past it either.
  if (Commands.Count >= MAX_COMMANDS) return;
  StoreRecord(CurrentIndex);
  CommandRecord& added = Commands.Records[Commands.Count];
  SetDefaultRecord(added);
  const FixedText<NAME_CAPACITY> name(ShownText(added.Name));
  ListBox_AddString(lbName, name.c_str());
  ++Commands.Count;
  CurrentIndex = Commands.Count - 1;
  ListBox_SetCurSel(lbName, CurrentIndex);
  ShowRecord(CurrentIndex);
  if (Commands.Count == MAX_COMMANDS) EnableButton(btnAdd, false);
  EnableButton(btnDelete, true);
}

void TfSetup::btnDeleteClick() {
  EnableButton(btnAdd, true);
  const int selected = ListBox_GetCurSel(lbName);
  if (selected < 0 || selected >= Commands.Count) return;
  ListBox_DeleteString(lbName, selected);
  for (int i = selected; i + 1 < Commands.Count; ++i) Commands.Records[i] = Commands.Records[i + 1];
  std::memset(&Commands.Records[Commands.Count - 1], 0, RECORD_SIZE);
  --Commands.Count;
  if (Commands.Count == 0) {
    // The fields go on showing the deleted command, which belongs to no slot.
    EnableButton(btnDelete, false);
    return;
  }
  CurrentIndex = selected < Commands.Count - 1 ? selected : Commands.Count - 1;
  ListBox_SetCurSel(lbName, CurrentIndex);
  ShowRecord(CurrentIndex);
}

// Moves the selected record one place, with the edits in its fields; the
// fields go on showing it at its new place.
void TfSetup::MoveRecord(int from, int to) {
  StoreRecord(from);
  const CommandRecord moved = Commands.Records[from];
  Commands.Records[from] = Commands.Records[to];
  Commands.Records[to] = moved;
  SetListEntry(from, ShownText(Commands.Records[from].Name));
  SetListEntry(to, ShownText(Commands.Records[to].Name));
  ListBox_SetCurSel(lbName, to);
  CurrentIndex = to;
}

void TfSetup::btnUpClick() {
  const int selected = ListBox_GetCurSel(lbName);
  if (selected <= 0 || selected >= Commands.Count) return;
  MoveRecord(selected, selected - 1);
}

void TfSetup::btnDownClick() {
  const int selected = ListBox_GetCurSel(lbName);
  if (selected < 0 || selected >= Commands.Count - 1) return;
  MoveRecord(selected, selected + 1);
}

void TfSetup::eNameChange() {
  if (CurrentIndex < 0 || CurrentIndex >= Commands.Count) return;
  FieldText name;
  ReadFieldText(eName, name);
  SetListEntry(CurrentIndex, name);
  ListBox_SetCurSel(lbName, CurrentIndex);
}
