#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "command_record.h"

namespace {

CommandRecord Zeroed() {
  CommandRecord r;
  std::memset(&r, 0, sizeof r);
  return r;
}

std::string Stored(const StoredText<NAME_CAPACITY>& t) { return std::string(t.Stored()); }
std::string Stored(const StoredText<COMMAND_CAPACITY>& t) { return std::string(t.Stored()); }

TEST(StoreFieldText, AppendsNulInsideTheCapacity) {
  CommandRecord r = Zeroed();
  StoreFieldText(r.Name, "");
  EXPECT_EQ(Stored(r.Name), std::string(1, '\0'));

  StoreFieldText(r.Name, std::string(39, 'n'));
  EXPECT_EQ(r.Name.Length, 40);
  EXPECT_EQ(Stored(r.Name), std::string(39, 'n') + '\0');

  StoreFieldText(r.Name, std::string(40, 'm'));
  EXPECT_EQ(Stored(r.Name), std::string(40, 'm'));

  StoreFieldText(r.Name, std::string(50, 'x'));
  EXPECT_EQ(Stored(r.Name), std::string(40, 'x'));

  StoreFieldText(r.Command, std::string(254, 'c'));
  EXPECT_EQ(Stored(r.Command), std::string(254, 'c') + '\0');
  StoreFieldText(r.Command, std::string(300, 'd'));
  EXPECT_EQ(Stored(r.Command), std::string(255, 'd'));
}

TEST(StoreFieldText, LeavesTheTailOfALongerTextInPlace) {
  CommandRecord r = Zeroed();
  StoreFieldText(r.Name, "Longer name");
  StoreFieldText(r.Name, "Ab");
  EXPECT_EQ(r.Name.Length, 3);
  EXPECT_EQ(std::string(r.Name.Chars, 11), std::string("Ab\0ger name", 11));
}

TEST(RunnerTexts, LabelDropsTheLastStoredCharacter) {
  CommandRecord r = Zeroed();
  StoreFieldText(r.Name, "Editor");
  EXPECT_EQ(MenuLabelText(r), "Editor");
  StoreFieldText(r.Name, std::string(40, 'L'));
  EXPECT_EQ(MenuLabelText(r), std::string(39, 'L'));
  StoreFieldText(r.Name, "");
  EXPECT_EQ(MenuLabelText(r), "");
  r.Name.Length = 0;
  EXPECT_EQ(MenuLabelText(r), "");
  r.Name.Store("[Name]");  // stored without a NUL: the label loses its last character
  EXPECT_EQ(MenuLabelText(r), "[Name");
  r.Name.Store(std::string("ab\0cd\0", 6));  // a NUL inside is kept: it ends the whole label
  EXPECT_EQ(MenuLabelText(r), std::string("ab\0cd", 5));
}

TEST(RunnerTexts, DamagedLengthBytesStayInsideTheirFields) {
  CommandRecord r = Zeroed();
  std::memset(r.Name.Chars, 'a', NAME_CAPACITY);
  std::memset(r.Command.Chars, 'b', COMMAND_CAPACITY);
  r.Name.Length = 255;
  r.Command.Length = 255;
  r.Filler1[0] = 'X';  // the byte right after Command must not be part of any text
  EXPECT_EQ(MenuLabelText(r), std::string(39, 'a'));
  EXPECT_EQ(ShownText(r.Name), std::string(40, 'a'));
  EXPECT_EQ(CommandLineText(r), std::string(255, 'b'));
}

TEST(RunnerTexts, CommandLineEndsAtTheFirstNulOfTheField) {
  CommandRecord r = Zeroed();
  StoreFieldText(r.Command, "notepad.exe c:\\a.txt");
  EXPECT_EQ(CommandLineText(r), "notepad.exe c:\\a.txt");
  StoreFieldText(r.Command, std::string(300, 'z'));
  EXPECT_EQ(CommandLineText(r), std::string(255, 'z'));
}

TEST(EditorTexts, ShownTextEndsAtTheFirstNul) {
  CommandRecord r = Zeroed();
  StoreFieldText(r.Name, "Shell");
  EXPECT_EQ(ShownText(r.Name), "Shell");
  r.Name.Store(std::string("ab\0cd", 5));
  EXPECT_EQ(ShownText(r.Name), "ab");
  StoreFieldText(r.Name, std::string(40, 'w'));
  EXPECT_EQ(ShownText(r.Name), std::string(40, 'w'));
}

TEST(ShowCmdTables, TranslateBothWays) {
  EXPECT_EQ(ShowCmdByIndex(0, 7), 10);
  EXPECT_EQ(ShowCmdByIndex(1, 7), 2);
  EXPECT_EQ(ShowCmdByIndex(2, 7), 3);
  EXPECT_EQ(ShowCmdByIndex(SHOWCMD_NO_ITEM, 77), 77);  // nothing selected keeps the value

  EXPECT_EQ(IndexByShowCmd(2), 1);
  EXPECT_EQ(IndexByShowCmd(3), 2);
  for (int v = 4; v <= 10; ++v) EXPECT_EQ(IndexByShowCmd(v), 0) << v;
  for (int v : {-1, 0, 1, 11, 0x7FFFFFFF}) EXPECT_EQ(IndexByShowCmd(v), SHOWCMD_NO_ITEM) << v;
}

TEST(DefaultRecord, FillsOnlyItsFields) {
  CommandRecord r = Zeroed();
  r.Hotkey = {'1', '0', '0', 'q'};
  SetDefaultRecord(r);
  EXPECT_EQ(Stored(r.Name), "[Name]");
  EXPECT_EQ(Stored(r.Command), "[Command]");
  EXPECT_EQ(r.ShowCmd, 10);
  EXPECT_EQ(r.Drive, 'C');
  EXPECT_EQ(r.Hotkey.Key, 'q');
}

}  // namespace
