// The window of the editor's form fSetup: its controls, and what the dialog
// needs to draw them. What the form holds and does is fSetup's
// (setup_model.h); the code here shows it and passes the user's input on.
#pragma once

#include <windows.h>

#include "glyph_button.h"
#include "setup_model.h"

// Glyph buttons, in tab order.
enum GlyphButtonIndex { GB_BROWSE, GB_ADD, GB_DELETE, GB_UP, GB_DOWN, GB_OK, GB_CANCEL, GLYPH_BUTTON_COUNT };

struct SetupDialog {
  HWND Handle;
  HINSTANCE Instance;
  int Dpi;
  HFONT Font;
  HWND Hints;

  // Controls, in the form's declaration order.
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

  GlyphButton Buttons[GLYPH_BUTTON_COUNT];
  bool Showing;   // ShowForm is setting the controls: their change reports are its own
  bool Browsing;  // the Open dialog is up

  // Pixels at the screen's resolution for pixels at 96 per inch.
  int Scale(int pixels) const { return MulDiv(pixels, Dpi, 96); }
};

extern TfSetup fSetup;
extern SetupDialog Dialog;

// form.cpp: creates the dialog, hidden, and runs FormCreate; null when the
// window cannot be made.
HWND CreateSetupDialog(HINSTANCE instance);
// show_form.cpp: puts fSetup's fields, list and button states on the controls.
void ShowForm();
// The control's text, cut to the capacity.
template <std::size_t Capacity>
void ReadFieldText(HWND control, FixedText<Capacity>& text) {
  text.Clear();
  GetWindowTextA(control, text.data(), static_cast<int>(Capacity + 1));
  text.TakeCString();
}
// fields.cpp: the drive field and the hotkey field.
void MakeDriveField(HWND edit);
void MakeHotkeyField(HWND edit);
// browse.cpp: the ".." button's Open dialog.
void BrowseForCommand();
// A message box of the editor's with a UTF-8 text.
int ShowMessage(std::string_view text, UINT style);
