// A hotkey in its three forms: the stored HotkeyCode, the editor's TShortCut
// (virtual-key code and modifier bits), and text ("Shift+Ctrl+Alt+F1").
#pragma once

#include <cstdint>
#include <string_view>

#include "command_record.h"
#include "fixed_text.h"

// Modifier keys of a key event.
using TShiftState = unsigned;
constexpr TShiftState SS_SHIFT = 1;
constexpr TShiftState SS_ALT = 2;
constexpr TShiftState SS_CTRL = 4;

// Virtual-key code in bits 0-12, then Shift 0x2000, Ctrl 0x4000, Alt 0x8000.
using TShortCut = std::uint16_t;
constexpr TShortCut SC_SHIFT = 0x2000;
constexpr TShortCut SC_CTRL = 0x4000;
constexpr TShortCut SC_ALT = 0x8000;
constexpr TShortCut SC_KEY_MASK = 0x1FFF;

// Key names and modifier prefixes of the editor's hotkey text.
constexpr int KEY_NAME_COUNT = 18;
extern const char* const KeyNameTable[KEY_NAME_COUNT];

// Longest hotkey text: three prefixes and a key name (a platform name is
// used only when it is one character).
using HotkeyText = FixedText<31>;

TShortCut ComposeShortCut(std::uint16_t key, TShiftState shift);
void SplitShortCut(TShortCut value, std::uint16_t& key, TShiftState& shift);
HotkeyText FormatShortCut(TShortCut value);
TShortCut ParseShortCut(std::string_view text);
// The platform's name of the key when it is exactly one character; else empty.
HotkeyText SingleCharKeyName(std::uint8_t code);

HotkeyText HotkeyCodeToText(const HotkeyCode& code);
HotkeyCode TextToHotkeyCode(std::string_view text);
// The runner's menu text: prefixes and the raw key character, which may be
// a NUL or a control character.
HotkeyText HotkeyCodeToMenuText(const HotkeyCode& code);

// How the runner registers a stored hotkey: only with Ctrl or Alt, and with
// the platform's MOD_ALT (1), MOD_CONTROL (2) and MOD_SHIFT (4).
bool WantsGlobalHotkey(const HotkeyCode& code);
unsigned HotkeyModifiers(const HotkeyCode& code);

char AsciiUpper(char c);
char AsciiLower(char c);
