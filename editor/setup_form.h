// The editor's dialog fSetup: the editor's whole state, the dialog's controls
// and its event handlers. One instance lives for the whole run.
#pragma once

#include <windows.h>

#include <string_view>

#include "command_set.h"
#include "drive_field.h"
#include "fixed_text.h"
#include "glyph_button.h"
#include "hotkey_text.h"
#include "paths.h"
#include "platform.h"

using DirText = FixedText<MAX_PATH - 1>;

// Glyph buttons, in tab order.
enum GlyphButtonIndex { GB_BROWSE, GB_ADD, GB_DELETE, GB_UP, GB_DOWN, GB_OK, GB_CANCEL, GLYPH_BUTTON_COUNT };

class TfSetup {
 public:
  // Controls, in declaration order.
  HWND lbName;
  HWND eCommand;
  HWND cbWindowSize;
  HWND meDriveLetter;
  HWND btnAdd;
  HWND btnDelete;
  HWND btnUp;
  HWND btnDown;
  HWND btnOk;
  HWND btnCancel;
  HWND eName;
  HWND Label1;
  HWND Label2;
  HWND Label3;
  HWND Label4;
  HWND Label5;
  HWND btBrowse;
  HWND eHotkey;

  // Event handlers.
  void FormCreate();
  void lbNameClick();
  void btnAddClick();
  void btnDeleteClick();
  void btnUpClick();
  void btnDownClick();
  void eNameChange();
  void btnCancelClick();
  void btnOkClick();
  void btBrowseClick();
  // True when the key was taken as a hotkey; it then goes no further.
  bool eHotkeyKeyDown(WORD key, TShiftState shift);

  // Between the fields and the records.
  void ShowRecord(int index);
  void StoreRecord(int index);

  // Hands a key-down in the hotkey field to eHotkeyKeyDown before the dialog
  // manager sees it; true when it was taken.
  bool PreviewKey(const MSG& msg);
  // Ends the dialog, and with it the program, writing nothing.
  void Close();

  // The editor's state.
  ArgumentText SetFileName;  // the set file as named on the command line
  DirText ProgramDir;      // the editor's own folder, with its backslash
  DirText BrowseDir;       // folder of the last command picked with Browse
  PathText SetPath;        // ProgramDir + SetFileName; WasCut() when too long
  CommandSet Commands;     // slot i is list entry i; slots from Count on are zero
  int CurrentIndex;        // the record the fields show, -1 for none

  // The window and what it draws with.
  HWND Handle;
  HINSTANCE Instance;
  int Dpi;
  HFONT Font;
  HWND Hints;
  GlyphButton Buttons[GLYPH_BUTTON_COUNT];
  DriveField Drive;
  WNDPROC HotkeyBaseProc;
  bool Browsing;           // the Open dialog is up

  // Pixels at the screen's resolution for pixels at 96 per inch.
  int Scale(int pixels) const { return MulDiv(pixels, Dpi, 96); }

 private:
  void SetListEntry(int index, std::string_view text);
  void EnableButton(HWND button, bool enable);
  void MoveRecord(int from, int to);
  void ReportSaveFailure(sys::ErrorCode error);

 public:
  // Tells the user that the set file is there but could not be read.
  void ReportUnreadableSet(sys::ErrorCode error);
};

// Posted by FormCreate when the set file is there but cannot be read, so the
// user is told once the dialog shows; wParam holds the error.
constexpr UINT WM_UNREADABLE_SET = WM_APP + 1;

extern TfSetup fSetup;

// Creates the dialog, hidden, with its controls; runs FormCreate. Null when
// the window cannot be made.
HWND CreateSetupDialog(HINSTANCE instance);
