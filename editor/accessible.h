// Names for screen readers where the standard ones fall short: a control
// named this way answers WM_GETOBJECT with its standard accessible object,
// wrapped to give `name` as its own name. The accessibility library is
// loaded when a reader first asks, never at start.
#pragma once

#include <windows.h>

// `name` must outlive the control.
void NameControl(HWND control, const wchar_t* name);
