// Names for screen readers where the standard ones fall short: a control
// named this way answers WM_GETOBJECT with its standard accessible object,
// wrapped to give `name` as its own name. The accessibility library is
// loaded when a reader first asks, never at start.
#pragma once

#include <windows.h>

// The answer to WM_GETOBJECT for a control named `name`: 0, which passes the
// message on, for another object than the client area or when none can be
// made. `name` must outlive the control.
LRESULT AnswerAccessibleName(HWND control, WPARAM wParam, LPARAM lParam, const wchar_t* name);
// Has the control answer so through a subclass of its own.
void NameControl(HWND control, const wchar_t* name);
