// What no command line reaches: arguments longer than any command line, lead
// bytes of code pages other than the one running.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "launcher/arguments.h"
#include "common/file_names.h"

void out_of_memory() { abort(); }

namespace {

TEST(Arguments, AreCutAt65536BytesBetweenCharacters) {
  const std::string kThreeBytes = "\xE8\xA1\xA8";  // U+8868 in UTF-8
  const struct {
    std::string token;
    size_t first, second;
  } cuts[] = {{std::string(70000, 'a'), 65536, 4464}, {std::string(65535, 'a') + kThreeBytes + "b", 65535, 4}};
  for (const auto& cut : cuts)
    for (std::string quote : {"", "\""}) {
      std::string line = "launch " + quote + cut.token + quote;
      size_t position = 0;
      next_argument(line.c_str(), position);
      EXPECT_EQ(next_argument(line.c_str(), position).length(), cut.first) << quote;
      EXPECT_EQ(next_argument(line.c_str(), position).length(), cut.second) << quote;
    }
}

std::string str(const Text& text) { return std::string(text.c_str(), text.length()); }

// The ranges GetCPInfo reports for code page 932, and for 936, 949 and 950,
// each with its last lead byte, which makes one character of the next byte.
TEST(LeadBytes, ATrailByteIsNoDelimiter) {
  const struct {
    unsigned char ranges[12];
    char last;
  } code_pages[] = {{{0x81, 0x9F, 0xE0, 0xFC}, '\xFC'}, {{0x81, 0xFE}, '\xFE'}};
  for (const auto& code_page : code_pages) {
    set_lead_bytes(true, code_page.ranges);
    std::string lead(1, code_page.last);
    EXPECT_EQ(str(extract_file_path((lead + "\\").c_str())), "");  // one character, at the very start
    EXPECT_EQ(str(extract_file_path(("C:\\d\\" + lead + "\\").c_str())), "C:\\d\\");
    EXPECT_EQ(str(extract_file_path(("C:\\d\\" + lead + lead + "\\x").c_str())), "C:\\d\\" + lead + lead + "\\");
    EXPECT_EQ(str(change_file_ext(("C:\\" + lead + ".").c_str(), ".ini")), "C:\\" + lead + "..ini");
  }
  set_lead_bytes(false, code_pages[0].ranges);
  EXPECT_EQ(str(extract_file_path("C:\\d\\\xFC\\")), "C:\\d\\\xFC\\");
}

}  // namespace
