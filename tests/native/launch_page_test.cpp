#include "page/launch_page.h"

#include <gtest/gtest.h>

#include <string>

#include "test_text.h"

namespace {

TEST(LaunchPage, TextForOrdinaryValues) {
  EXPECT_EQ(str(build_launch_page("http://example.test/a?b=1&c=2", "popup", "width=400,height=300")),
            "<html>\r\n"
            "<body onload=\"KoOpenPage()\">\r\n"
            "<script language=\"JavaScript\">\r\n"
            "function KoOpenPage()\r\n"
            "{\r\n"
            "if (!window.open(\"http://example.test/a?b=1&c=2\",\"popup\",\"width=400,height=300\")) "
            "{ location.replace(\"http://example.test/a?b=1&c=2\"); return; }\r\n"
            "window.close();\r\n"
            "}\r\n"
            "</script>\r\n"
            "</body>\r\n"
            "</html>\r\n");
}

TEST(LaunchPage, EmptyValuesLeaveEmptyQuotes) {
  std::string page = str(build_launch_page("", "", ""));
  EXPECT_NE(page.find("if (!window.open(\"\",\"\",\"\")) { location.replace(\"\"); return; }\r\n"),
            std::string::npos);
}

TEST(EscapeScriptString, EscapesWhatCouldEndOrBreakTheString) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"plain value, 'single' & more", "plain value, 'single' & more"},
      {"\\", "\\x5C"},
      {"\"", "\\x22"},
      {"<", "\\x3C"},
      {"</script>", "\\x3C/script>"},
      {"<!--", "\\x3C!--"},
      {"a\nb\r\tc", "a\\x0Ab\\x0D\\x09c"},
      {std::string("\0\x1f\x7f", 3), "\\x00\\x1F\\x7F"},
      {"> ` ' $ {}", "> ` ' $ {}"},
  };
  for (const auto& [value, written] : cases)
    EXPECT_EQ(str(escape_script_string(text(value))), written) << value;
}

TEST(EscapeScriptString, EveryAsciiByteIsKeptOrWrittenAsAnUpperCaseCode) {
  static const char kHex[] = "0123456789ABCDEF";
  for (int c = 0; c < 0x80; ++c) {
    bool escaped = c < 0x20 || c == 0x7F || c == '\\' || c == '"' || c == '<';
    std::string byte(1, static_cast<char>(c));
    std::string code = {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
    EXPECT_EQ(str(escape_script_string(text(byte))), escaped ? code : byte) << c;
  }
}

TEST(EscapeScriptString, KeepsBytesFrom0x80Up) {
  std::string high;
  for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
  EXPECT_EQ(str(escape_script_string(text(high))), high);
}

TEST(LaunchPageFileName, NumbersTheFileInTheFolder) {
  EXPECT_EQ(str(launch_page_file_name("C:\\TEMP\\", 1)), "C:\\TEMP\\VexaTmp1.HTML");
  EXPECT_EQ(str(launch_page_file_name("C:\\TEMP", 20)), "C:\\TEMP\\VexaTmp20.HTML");
  EXPECT_EQ(str(launch_page_file_name("", 3)), "\\VexaTmp3.HTML");
  EXPECT_EQ(str(launch_page_file_name("T\\", 2147483647)), "T\\VexaTmp2147483647.HTML");
}

}  // namespace
