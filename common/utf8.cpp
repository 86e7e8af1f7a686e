#include "utf8.h"

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

// The code point that starts at `text[i]`, and how many bytes it takes; a
// byte that starts no well-formed sequence is U+FFFD, one byte long.
char32_t DecodeUtf8(std::string_view text, std::size_t i, std::size_t& length) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const unsigned char lead = byte(0);
  length = 1;
  if (lead < 0x80) return lead;
  std::size_t more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (more == 0 || lead > 0xF4 || i + more >= text.size()) return REPLACEMENT;
  char32_t code = lead & (0x3F >> more);
  for (std::size_t k = 1; k <= more; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return REPLACEMENT;
    code = (code << 6) | (byte(k) & 0x3F);
  }
  // The shortest form only, and nothing above U+10FFFF.
  const char32_t least[] = {0, 0x80, 0x800, 0x10000};
  if (code < least[more] || code > 0x10FFFF) return REPLACEMENT;
  length = more + 1;
  return code;
}

}  // namespace

std::size_t EncodeUtf8(char32_t code, char (&bytes)[4]) {
  if (code < 0x80) {
    bytes[0] = static_cast<char>(code);
    return 1;
  }
  const std::size_t length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
  const unsigned char leads[] = {0, 0, 0xC0, 0xE0, 0xF0};
  for (std::size_t k = length - 1; k > 0; --k, code >>= 6) bytes[k] = static_cast<char>(0x80 | (code & 0x3F));
  bytes[0] = static_cast<char>(leads[length] | code);
  return length;
}

bool Utf8ToUtf16(std::string_view utf8, char16_t* out, std::size_t capacity) {
  std::size_t size = 0;
  bool fits = true;
  for (std::size_t i = 0, length = 0; i < utf8.size() && fits; i += length) {
    const char32_t code = DecodeUtf8(utf8, i, length);
    const std::size_t units = code >= 0x10000 ? 2 : 1;
    fits = size + units <= capacity;
    if (!fits) break;
    if (units == 2) {
      out[size++] = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      out[size++] = static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      out[size++] = static_cast<char16_t>(code);
    }
  }
  out[size] = u'\0';
  return fits;
}
