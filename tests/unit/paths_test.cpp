#include <gtest/gtest.h>

#include <string>

#include "paths.h"

namespace {

// The first argument, or "<none>".
std::string First(const std::string& commandLine) {
  static ArgumentText argument;
  return FirstArgument(commandLine, argument) ? std::string(argument.view()) : "<none>";
}

TEST(FirstArgument, SkipsTheProgramNameQuotedOrNot) {
  EXPECT_EQ(First("Tasklark.exe"), "<none>");
  EXPECT_EQ(First("Tasklark.exe   "), "<none>");
  EXPECT_EQ(First("Tasklark.exe work.dat"), "work.dat");
  EXPECT_EQ(First("\"C:\\Program Files\\Tasklark\\Tasklark.exe\" work.dat other"), "work.dat");
  EXPECT_EQ(First("  C:\\t\\Tasklark.exe\t\tC:\\sets\\work.dat"), "C:\\sets\\work.dat");
}

TEST(FirstArgument, QuotesKeepBlanksAndAreDropped) {
  EXPECT_EQ(First("prog \"my set.dat\""), "my set.dat");
  EXPECT_EQ(First("prog a\"b c\"d e"), "ab cd");
  EXPECT_EQ(First("prog \"unterminated quote"), "unterminated quote");
}

TEST(FirstArgument, EmptyQuotedArgumentsCountAsNone) {
  EXPECT_EQ(First("prog \"\""), "<none>");
  EXPECT_EQ(First("prog \"\" \"\""), "<none>");
  EXPECT_EQ(First("prog \"\" second"), "second");
  EXPECT_EQ(First("prog \""), "<none>");
}

TEST(FirstArgument, EveryControlCharacterSeparates) {
  EXPECT_EQ(First("prog\x01x\x1f" "y"), "x");
  EXPECT_EQ(First("prog\r\nset.dat"), "set.dat");
  // Bytes above 127 are characters, not separators.
  EXPECT_EQ(First("prog \xE9t\xE9.dat"), "\xE9t\xE9.dat");
}

TEST(FirstArgument, AVeryLongArgumentIsKeptWhole) {
  std::string longName(COMMAND_LINE_CAPACITY - 10, 'n');
  EXPECT_EQ(First("p " + longName), longName);
}

TEST(PathParts, SplitAtTheLastBackslashOrColon) {
  EXPECT_EQ(FileNamePart("C:\\sets\\work.dat"), "work.dat");
  EXPECT_EQ(DirectoryPart("C:\\sets\\work.dat"), "C:\\sets\\");
  EXPECT_EQ(FileNamePart("C:work.dat"), "work.dat");
  EXPECT_EQ(DirectoryPart("C:work.dat"), "C:");
  EXPECT_EQ(FileNamePart("work.dat"), "work.dat");
  EXPECT_EQ(DirectoryPart("work.dat"), "");
  EXPECT_EQ(FileNamePart("C:\\sets\\"), "");
}

}  // namespace
