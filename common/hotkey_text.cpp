#include "hotkey_text.h"

#include "ansi_text.h"

namespace {

// Key names and modifier prefixes of the editor's hotkey text.
constexpr const char* KEY_NAMES[] = {
    "BkSp", "Tab", "Esc",   "Enter", "Space", "PgUp", "PgDn",   "End",   "Home",
    "Left", "Up",  "Right", "Down",  "Ins",   "Del",  "Shift+", "Ctrl+", "Alt+",
};
constexpr int NAME_SHIFT = 15;
constexpr int NAME_CTRL = 16;
constexpr int NAME_ALT = 17;

// Virtual-key codes of the keys that have a fixed name.
constexpr unsigned KEY_BACK = 0x08, KEY_TAB = 0x09, KEY_RETURN = 0x0D, KEY_ESCAPE = 0x1B;
constexpr unsigned KEY_SPACE = 0x20, KEY_DOWN = 0x28, KEY_INSERT = 0x2D, KEY_DELETE = 0x2E;
constexpr unsigned KEY_0 = 0x30, KEY_9 = 0x39, KEY_A = 0x41, KEY_Z = 0x5A;
constexpr unsigned KEY_NUMPAD0 = 0x60, KEY_NUMPAD9 = 0x69, KEY_F1 = 0x70, KEY_F24 = 0x87;

// ParseShortCut tries the codes from 8 up to LAST_PARSED_CODE, which is
// 0x255 (597) and not 255 on purpose: that has always been the range. Above
// 0xFF a code is named by its low byte, so the codes 0x100 to 0x107 add the
// keys 0 to 7 (no usual layout names them) and the rest repeat names tried
// already; a code is stored by its low byte only.
constexpr unsigned FIRST_PARSED_CODE = 8;
constexpr unsigned LAST_PARSED_CODE = 0x255;

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The platform's name of the key when it is exactly one character; else empty.
HotkeyText SingleCharKeyName(std::uint8_t code) {
  FixedText<255> name;
  keyboard::KeyName(code, name);
  HotkeyText result;
  if (name.size() == 1) result.Append(name.view());
  return result;
}

// The name of a key without prefixes; empty when it has none.
HotkeyText KeyNameOf(std::uint8_t code) {
  HotkeyText name;
  if (code == KEY_BACK) return HotkeyText(KEY_NAMES[0]);
  if (code == KEY_TAB) return HotkeyText(KEY_NAMES[1]);
  if (code == KEY_RETURN) return HotkeyText(KEY_NAMES[3]);
  if (code == KEY_ESCAPE) return HotkeyText(KEY_NAMES[2]);
  if (code >= KEY_SPACE && code <= KEY_DOWN) return HotkeyText(KEY_NAMES[code - KEY_SPACE + 4]);
  if (code == KEY_INSERT) return HotkeyText(KEY_NAMES[13]);
  if (code == KEY_DELETE) return HotkeyText(KEY_NAMES[14]);
  if ((code >= KEY_0 && code <= KEY_9) || (code >= KEY_A && code <= KEY_Z)) {
    name.Append(static_cast<char>(code));
  } else if (code >= KEY_NUMPAD0 && code <= KEY_NUMPAD9) {
    name.Append(static_cast<char>('0' + code - KEY_NUMPAD0));
  } else if (code >= KEY_F1 && code <= KEY_F24) {
    unsigned number = code - KEY_F1 + 1;
    name.Append('F');
    if (number >= 10) name.Append(static_cast<char>('0' + number / 10));
    name.Append(static_cast<char>('0' + number % 10));
  } else {
    name = SingleCharKeyName(code);
  }
  return name;
}

// Removes `prefix` from the front of `rest` when it is there, ignoring ASCII case.
bool StripPrefix(std::string_view& rest, std::string_view prefix) {
  if (rest.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (AsciiLower(rest[i]) != AsciiLower(prefix[i])) return false;
  rest.remove_prefix(prefix.size());
  return true;
}

void SplitShortCut(ShortCut value, std::uint16_t& key, ShiftState& shift) {
  key = value & SC_KEY_MASK;
  shift = 0;
  if (value & SC_SHIFT) shift |= SS_SHIFT;
  if (value & SC_CTRL) shift |= SS_CTRL;
  if (value & SC_ALT) shift |= SS_ALT;
}

}  // namespace

ShortCut ComposeShortCut(std::uint16_t key, ShiftState shift) {
  if (key > 255) return 0;
  ShortCut value = key;
  if (shift & SS_SHIFT) value |= SC_SHIFT;
  if (shift & SS_CTRL) value |= SC_CTRL;
  if (shift & SS_ALT) value |= SC_ALT;
  return value;
}

HotkeyText FormatShortCut(ShortCut value) {
  HotkeyText name = KeyNameOf(static_cast<std::uint8_t>(value & 0xFF));
  if (name.empty()) return name;
  HotkeyText text;
  if (value & SC_SHIFT) text.Append(KEY_NAMES[NAME_SHIFT]);
  if (value & SC_CTRL) text.Append(KEY_NAMES[NAME_CTRL]);
  if (value & SC_ALT) text.Append(KEY_NAMES[NAME_ALT]);
  text.Append(name.view());
  return text;
}

ShortCut ParseShortCut(std::string_view text) {
  std::string_view rest = text;
  ShortCut mods = 0;
  for (;;) {
    if (StripPrefix(rest, KEY_NAMES[NAME_SHIFT]))
      mods |= SC_SHIFT;
    else if (StripPrefix(rest, "^"))
      mods |= SC_CTRL;
    else if (StripPrefix(rest, KEY_NAMES[NAME_CTRL]))
      mods |= SC_CTRL;
    else if (StripPrefix(rest, KEY_NAMES[NAME_ALT]))
      mods |= SC_ALT;
    else
      break;
  }
  if (rest.empty()) return 0;

  // A code's name depends on its low byte only, so each low byte is named and
  // compared once per call; the codes are still tried in ascending order.
  enum : char { UNKNOWN, MATCH, NO_MATCH };
  char compared[256] = {};
  for (unsigned code = FIRST_PARSED_CODE; code <= LAST_PARSED_CODE; ++code) {
    char& result = compared[code & 0xFF];
    if (result == UNKNOWN) {
      HotkeyText name = FormatShortCut(static_cast<ShortCut>(code));
      result = (!name.empty() && ansi::EqualIgnoringCase(name.view(), rest)) ? MATCH : NO_MATCH;
    }
    if (result == MATCH) return static_cast<ShortCut>(code | mods);
  }
  return 0;
}

HotkeyText HotkeyCodeToText(const HotkeyCode& code) {
  ShiftState shift = 0;
  if (code.HasCtrl()) shift |= SS_CTRL;
  if (code.HasAlt()) shift |= SS_ALT;
  if (code.HasShift()) shift |= SS_SHIFT;
  auto key = static_cast<std::uint8_t>(AsciiUpper(code.Key));
  return FormatShortCut(ComposeShortCut(key, shift));
}

HotkeyCode TextToHotkeyCode(std::string_view text) {
  std::uint16_t key = 0;
  ShiftState shift = 0;
  SplitShortCut(ParseShortCut(text), key, shift);
  HotkeyCode code;
  code.Ctrl = (shift & SS_CTRL) ? '1' : '0';
  code.Alt = (shift & SS_ALT) ? '1' : '0';
  code.Shift = (shift & SS_SHIFT) ? '1' : '0';
  code.Key = AsciiLower(static_cast<char>(key & 0xFF));
  return code;
}

HotkeyText HotkeyCodeToMenuText(const HotkeyCode& code) {
  HotkeyText text;
  if (code.HasShift()) text.Append("Shift+");
  if (code.HasCtrl()) text.Append("Ctrl+");
  if (code.HasAlt()) text.Append("Alt+");
  text.Append(AsciiUpper(code.Key));
  return text;
}

bool WantsGlobalHotkey(const HotkeyCode& code) { return code.HasCtrl() || code.HasAlt(); }

unsigned HotkeyModifiers(const HotkeyCode& code) {
  constexpr unsigned MODIFIER_ALT = 1, MODIFIER_CONTROL = 2, MODIFIER_SHIFT = 4;
  return (code.HasAlt() ? MODIFIER_ALT : 0) | (code.HasCtrl() ? MODIFIER_CONTROL : 0) |
         (code.HasShift() ? MODIFIER_SHIFT : 0);
}
