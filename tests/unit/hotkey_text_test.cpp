#include <gtest/gtest.h>

#include <string>

#include "hotkey_text.h"

namespace {

constexpr std::uint16_t VK_CONTROL_KEY = 0x11;
constexpr std::uint16_t VK_CAPS_LOCK = 0x14;

std::string Text(const HotkeyText& t) { return std::string(t.view()); }
std::string Chars(const HotkeyCode& c) { return std::string(&c.Ctrl, 4); }
HotkeyCode Code(const char (&s)[5]) { return {s[0], s[1], s[2], s[3]}; }
HotkeyCode CodeWithKey(const char (&flags)[4], char key) { return {flags[0], flags[1], flags[2], key}; }

// A key pressed with Ctrl in the editor, stored, shown again, and shown by the runner.
struct RoundTrip {
  const char* key;
  std::uint16_t virtualKey;
  const char* captured;
  char storedKey;
  const char* shownAgain;
  std::string menuText;
};

class CtrlKeyRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(CtrlKeyRoundTrip, KeepsTheSystemsOneCharacterForm) {
  const RoundTrip& c = GetParam();
  HotkeyText captured = FormatShortCut(ComposeShortCut(c.virtualKey, SS_CTRL));
  EXPECT_EQ(Text(captured), c.captured);
  HotkeyCode stored = TextToHotkeyCode(captured);
  EXPECT_EQ(Chars(stored), std::string("100") + c.storedKey);
  EXPECT_EQ(Text(HotkeyCodeToText(stored)), c.shownAgain);
  EXPECT_EQ(Text(HotkeyCodeToMenuText(stored)), c.menuText);
  EXPECT_TRUE(WantsGlobalHotkey(stored));
  EXPECT_EQ(HotkeyModifiers(stored), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CtrlKeyRoundTrip,
    ::testing::Values(RoundTrip{"A", 0x41, "Ctrl+A", 'a', "Ctrl+A", "Ctrl+A"},
                      RoundTrip{"Digit5", 0x35, "Ctrl+5", '5', "Ctrl+5", "Ctrl+5"},
                      RoundTrip{"Numpad5", 0x65, "Ctrl+5", '5', "Ctrl+5", "Ctrl+5"},
                      RoundTrip{"F1", 0x70, "Ctrl+F1", 'p', "Ctrl+P", "Ctrl+P"},
                      RoundTrip{"F11", 0x7A, "Ctrl+F11", 'z', "Ctrl+Z", "Ctrl+Z"},
                      RoundTrip{"F12", 0x7B, "Ctrl+F12", '{', "Ctrl+F12", "Ctrl+{"},
                      RoundTrip{"F24", 0x87, "Ctrl+F24", '\x87', "Ctrl+F24", "Ctrl+\x87"},
                      RoundTrip{"Space", 0x20, "Ctrl+Space", ' ', "Ctrl+Space", "Ctrl+ "},
                      RoundTrip{"PgUp", 0x21, "Ctrl+PgUp", '!', "Ctrl+PgUp", "Ctrl+!"},
                      RoundTrip{"Down", 0x28, "Ctrl+Down", '(', "Ctrl+Down", "Ctrl+("},
                      RoundTrip{"Ins", 0x2D, "Ctrl+Ins", '-', "Ctrl+Ins", "Ctrl+-"},
                      RoundTrip{"Del", 0x2E, "Ctrl+Del", '.', "Ctrl+Del", "Ctrl+."},
                      RoundTrip{"BkSp", 0x08, "Ctrl+BkSp", '\b', "Ctrl+BkSp", "Ctrl+\b"},
                      RoundTrip{"Esc", 0x1B, "Ctrl+Esc", '\x1b', "Ctrl+Esc", "Ctrl+\x1b"},
                      RoundTrip{"Enter", 0x0D, "Ctrl+Enter", '\r', "Ctrl+Enter", "Ctrl+\r"}),
    [](const ::testing::TestParamInfo<RoundTrip>& param) { return std::string(param.param.key); });

TEST(HotkeyCapture, ModifierKeysAloneHaveNoName) {
  // "Just press Ctrl" empties the field: the Ctrl key itself has no one-character name.
  EXPECT_EQ(Text(SingleCharKeyName(VK_CONTROL_KEY)), "");
  EXPECT_EQ(Text(FormatShortCut(ComposeShortCut(VK_CONTROL_KEY, SS_CTRL))), "");
  EXPECT_EQ(Text(FormatShortCut(ComposeShortCut(VK_CAPS_LOCK, SS_CTRL))), "");
  EXPECT_EQ(Chars(TextToHotkeyCode("")), std::string("000\0", 4));
}

TEST(HotkeyCapture, PrefixesStandInTheOrderShiftCtrlAlt) {
  EXPECT_EQ(Text(FormatShortCut(ComposeShortCut(0x42, SS_CTRL | SS_SHIFT))), "Shift+Ctrl+B");
  EXPECT_EQ(Text(FormatShortCut(ComposeShortCut(0x58, SS_ALT))), "Alt+X");
  EXPECT_EQ(Text(FormatShortCut(ComposeShortCut(0x41, SS_SHIFT | SS_CTRL | SS_ALT))), "Shift+Ctrl+Alt+A");
  EXPECT_EQ(ComposeShortCut(0x100, SS_CTRL), 0);
  EXPECT_EQ(Text(FormatShortCut(0)), "");
}

TEST(ShortCut, SplitKeepsBitsEightToTwelveInTheKey) {
  std::uint16_t key = 0;
  TShiftState shift = 0;
  SplitShortCut(0x4000 | 0x0141, key, shift);
  EXPECT_EQ(key, 0x141);
  EXPECT_EQ(shift, SS_CTRL);
  SplitShortCut(0xE000 | 0x1FFF, key, shift);
  EXPECT_EQ(key, 0x1FFF);
  EXPECT_EQ(shift, SS_SHIFT | SS_CTRL | SS_ALT);
  // Formatting looks at the low byte only.
  EXPECT_EQ(Text(FormatShortCut(0x4000 | 0x0141)), "Ctrl+A");
}

TEST(ParseShortCut, AcceptsPrefixesInAnyOrderAndCase) {
  EXPECT_EQ(ParseShortCut("^A"), 0x4041);
  EXPECT_EQ(ParseShortCut("ctrl+a"), 0x4041);
  EXPECT_EQ(ParseShortCut("Ctrl+Ctrl+A"), 0x4041);
  EXPECT_EQ(ParseShortCut("Alt+Shift+A"), 0xA041);
  EXPECT_EQ(Text(FormatShortCut(ParseShortCut("Alt+Shift+A"))), "Shift+Alt+A");
  EXPECT_EQ(ParseShortCut("f1"), 0x70);
  EXPECT_EQ(ParseShortCut("F1"), 0x70);
  EXPECT_EQ(ParseShortCut("SHIFT+pgdn"), 0x2022);
  EXPECT_EQ(ParseShortCut("Ctrl+F24"), 0x4087);
}

TEST(ParseShortCut, NamesNothingForPrefixesAloneOrUnknownKeys) {
  for (const char* text : {"", "Ctrl+", "Shift+Alt+", "^", "Ctrl+Foo", "Ctrl + A", " Ctrl+A",
                           "Ctrl+A ", "Ctrl+F25", "Ctrl+AB"})
    EXPECT_EQ(ParseShortCut(text), 0) << text;
  EXPECT_EQ(Chars(TextToHotkeyCode("Ctrl+Foo")), std::string("000\0", 4));
}

TEST(ParseShortCut, NumericPadDigitsParseToTheMainDigit) {
  EXPECT_EQ(ParseShortCut("Ctrl+5"), 0x4035);
  EXPECT_EQ(ParseShortCut(Text(FormatShortCut(ComposeShortCut(0x65, SS_CTRL)))), 0x4035);
}

TEST(ParseShortCut, EveryNamedKeyRoundTrips) {
  for (unsigned key = 8; key <= 255; ++key) {
    HotkeyText text = FormatShortCut(ComposeShortCut(static_cast<std::uint16_t>(key), SS_ALT));
    if (text.empty()) continue;
    TShortCut parsed = ParseShortCut(text);
    EXPECT_EQ(Text(FormatShortCut(parsed)), Text(text)) << "key " << key;
  }
}

TEST(StoredHotkey, ShowsAsTheEditorAndTheRunnerSeeIt) {
  EXPECT_EQ(Text(HotkeyCodeToText(Code("101x"))), "Shift+Ctrl+X");
  EXPECT_EQ(HotkeyModifiers(Code("101x")), 6u);
  EXPECT_EQ(Text(HotkeyCodeToText(Code("110n"))), "Ctrl+Alt+N");
  EXPECT_EQ(Text(HotkeyCodeToMenuText(Code("110n"))), "Ctrl+Alt+N");
  EXPECT_EQ(Text(HotkeyCodeToMenuText(Code("100\xe9"))), "Ctrl+\xe9");  // case is ASCII only
  EXPECT_EQ(HotkeyModifiers(Code("110n")), 3u);

  // Shift alone shows everywhere but is never registered.
  EXPECT_EQ(Text(HotkeyCodeToText(Code("001x"))), "Shift+X");
  EXPECT_EQ(Text(HotkeyCodeToMenuText(Code("001x"))), "Shift+X");
  EXPECT_FALSE(WantsGlobalHotkey(Code("001x")));

  // An upper-case key character shows like the lower-case one and is stored lower-case.
  EXPECT_EQ(Text(HotkeyCodeToText(Code("100A"))), "Ctrl+A");
  EXPECT_EQ(Chars(TextToHotkeyCode(HotkeyCodeToText(Code("100A")))), "100a");

  // A blank key without flags is Space in the editor and a blank in the menu.
  EXPECT_EQ(Text(HotkeyCodeToText(Code("000 "))), "Space");
  EXPECT_EQ(Chars(TextToHotkeyCode("Space")), "000 ");
  EXPECT_EQ(Text(HotkeyCodeToMenuText(Code("000 "))), " ");
  EXPECT_FALSE(WantsGlobalHotkey(Code("000 ")));
}

TEST(StoredHotkey, NoHotkeyShowsEmptyAndAsOneNulInTheMenu) {
  for (HotkeyCode none : {CodeWithKey("000", '\0'), HotkeyCode{0, 0, 0, 0}}) {
    EXPECT_EQ(Text(HotkeyCodeToText(none)), "");
    EXPECT_EQ(Text(HotkeyCodeToMenuText(none)), std::string(1, '\0'));
    EXPECT_FALSE(WantsGlobalHotkey(none));
  }
  // Flags that hold anything but '1' are not set.
  EXPECT_FALSE(WantsGlobalHotkey(Code("YY\x01q")));
}

TEST(StoredHotkey, KeyWithoutANameIsLostOnTheNextStore) {
  // ')' and '*' have codes 0x29 and 0x2A, which no key of the fixed table has.
  EXPECT_EQ(Text(HotkeyCodeToText(Code("100)"))), "");
  EXPECT_EQ(Chars(TextToHotkeyCode(HotkeyCodeToText(Code("100)")))), std::string("000\0", 4));
}

}  // namespace
