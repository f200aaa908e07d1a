// The rules that no command line reaches: arguments longer than any command
// line, and the lead bytes of code pages other than the one running.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "launcher/arguments.h"
#include "settings/file_names.h"

void out_of_memory() { abort(); }

namespace {

std::string str(const Text& text) { return std::string(text.c_str(), text.length()); }

TEST(Arguments, AreCutAt65536Bytes) {
  for (const char* quote : {"", "\""}) {
    std::string line = "launch " + (quote + std::string(70000, 'a')) + quote;
    size_t position = 0;
    next_argument(line.c_str(), position);
    EXPECT_EQ(next_argument(line.c_str(), position).length(), 65536u) << quote;
    EXPECT_EQ(next_argument(line.c_str(), position).length(), 4464u) << quote;
  }
}

TEST(LeadBytes, ATrailByteIsNoDelimiter) {
  // The ranges GetCPInfo reports for code page 932, and for 936, 949 and 950.
  const unsigned char code_pages[][12] = {{0x81, 0x9F, 0xE0, 0xFC}, {0x81, 0xFE}};
  for (const unsigned char* ranges : code_pages) {
    set_lead_bytes(true, ranges);
    // 0x95 0x5C is one character; so are 0x95 0x95, after which 0x5C is a backslash.
    EXPECT_EQ(str(extract_file_path(Text("C:\\d\\\x95\x5C"))), "C:\\d\\");
    EXPECT_EQ(str(extract_file_path(Text("C:\\d\\\x95\x95\\x"))), "C:\\d\\\x95\x95\\");
    EXPECT_EQ(str(change_file_ext(Text("C:\\\xE0.\x95\x5C"), ".ini")), "C:\\\xE0.\x95\x5C.ini");
  }
  set_lead_bytes(false, code_pages[1]);
  EXPECT_EQ(str(extract_file_path(Text("C:\\d\\\x95\x5C"))), "C:\\d\\\x95\x5C");
}

}  // namespace
