// The Win32 side of the argument and file-name operations, against the real
// system (run under Wine here, and unchanged on Windows).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "launcher/arguments.h"
#include "settings/file_names.h"
#include "test_text.h"

namespace {

TEST(Argument, ZeroIsTheProgramFilesFullPath) {
  std::string path = str(argument(0));
  ASSERT_GT(path.size(), 3u);
  EXPECT_EQ(path.substr(1, 2), ":\\");
  EXPECT_EQ(_stricmp(path.substr(path.find_last_of('\\')).c_str(), "\\windows_tests.exe"), 0);
  EXPECT_TRUE(file_exists(path.c_str()));
}

class FileExists : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "file_exists_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const char* name : {"file.txt", "old.txt", "new.txt"}) DeleteFileA((folder_ + name).c_str());
    RemoveDirectoryA((folder_ + "sub.dir").c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  std::string make_file(const char* name, WORD year) {
    std::string path = folder_ + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    SYSTEMTIME date = {};
    date.wYear = year;
    date.wMonth = 1;
    date.wDay = 2;
    FILETIME time;
    SystemTimeToFileTime(&date, &time);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
    return path;
  }
  std::string folder_;
};

TEST_F(FileExists, TrueOnlyForAFileWithADosDate) {
  EXPECT_TRUE(file_exists(make_file("file.txt", 2020).c_str()));
  EXPECT_TRUE(file_exists(make_file("new.txt", 1980).c_str()));
  EXPECT_FALSE(file_exists(make_file("old.txt", 1970).c_str()));
  EXPECT_FALSE(file_exists((folder_ + "missing.txt").c_str()));
  EXPECT_FALSE(file_exists((folder_ + "missing\\file.txt").c_str()));
  EXPECT_FALSE(file_exists(""));
  ASSERT_TRUE(CreateDirectoryA((folder_ + "sub.dir").c_str(), nullptr));
  EXPECT_FALSE(file_exists((folder_ + "sub.dir").c_str()));
}

TEST_F(FileExists, AWildcardNameFollowsTheFirstMatch) {
  make_file("file.txt", 2020);
  EXPECT_TRUE(file_exists((folder_ + "f*.t?t").c_str()));
  EXPECT_FALSE(file_exists((folder_ + "z*").c_str()));
  ASSERT_TRUE(CreateDirectoryA((folder_ + "sub.dir").c_str(), nullptr));
  EXPECT_FALSE(file_exists((folder_ + "sub.*").c_str()));
}

// Run with the system's default code page (1252 here).
TEST(LeadBytes, DefaultCodePageHasNone) {
  ASSERT_EQ(GetACP(), 1252u);
  init_lead_bytes();
  for (int c = 0; c < 256; ++c) EXPECT_FALSE(is_lead_byte(static_cast<unsigned char>(c))) << c;
  EXPECT_EQ(str(extract_file_path(Text("C:\\dir\\\x95\x5C", 9))), "C:\\dir\\\x95\x5C");
}

// Run with LC_ALL=ja_JP.UTF-8, which gives Wine's process code page 932.
TEST(LeadBytes, JapaneseCodePage) {
  ASSERT_EQ(GetACP(), 932u);
  init_lead_bytes();
  for (int c = 0; c < 256; ++c) {
    bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    EXPECT_EQ(is_lead_byte(static_cast<unsigned char>(c)), lead) << c;
  }
  EXPECT_EQ(str(extract_file_path(Text("C:\\dir\\\x95\x5C", 9))), "C:\\dir\\");
}

}  // namespace
