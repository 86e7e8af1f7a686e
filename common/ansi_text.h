// Texts of the system's ANSI code page, as the user's locale reads them, and
// the names the keyboard layout gives its keys.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fixed_text.h"

namespace ansi {

// The system's ANSI code page, and UTF-8, which a system may take for it.
constexpr unsigned SYSTEM_CODE_PAGE = 0;
constexpr unsigned UTF8_CODE_PAGE = 65001;

// Equal ignoring letter case, as the user's locale compares texts.
bool EqualIgnoringCase(std::string_view a, std::string_view b);
// A letter of the code page (accented ones too), and its upper case.
bool IsLetter(char c);
char UpperCase(char c);
// Writes the UTF-16 form of `text`, read in `codePage`, and a NUL to `out`,
// which holds `capacity` units and the NUL; false when it does not fit.
bool ToUtf16(std::string_view text, char16_t* out, std::size_t capacity,
             unsigned codePage = SYSTEM_CODE_PAGE);

}  // namespace ansi

namespace keyboard {

// The name the keyboard layout gives the key with this virtual-key code; empty
// when it has none or the call fails.
void KeyName(std::uint8_t virtualKey, FixedText<255>& name);

}  // namespace keyboard
