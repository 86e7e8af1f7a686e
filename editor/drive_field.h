// The one-letter drive field: takes letters only, shows and keeps them in
// upper case and always holds exactly one character, a blank when empty. Left
// empty after a change, it says so and takes the focus back; Escape gives back
// what it held when it got the focus.
#pragma once

#include <windows.h>

struct DriveField {
  WNDPROC BaseProc;
  char Entered;           // what the field held when it received the focus
  bool HoldsRefusedEdit;  // refused once on leaving: `Entered` still stands
};

// Turns the edit control into the drive field; `field` must outlive it.
void MakeDriveField(DriveField& field, HWND edit);
// Shows a drive: a letter in upper case, anything else as an empty field.
void ShowDrive(HWND edit, char drive);
// The field's character: an upper-case letter, or a blank when empty.
char DriveLetter(HWND edit);
