// The only way between the fields and the records: ShowRecord puts a record
// into the fields, StoreRecord takes the fields back into a record.
#include <windows.h>
#include <windowsx.h>

#include "command_record.h"
#include "field_text.h"
#include "hotkey_text.h"
#include "setup_form.h"

void SetFieldText(HWND control, std::string_view text) {
  const FieldText wanted(text);
  if (static_cast<std::size_t>(GetWindowTextLengthA(control)) == wanted.size()) {
    FieldText current;
    ReadFieldText(control, current);
    if (current == wanted.view()) return;
  }
  SetWindowTextA(control, wanted.c_str());
}

void TfSetup::ShowRecord(int index) {
  if (index < 0 || index >= Commands.Count) {
    ComboBox_SetCurSel(cbWindowSize, SHOWCMD_NO_ITEM);
    ShowDrive(meDriveLetter, 'C');
    SetFieldText(eCommand, "");
    SetFieldText(eName, "");
    SetFieldText(eHotkey, "");
    return;
  }
  const CommandRecord& record = Commands.Records[index];
  // A show command outside the list's range selects no item.
  ComboBox_SetCurSel(cbWindowSize, IndexByShowCmd(record.ShowCmd));
  ShowDrive(meDriveLetter, record.Drive);
  SetFieldText(eCommand, ShownText(record.Command));
  SetFieldText(eName, ShownText(record.Name));
  SetFieldText(eHotkey, HotkeyCodeToText(record.Hotkey));
}

void TfSetup::StoreRecord(int index) {
  if (index < 0 || index >= Commands.Count) return;
  CommandRecord& record = Commands.Records[index];

  FixedText<NAME_CAPACITY> name;
  ReadFieldText(eName, name);
  StoreFieldText(record.Name, name);

  FixedText<COMMAND_CAPACITY> command;
  ReadFieldText(eCommand, command);
  StoreFieldText(record.Command, command);

  // With no item selected the record keeps its show command.
  record.ShowCmd = ShowCmdByIndex(ComboBox_GetCurSel(cbWindowSize), record.ShowCmd);
  record.Drive = DriveLetter(meDriveLetter);

  HotkeyText hotkey;
  ReadFieldText(eHotkey, hotkey);
  record.Hotkey = TextToHotkeyCode(hotkey);
}
