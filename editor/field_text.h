// Reading and setting the texts of the dialog's controls.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

#include "fixed_text.h"

// Room for any text the editor reads back from a field or a list entry: far
// more than a record keeps (40 and 255 characters).
using FieldText = FixedText<1023>;

// The control's text, cut to the capacity.
template <std::size_t Capacity>
void ReadFieldText(HWND control, FixedText<Capacity>& text) {
  text.Clear();
  GetWindowTextA(control, text.data(), static_cast<int>(Capacity + 1));
  text.TakeCString();
}

// Sets the control's text only when it differs, so that a control reports a
// change exactly when its text really changes, also when the program sets it.
void SetFieldText(HWND control, std::string_view text);
