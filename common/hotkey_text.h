// A hotkey in its three forms: the stored HotkeyCode, the ShortCut that a key
// press in the editor makes (virtual-key code and modifier bits), and text
// ("Shift+Ctrl+Alt+F1").
#pragma once

#include <cstdint>
#include <string_view>

#include "command_record.h"
#include "fixed_text.h"

// Modifier keys of a key event.
using ShiftState = unsigned;
constexpr ShiftState SS_SHIFT = 1;
constexpr ShiftState SS_ALT = 2;
constexpr ShiftState SS_CTRL = 4;

// Virtual-key code in bits 0-12, then Shift 0x2000, Ctrl 0x4000, Alt 0x8000.
using ShortCut = std::uint16_t;
constexpr ShortCut SC_SHIFT = 0x2000;
constexpr ShortCut SC_CTRL = 0x4000;
constexpr ShortCut SC_ALT = 0x8000;
constexpr ShortCut SC_KEY_MASK = 0x1FFF;

// Longest hotkey text: three prefixes and a key name (a platform name is
// used only when it is one character).
using HotkeyText = FixedText<31>;

// 0 for a key code above 255.
ShortCut ComposeShortCut(std::uint16_t key, ShiftState shift);
// Empty for a key that has no name.
HotkeyText FormatShortCut(ShortCut value);
// 0 for a text that names no key.
ShortCut ParseShortCut(std::string_view text);

HotkeyText HotkeyCodeToText(const HotkeyCode& code);
HotkeyCode TextToHotkeyCode(std::string_view text);
// The runner's menu text: prefixes and the raw key character, which may be
// a NUL or a control character.
HotkeyText HotkeyCodeToMenuText(const HotkeyCode& code);

// How the runner registers a stored hotkey: only with Ctrl or Alt, and with
// the platform's MOD_ALT (1), MOD_CONTROL (2) and MOD_SHIFT (4).
bool WantsGlobalHotkey(const HotkeyCode& code);
unsigned HotkeyModifiers(const HotkeyCode& code);
