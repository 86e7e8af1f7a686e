// Any text in the hotkey field: parsing never fails, and what it names formats
// to a text that parses to the same key.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "hotkey_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TShortCut parsed = ParseShortCut(text);
  if (parsed == 0) return 0;
  HotkeyText formatted = FormatShortCut(parsed);
  if (formatted.empty()) std::abort();
  if (FormatShortCut(ParseShortCut(formatted)) != formatted.view()) std::abort();
  HotkeyCode code = TextToHotkeyCode(text);
  if (code.Ctrl != '0' && code.Ctrl != '1') std::abort();
  return 0;
}
