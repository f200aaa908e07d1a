#include "settings/file_names.h"

#include <gtest/gtest.h>

#include <string>

#include "test_text.h"

namespace {

// A table as the Japanese code page 932 reports it: 81-9F and E0-FC.
const unsigned char kJapaneseRanges[12] = {0x81, 0x9F, 0xE0, 0xFC};
const unsigned char kNoRanges[12] = {};

class FileNames : public ::testing::Test {
 protected:
  void TearDown() override { set_lead_bytes(false, kNoRanges); }
};

TEST_F(FileNames, ExtractFilePath) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Tools\\launch.exe", "C:\\Tools\\"},
      {"C:launch.exe", "C:"},
      {"launch.exe", ""},
      {"C:/Tools/launch.exe", "C:"},
      {"\\\\server\\share\\launch.exe", "\\\\server\\share\\"},
      {"C:\\", "C:\\"},
      {"", ""},
  };
  for (const auto& [name, path] : cases) EXPECT_EQ(str(extract_file_path(name)), path) << name;
}

TEST_F(FileNames, ChangeFileExt) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Tools\\launch.exe", "C:\\Tools\\launch.ini"},
      {"C:\\Tools.old\\launch", "C:\\Tools.old\\launch.ini"},
      {"launch.tar.gz", "launch.tar.ini"},
      {"launch.", "launch.ini"},
      {".profile", ".ini"},
      {"C:x", "C:x.ini"},
      {"", ".ini"},
      {"C:.x", "C:.ini"},
  };
  for (const auto& [name, changed] : cases)
    EXPECT_EQ(str(change_file_ext(name, ".ini")), changed) << name;
}

TEST_F(FileNames, LastDelimiter) {
  EXPECT_EQ(last_delimiter("\\:", "abc/def"), 0u);
  EXPECT_EQ(last_delimiter("\\:", "a:b\\c"), 4u);
  EXPECT_EQ(last_delimiter("\\:", Text("a\\\0b", 4)), 2u);  // a zero byte is no delimiter
}

TEST_F(FileNames, EveryByteIsSingleWithoutDoubleByteSupport) {
  set_lead_bytes(false, kJapaneseRanges);
  Text name("\x95\x5C\x95", 3);
  for (size_t i = 1; i <= name.length(); ++i) EXPECT_EQ(byte_type(name, i), ByteType::single_byte);
  EXPECT_FALSE(is_lead_byte(0x95));
}

TEST_F(FileNames, ByteTypesAlternateWithinRunsOfLeadBytes) {
  set_lead_bytes(true, kJapaneseRanges);
  const Text mmx("\x95\x95x", 3);
  EXPECT_EQ(byte_type(mmx, 1), ByteType::lead_byte);
  EXPECT_EQ(byte_type(mmx, 2), ByteType::trail_byte);
  EXPECT_EQ(byte_type(mmx, 3), ByteType::single_byte);
  const Text mmmx("\x95\x95\x95x", 4);
  EXPECT_EQ(byte_type(mmmx, 1), ByteType::lead_byte);
  EXPECT_EQ(byte_type(mmmx, 2), ByteType::trail_byte);
  EXPECT_EQ(byte_type(mmmx, 3), ByteType::lead_byte);
  EXPECT_EQ(byte_type(mmmx, 4), ByteType::trail_byte);
}

TEST_F(FileNames, LeadByteRanges) {
  const unsigned char ranges[12] = {0x81, 0x82, 0x90, 0x80, 0xA0, 0xA0, 0, 0, 0xB0, 0xB0};
  set_lead_bytes(true, ranges);
  std::string members;
  for (int c = 0; c < 256; ++c)
    if (is_lead_byte(static_cast<unsigned char>(c))) members += static_cast<char>(c);
  // A reversed range adds nothing; the walk stops at the first pair of zeros.
  EXPECT_EQ(members, "\x81\x82\xA0");

  const unsigned char everything[12] = {0x00, 0xFF};
  set_lead_bytes(true, everything);
  EXPECT_TRUE(is_lead_byte(0x00));
  EXPECT_TRUE(is_lead_byte(0xFF));
}

TEST_F(FileNames, ATrailByteIsNoBackslash) {
  const Text name("C:\\dir\\\x95\x5C", 9);
  set_lead_bytes(true, kJapaneseRanges);
  EXPECT_EQ(str(extract_file_path(name)), "C:\\dir\\");
  // A dot that is a trail byte is no extension either.
  const Text dotted("C:\\a.b\\\x95.", 9);
  EXPECT_EQ(str(change_file_ext(dotted, ".ini")), "C:\\a.b\\\x95..ini");
  set_lead_bytes(false, kJapaneseRanges);
  EXPECT_EQ(str(extract_file_path(name)), str(name));
  EXPECT_EQ(str(change_file_ext(dotted, ".ini")), "C:\\a.b\\\x95.ini");
}

}  // namespace
