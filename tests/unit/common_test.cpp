// The shared code: saving a set in one step (how reads of any size fill the
// table is fuzzed), hotkey texts, command-line arguments and UTF-8. Natively
// the key names are a US layout's; under Wine the platform's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "command_set.h"
#include "hotkey_text.h"
#include "file.h"
#include "paths.h"
#include "test_support.h"
#include "utf8.h"

#ifdef _WIN32
#include <windows.h>
constexpr char LONG_FORM[] = "\\\\?\\";  // how a folder longer than MAX_PATH - 12 is made
#else
constexpr char LONG_FORM[] = "";
#endif
constexpr std::size_t MAX_PATH_UNITS = 259;  // the system's MAX_PATH without the NUL

namespace {

// Saving replaces the file whole, or leaves it as it was with no other file
// left behind. The new file keeps the old one's attributes, and a link stays
// a link. Where no new file can be made beside the set, it is written in
// place; where the set's name fits, the new file's does.
TEST(SaveCommandSet, ReplacesTheSameFileWholeOrNotAtAll) {
  ScratchDir dir;
  const std::string path = dir.Path("set.dat");
  CommandSet set = {};
  set.Records[0] = Record("One", "one");
  set.Records[1] = Record("Two", "two");
  set.Count = 2;
  error::Code error = 0;
  ASSERT_TRUE(SaveCommandSet(path.c_str(), set, error));
  EXPECT_EQ(ReadBytes(path), SetBytes({set.Records[0], set.Records[1]}));
  EXPECT_FALSE(file::File::OpenForReading(path.c_str()).Write("x", 1));  // a write that fails is told
  set.Count = 1;
  std::filesystem::create_directory(dir.Path("folder.dat"));
  auto refused = [&](const std::string& at) {
    error = 0;
    EXPECT_FALSE(SaveCommandSet(at.c_str(), set, error)) << at;
    EXPECT_NE(error, 0) << at;  // the reason
    EXPECT_EQ(ReadBytes(path).size(), 2 * RECORD_SIZE);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"folder.dat", "set.dat"}));
  };
  SetReadOnly(path, true);
  refused(path);
  SetReadOnly(path, false);
  refused(dir.Path("folder.dat"));
  refused(dir.Path("no-such-folder") + path.substr(path.size() - 8));
#ifdef _WIN32
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  refused(path);
  CloseHandle(held);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
  set.Count = 3;  // more than the save in place below, which must cut the file
  ASSERT_TRUE(SaveCommandSet(path.c_str(), set, error));
  EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN);
#endif
  std::error_code failed;
  std::filesystem::create_symlink(path, dir.Path("link.dat"), failed);
  if (std::filesystem::is_symlink(dir.Path("link.dat"))) {  // Wine's CreateSymbolicLinkW makes none
    set.Count = 3;
    ASSERT_TRUE(SaveCommandSet(dir.Path("link.dat").c_str(), set, error));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("link.dat")));
    EXPECT_EQ(ReadBytes(path), SetBytes({set.Records[0], set.Records[1], set.Records[2]}));
  }
  for (char c : std::string("0123456789abcdefghijklmnopqrstuvwxyz"))  // every name of a new file taken
    std::filesystem::create_directory(dir.Path(std::string("~") + c));
  SetReadOnly(path, true);
  EXPECT_FALSE(SaveCommandSet(path.c_str(), set, error));
  SetReadOnly(path, false);
  set.Count = 2;
  ASSERT_TRUE(SaveCommandSet(path.c_str(), set, error));
  EXPECT_EQ(ReadBytes(path), SetBytes({set.Records[0], set.Records[1]}));
  const std::string deep =
      dir.Dir() + std::string(MAX_PATH_UNITS - std::strlen("/set.dat") - dir.Dir().size(), 'd');
  std::filesystem::create_directory(LONG_FORM + deep);
  EXPECT_TRUE(SaveCommandSet((deep + dir.Dir().back() + "set.dat").c_str(), set, error));
#ifdef _WIN32
  std::filesystem::create_directory(LONG_FORM + deep + "d");
  EXPECT_FALSE(SaveCommandSet((deep + "d\\set.dat").c_str(), set, error));  // a unit more
  EXPECT_EQ(error, error::PathTooLong());
#endif
}

// What a source holds, handed out 100 bytes at a time; it claims 1,000.
class ShortReads final : public RecordSource {
 public:
  explicit ShortReads(std::string_view bytes) : left_(bytes) {}
  std::uint64_t Size() override { return 1000; }
  std::size_t Read(void* buffer, std::size_t wanted) override {
    const std::size_t n = std::min({wanted, std::size_t{100}, left_.size()});
    std::memcpy(buffer, left_.data(), n);
    left_.remove_prefix(n);
    return n;
  }

 private:
  std::string_view left_;
};

// Each read is one record, completed with zeros; a read that brings nothing
// ends the set, and the slots after it keep what they held. The count is
// the size's, a short last record too. (More than a full table is read by
// the models' tests.)
TEST(ReadRecords, EveryReadIsARecord) {
  static CommandSet set;
  std::memset(&set, 'u', sizeof set);
  const std::string bytes(250, 'r');
  ShortReads source(bytes);
  EXPECT_EQ(ReadRecords(source, set), 4u);
  EXPECT_EQ(set.Count, 3);
  Bytes lastPiece(RECORD_SIZE, 0);
  std::fill_n(lastPiece.begin(), 50, 'r');
  EXPECT_EQ(SetBytes({set.Records[2]}), lastPiece);
  EXPECT_EQ(set.Records[3].Name.Length, 'u');
}

std::string Text(const HotkeyText& t) { return std::string(t.view()); }
std::string Chars(const HotkeyCode& c) { return std::string(&c.Ctrl, 4); }
HotkeyCode Code(const char (&s)[5]) { return {s[0], s[1], s[2], s[3]}; }

TEST(Hotkey, CtrlWithAKeyComesBackAsTheSystemStoresIt) {
  const struct {
    std::uint16_t key;
    const char *captured, *shownAgain;
    char stored;
  } keys[] = {{'Z', "Ctrl+Z", "Ctrl+Z", 'z'},         {0x69, "Ctrl+9", "Ctrl+9", '9'},
              {0x70, "Ctrl+F1", "Ctrl+P", 'p'},       {0x79, "Ctrl+F10", "Ctrl+Y", 'y'},
              {0x87, "Ctrl+F24", "Ctrl+F24", '\x87'}, {0x28, "Ctrl+Down", "Ctrl+Down", '('},
              {0x2E, "Ctrl+Del", "Ctrl+Del", '.'},    {0x0D, "Ctrl+Enter", "Ctrl+Enter", '\r'}};
  for (const auto& k : keys) {
    const HotkeyText captured = FormatShortCut(ComposeShortCut(k.key, SS_CTRL));
    EXPECT_EQ(Text(captured), k.captured);
    const HotkeyCode stored = TextToHotkeyCode(captured);
    EXPECT_EQ(Chars(stored), std::string("100") + k.stored) << k.captured;
    EXPECT_EQ(Text(HotkeyCodeToText(stored)), k.shownAgain);
  }
  // The modifier keys alone have no name: "Just press Ctrl" empties the field.
  EXPECT_EQ(Text(FormatShortCut(ComposeShortCut(0x11, SS_CTRL))), "");
  EXPECT_EQ(Text(FormatShortCut(ComposeShortCut('B', SS_ALT | SS_CTRL | SS_SHIFT))), "Shift+Ctrl+Alt+B");
  EXPECT_EQ(ComposeShortCut(0x100, SS_CTRL), 0);
}

TEST(Hotkey, TextsParseAndStoredCodesShow) {
  const std::pair<const char*, ShortCut> texts[] = {
      {"^A", 0x4041},  {"ctrl+a", 0x4041},     {"Ctrl+Ctrl+A", 0x4041}, {"Alt+Shift+A", 0xA041},
      {"f1", 0x70},    {"SHIFT+pgdn", 0x2022}, {"Ctrl+F24", 0x4087},    {"Ctrl+5", 0x4035},
      {"", 0},         {"Ctrl+", 0},           {"Shift+Alt+", 0},       {"Ctrl+Foo", 0},
      {"Ctrl + A", 0}, {" Ctrl+A", 0},         {"Ctrl+F25", 0},         {"Ctrl+AB", 0}};
  for (const auto& [text, code] : texts) EXPECT_EQ(ParseShortCut(text), code) << text;
  // Stored codes as the editor and the runner show them.
  EXPECT_EQ(Text(HotkeyCodeToMenuText(Code("100\xe9"))), "Ctrl+\xe9");  // case is ASCII only
  EXPECT_EQ(Chars(TextToHotkeyCode(HotkeyCodeToText(Code("100A")))), "100a");
  EXPECT_EQ(Chars(TextToHotkeyCode(HotkeyCodeToText(Code("000 ")))), "000 ");  // Space
  // No hotkey: empty, and one NUL in the menu; flags other than '1' are not set.
  for (HotkeyCode none : {Code("000\0"), HotkeyCode{0, 0, 0, 0}, Code("YY\x01\0")}) {
    EXPECT_EQ(Text(HotkeyCodeToText(none)), "");
    EXPECT_EQ(Text(HotkeyCodeToMenuText(none)), std::string(1, '\0'));
  }
}

TEST(FirstArgument, SkipsTheProgramAndTakesQuotedStretchesWhole) {
  static ArgumentText argument;
  const std::pair<std::string, std::string> lines[] = {
      {"Tasklark.exe   ", ""},
      {"\"C:\\Program Files\\Tasklark.exe\" work.dat other", "work.dat"},
      {"prog a\"b c\"d e", "ab cd"},
      {"prog \"unterminated quote", "unterminated quote"},
      {"\"\" prog work.dat", "work.dat"},  // an empty quoted argument is none
      {"prog \"\"x", "x"},
      {"prog \"", ""},
      {"prog\x01x\x1fy", "x"},  // every code from 1 to 32 separates
      {"prog \xE9t\xE9.dat", "\xE9t\xE9.dat"}};
  for (const auto& [line, first] : lines) {
    const std::vector<char> exact(line.begin(), line.end());  // no NUL after it: a read past the end shows
    EXPECT_EQ(FirstArgument(std::string_view(exact.data(), exact.size()), argument), !first.empty()) << line;
    EXPECT_EQ(argument.view(), first) << line;
  }
}

// Paths are UTF-8 inside and UTF-16 at the system: any UTF-16 text comes
// back unchanged, a lone surrogate too; a byte that is not UTF-8 is U+FFFD.
TEST(Utf8, WideTextsComeBackAndBadBytesAreReplaced) {
  auto wide = [](std::string_view utf8) {
    char16_t out[64];
    EXPECT_TRUE(Utf8ToUtf16(utf8, out, 63));
    return std::u16string(out);
  };
  const std::u16string texts[] = {u"\u0414\u043C\u0438\u0442\u0440\u0438\u0439\\\u4EFB\u52A1.dat",
                                  u"\U0001F426", u"\xD800x\xDC00", u"\xD800\xE000", u"\xDC00\xDC00"};
  for (const std::u16string& text : texts) {
    FixedText<255> utf8;
    ASSERT_TRUE(AppendUtf16(text, utf8));
    EXPECT_EQ(wide(utf8), text);
  }
  EXPECT_EQ(wide("a\x80"
                 "b\xFF\xC0\x80\xED\xA0"),
            u"a\uFFFDb\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");  // stray, overlong, cut
  EXPECT_EQ(wide("\xF4\x90\x80\x80\xF0\x9F\x90\xA6"),
            u"\uFFFD\uFFFD\uFFFD\uFFFD\U0001F426");  // above U+10FFFF
  char16_t cut[3];
  EXPECT_FALSE(Utf8ToUtf16("abc", cut, 2));
  EXPECT_EQ(std::u16string(cut), u"ab");
  EXPECT_FALSE(Utf8ToUtf16("a\xF0\x9F\x90\xA6", cut, 2));
  EXPECT_EQ(std::u16string(cut), u"a");  // never half a pair
  FixedText<3> small;
  EXPECT_FALSE(AppendUtf16(u"ab\u0414", small));  // refused, never cut silently
}

}  // namespace
