#include "launcher/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_text.h"

namespace {

// Every argument after the program token, through argument_at.
std::vector<std::string> arguments_of(const std::string& line) {
  std::vector<std::string> result;
  size_t count = count_arguments(line.c_str());
  for (size_t n = 1; n <= count; ++n) result.push_back(str(argument_at(line.c_str(), long(n))));
  return result;
}

// Every argument after the program token, through the cursor.
std::vector<std::string> walked(const std::string& line) {
  std::vector<std::string> result;
  ArgumentCursor cursor(line.c_str());
  while (!cursor.at_end()) result.push_back(str(cursor.next()));
  return result;
}

struct SplitCase {
  const char* line;
  std::vector<std::string> arguments;
};

// [q] in the table below is a double quote, [t] a tab.
const SplitCase kSplitCases[] = {
    {"launch", {}},
    {"launch a b", {"a", "b"}},
    {"launch a\tb   ", {"a", "b"}},
    {"launch \"a b\" c", {"a b", "c"}},
    {"launch a\"b c\"d e", {"ab cd", "e"}},
    {"launch \"\" x", {"x"}},
    {"launch a\"\"b", {"ab"}},
    {"launch \"\"\"a b\"\"\"", {"a b"}},
    {"launch \"C:\\dir\\\" next", {"C:\\dir\\", "next"}},
    {"launch \"a b", {"a b"}},
    {"launch a \"", {"a"}},
    {"launch \" \"", {" "}},
    {"\"C:\\Program Files\\launch.exe\" x", {"x"}},
    {"launch\"a b\"", {}},
    {"", {}},
    {"   ", {}},
    {"launch \"\" \"\" ", {}},
    {"launch \"a\tb\r\nc\" d", {"a\tb\r\nc", "d"}},
    {"launch a\x01" "b\x1f" "c\x7f", {"a", "b", "c\x7f"}},
    {"launch \x80\xff \xe9t\xe9", {"\x80\xff", "\xe9t\xe9"}},
    {"launch back\\\"slash x\"", {"back\\slash x"}},
    {"launch x \"\"\"\"y", {"x", "y"}},
};

TEST(CommandLine, SplitsByItsOwnRules) {
  for (const SplitCase& c : kSplitCases) {
    EXPECT_EQ(arguments_of(c.line), c.arguments) << "line: " << c.line;
    EXPECT_EQ(walked(c.line), c.arguments) << "line: " << c.line;
  }
}

TEST(CommandLine, ArgumentsOutsideTheRangeAreEmpty) {
  const char* line = "launch a b";
  EXPECT_EQ(str(argument_at(line, 3)), "");
  EXPECT_EQ(str(argument_at(line, 1000)), "");
  EXPECT_EQ(str(argument_at(line, -1)), "");
  EXPECT_EQ(str(argument_at("launch", 1)), "");
}

TEST(CommandLine, CursorGivesEmptyTextsPastTheEnd) {
  ArgumentCursor cursor("launch a");
  EXPECT_EQ(str(cursor.next()), "a");
  EXPECT_TRUE(cursor.at_end());
  EXPECT_EQ(str(cursor.next()), "");
  EXPECT_EQ(str(cursor.next()), "");
}

TEST(CommandLine, NextArgumentStopsOnTheSeparatorAfterTheToken) {
  const char* line = "  ab  \"c d\"e";
  size_t position = 0;
  EXPECT_EQ(str(next_argument(line, position)), "ab");
  EXPECT_EQ(position, 4u);
  EXPECT_EQ(str(next_argument(line, position)), "c de");
  EXPECT_EQ(position, 12u);
  EXPECT_EQ(str(next_argument(line, position)), "");
  EXPECT_EQ(position, 12u);
}

TEST(CommandLine, AnOverlongTokenIsCutIntoArguments) {
  std::string token(70000, 'x');
  size_t position = 0;
  EXPECT_EQ(next_argument(token.c_str(), position).length(), 65536u);
  EXPECT_EQ(position, 65536u);
  EXPECT_EQ(next_argument(token.c_str(), position).length(), 4464u);
  EXPECT_EQ(next_argument(token.c_str(), position).length(), 0u);

  std::string line = "launch " + token;
  EXPECT_EQ(count_arguments(line.c_str()), 2u);
}

TEST(CommandLine, AnOverlongQuotedStretchEndsTheArgumentAtTheLimit) {
  std::string line = "launch \"" + std::string(65536, 'q') + "r s\" t";
  std::vector<std::string> arguments = walked(line);
  ASSERT_EQ(arguments.size(), 3u);
  EXPECT_EQ(arguments[0], std::string(65536, 'q'));
  EXPECT_EQ(arguments[1], "r");   // the rest is scanned unquoted
  EXPECT_EQ(arguments[2], "s t");  // where its closing quote now opens a stretch
  // A stretch ending exactly at the limit loses nothing.
  std::string exact = "launch \"" + std::string(65536, 'q') + "\" t";
  EXPECT_EQ(walked(exact), (std::vector<std::string>{std::string(65536, 'q'), "t"}));
}

struct DecodeCase {
  const char* raw;
  const char* decoded;
};

TEST(DecodeArgument, UndoesBlankAndBackquoteEscapes) {
  const DecodeCase cases[] = {
      {"a`1b`0c", "a b`c"}, {"`01", "`1"},   {"`0`1", "` "}, {"``01", "``1"},
      {"`2", "`2"},         {"`", "`"},      {"a`", "a`"},   {"", ""},
      {"`1`1", "  "},       {"```1", "`` "},
  };
  for (const DecodeCase& c : cases) EXPECT_EQ(str(decode_argument(c.raw)), c.decoded) << c.raw;
}

TEST(DecodeArgument, FollowsTheSplit) {
  EXPECT_EQ(str(decode_argument(argument_at("launch \"a`1b\"", 1))), "a b");
}

TEST(ReplaceAll, GoesLeftToRightWithoutOverlap) {
  EXPECT_EQ(str(replace_all("aaa", "aa", 'x')), "xa");
  EXPECT_EQ(str(replace_all("abab", "ab", 'a')), "aa");  // produced bytes are not re-read
  EXPECT_EQ(str(replace_all("a", "ab", 'x')), "a");
  EXPECT_EQ(str(replace_all(Text("a\0b", 3), "b", 'c')), std::string("a\0c", 3));
}

TEST(UpperCase, ChangesOnlyAsciiLetters) {
  EXPECT_EQ(str(upper_case("window.open")), "WINDOW.OPEN");
  EXPECT_EQ(str(upper_case("Window.Open")), "WINDOW.OPEN");
  EXPECT_EQ(str(upper_case("az AZ 09 `{@[ \xe9\xff\x80")), "AZ AZ 09 `{@[ \xe9\xff\x80");
}

}  // namespace
