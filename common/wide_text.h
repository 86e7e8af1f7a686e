// A UTF-8 text as the system's wide calls take it, and back: the only place
// where the programs' texts become UTF-16. Windows only.
#pragma once

#include <cwchar>
#include <string_view>

#include "fixed_text.h"
#include "utf8.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the system's wide characters are UTF-16");

// Refused, never cut: Ok() is false when the text did not fit.
template <std::size_t Capacity>
class WideText {
 public:
  explicit WideText(std::string_view utf8)
      : ok_(Utf8ToUtf16(utf8, reinterpret_cast<char16_t*>(chars_), Capacity)) {}
  const wchar_t* c_str() const { return chars_; }
  wchar_t* data() { return chars_; }
  bool Ok() const { return ok_; }

 private:
  wchar_t chars_[Capacity + 1];
  bool ok_;
};

// The UTF-8 form of a wide text up to its first NUL; false when cut.
template <std::size_t Capacity>
bool FromWide(const wchar_t* wide, FixedText<Capacity>& out) {
  out.Clear();
  return AppendUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(wide), std::wcslen(wide)), out);
}
