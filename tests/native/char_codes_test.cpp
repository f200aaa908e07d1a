#include "launcher/char_codes.h"

#include <gtest/gtest.h>

#include <string>

#include "test_text.h"

namespace {

struct CodeCase {
  std::string text;
  std::string decoded;
};

TEST(DecodeCharCodes, ReplacesWellFormedCodesOnly) {
  const CodeCase cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"A<#42>C", "ABC"},
      {"<#61><#62>", "ab"},
      {"<#4a><#4A>", "JJ"},
      {"Cannot<#20>start", "Cannot start"},
      {"line<#0D><#0A>next", "line\r\nnext"},
      {"<#4G>", "<#4G>"},
      {"<#G4>", "<#G4>"},
      {"<#41]", "<#41]"},
      {"<#<#41>", "<#A"},
      {"<#3C><#23>41>", "<#41>"},  // a produced "<#" starts no code
      {"x<#41>", "xA"},
      {"x<#41", "x<#41"},
      {"<#41", "<#41"},
      {"<#", "<#"},
      {"<<##41>", "<<##41>"},
      {"a<#00>b", std::string("a\0b", 3)},
      {"<#ff><#80>", "\xff\x80"},
      {"<#41><#", "A<#"},
  };
  for (const CodeCase& c : cases) EXPECT_EQ(str(decode_char_codes(text(c.text))), c.decoded) << c.text;
}

TEST(HexDigitValue, CoversBothLetterCases) {
  EXPECT_EQ(hex_digit_value('0'), 0);
  EXPECT_EQ(hex_digit_value('9'), 9);
  EXPECT_EQ(hex_digit_value('A'), 10);
  EXPECT_EQ(hex_digit_value('f'), 15);
  EXPECT_EQ(hex_digit_value('g'), 0);
}

}  // namespace
