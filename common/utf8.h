// Paths and set names are UTF-8 inside the programs and UTF-16 at the
// system's wide calls. Any UTF-16 text comes back unchanged from UTF-8, also
// a lone surrogate, which a Windows file name may hold (it takes the
// three-byte form); a byte that is not UTF-8 becomes U+FFFD.
#pragma once

#include <cstddef>
#include <string_view>

#include "fixed_text.h"

// Writes the UTF-16 form of `utf8` and a NUL to `out`, which holds `capacity`
// units and the NUL; false when it does not fit (`out` then holds a cut form).
bool Utf8ToUtf16(std::string_view utf8, char16_t* out, std::size_t capacity);

// The UTF-8 form of one code point (a surrogate too): up to four bytes.
std::size_t EncodeUtf8(char32_t codePoint, char (&bytes)[4]);

// Appends the UTF-8 form of `wide` to `out`; false when it did not all fit.
template <std::size_t Capacity>
bool AppendUtf16(std::u16string_view wide, FixedText<Capacity>& out) {
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t unit = wide[i];
    const bool pair = unit >= 0xD800 && unit < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                      wide[i + 1] < 0xE000;
    if (pair) unit = 0x10000 + ((unit - 0xD800) << 10) + (wide[++i] - 0xDC00);
    char bytes[4];
    out.Append(std::string_view(bytes, EncodeUtf8(unit, bytes)));
  }
  return !out.WasCut();
}
