// The editor's dialog: the form it shows, its window and controls, and what
// it needs to draw them. What the form holds and does is SetupForm's
// (setup_model.h); the code here shows it and passes the user's input on.
#pragma once

#include <windows.h>

#include "glyph_button.h"
#include "messages.h"
#include "setup_model.h"

// Glyph buttons, in tab order.
enum GlyphButtonIndex { GB_BROWSE, GB_ADD, GB_DELETE, GB_UP, GB_DOWN, GB_OK, GB_CANCEL, GLYPH_BUTTON_COUNT };

struct SetupDialog {
  SetupForm Form;

  HWND Handle;
  HINSTANCE Instance;
  int Dpi;     // the resolution the dialog is laid out for
  HFONT Font;  // made for that resolution
  HWND Hints;

  // The controls that ShowForm fills, in tab order, and the glyph buttons.
  HWND NameList;
  HWND NameField;
  HWND CommandField;
  HWND WindowSizeList;
  HWND DriveField;
  HWND HotkeyField;
  GlyphButton Buttons[GLYPH_BUTTON_COUNT];

  bool Showing;        // ShowForm is setting the controls: their change reports are its own
  bool Browsing;       // the Open dialog is up, on a thread of its own
  DWORD BrowseThread;  // that thread
  PathText Browsed;    // the program chosen there, empty for none; the thread's until WM_BROWSED

  HWND Button(GlyphButtonIndex index) const { return Buttons[index].Window; }
};

// form.cpp: creates the dialog on `dialog`, hidden, and opens the set; null
// when the window cannot be made. `dialog` must outlive the window.
HWND CreateSetupDialog(HINSTANCE instance, SetupDialog& dialog);
// show_form.cpp: puts the form's fields, list and button states on the controls.
void ShowForm(SetupDialog& dialog);
// The control's text, cut to the capacity.
template <std::size_t Capacity>
void ReadFieldText(HWND control, FixedText<Capacity>& text) {
  text.Clear();
  GetWindowTextA(control, text.data(), static_cast<int>(Capacity + 1));
  text.TakeCString();
}
// fields.cpp: the drive field and the hotkey field, and the box that tells
// the user why the emptied drive field cannot be left.
void MakeDriveField(SetupDialog& dialog);
void MakeHotkeyField(SetupDialog& dialog);
void ShowDriveRefusal(const SetupDialog& dialog);
// browse.cpp: the ".." button's Open dialog, and what it chose (WM_BROWSED).
void BrowseForCommand(SetupDialog& dialog);
void TakeBrowsedProgram(SetupDialog& dialog);
