// "WINDOW.OPEN" groups: the launch page on disk, its hand-off to the browser
// (the recorder, registered for htmlfile) and its removal at the next start
// of Windows, on the NT route (pending deletions in the registry) and the
// Windows 98 route (WININIT.INI).
#include <algorithm>
#include <string>
#include <vector>

#include "expectations.h"
#include "harness.h"
#include "startup_removal.h"
#include "unix_links.h"

namespace e2e {
namespace {

// The page file, with the values as its script holds them (already escaped).
std::string page_file(const std::string& address, const std::string& name, const std::string& features) {
  const std::string quoted_address = quoted(address);
  return "<html>\r\n"
         "<body onload=\"KoOpenPage()\">\r\n"
         "<script language=\"JavaScript\">\r\n"
         "function KoOpenPage()\r\n"
         "{\r\n"
         "if (!window.open(" + quoted_address + "," + quoted(name) + "," + quoted(features) + ")) "
         "{ location.replace(" + quoted_address + "); return; }\r\n"
         "window.close();\r\n"
         "}\r\n"
         "</script>\r\n"
         "</body>\r\n"
         "</html>\r\n"
         "\r\n";
}

std::vector<std::string> names_in(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

bool is_folder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Every launcher run of these tests holds this lock: Wine appends a pending
// deletion by reading and rewriting one registry value, so two launchers at
// once could lose an entry.
class RunLock {
 public:
  RunLock() : mutex_(CreateMutexA(nullptr, FALSE, "launch-e2e-page-runs")) {
    WaitForSingleObject(mutex_, INFINITE);
  }
  ~RunLock() {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }

 private:
  HANDLE mutex_;
};

// A sandbox whose runs get a temporary folder of their own through TMP and
// TEMP; each run reports which page files it scheduled for deletion.
class LaunchPage : public ::testing::Test {
 protected:
  void SetUp() override { CreateDirectoryA(temp.c_str(), nullptr); }

  e2e::Run run(const std::string& arguments, const std::string& temp_folder) {
    return run_program(sandbox.program(), arguments, temp_folder);
  }
  e2e::Run run(const std::string& arguments) { return run(arguments, temp); }

  e2e::Run run_program(const std::string& program, const std::string& arguments, const std::string& temp_folder) {
    RunOptions options;
    options.environment = {{"TMP", temp_folder}, {"TEMP", temp_folder}};
    RunLock lock;
    std::vector<std::string> before = pending_deletes();
    e2e::Run result = sandbox.run_program(program, "launch " + arguments, options);
    std::vector<std::string> after = pending_deletes();
    // The entries this run added: after holds before's entries first.
    scheduled.assign(after.begin() + std::min(before.size(), after.size()), after.end());
    scheduled.erase(std::remove_if(scheduled.begin(), scheduled.end(),
                                   [&](const std::string& name) {
                                     return _strnicmp(name.c_str(), sandbox.folder().c_str(),
                                                      sandbox.folder().size()) != 0;
                                   }),
                    scheduled.end());
    return result;
  }

  std::string page(int n) const { return temp + "\\VexaTmp" + std::to_string(n) + ".HTML"; }

  Sandbox sandbox;
  std::string temp = sandbox.path("temp");
  std::vector<std::string> scheduled;  // by the last run, in this sandbox
};

TEST_F(LaunchPage, WritesTheGroupsValuesIntoThePageAndHandsItOver) {
  struct {
    std::string arguments, address, name, features;  // the values as the page's script holds them
  } cases[] = {
      {"WINDOW.OPEN http://example.test/a?b=1&c=2 popup width=400,height=300",
       "http://example.test/a?b=1&c=2", "popup", "width=400,height=300"},
      {"http://example.test/ignored Window.Open https://example.test/b help left=10",
       "https://example.test/b", "help", "left=10"},
      {"x window.open http://example.test/c", "http://example.test/c", "", ""},
      {"window.open", "", "", ""},
      // Escapes are decoded before the values go into the page.
      {"WINDOW.OPEN http://example.test/a`1b`0c my`1window width=1,`1height=2",
       "http://example.test/a b`c", "my window", "width=1, height=2"},
      // What would end the script string or the script is written as a code.
      {"WINDOW.OPEN \"http://example.test/</script><!--x\" \"C:\\dir\\\" \"a\tb\r\nc\x7f\"",
       "http://example.test/\\x3C/script>\\x3C!--x", "C:\\x5Cdir\\x5C", "a\\x09b\\x0D\\x0Ac\\x7F"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    remove_tree(temp);
    CreateDirectoryA(temp.c_str(), nullptr);
    expect_handed_over(run(c.arguments), page(1));
    EXPECT_EQ(read_file(page(1)), page_file(c.address, c.name, c.features));
    EXPECT_EQ(names_in(temp), std::vector<std::string>{"VexaTmp1.HTML"});
    EXPECT_EQ(scheduled, std::vector<std::string>{page(1)});
  }
}

TEST_F(LaunchPage, TwoGroupsWriteTwoPagesAndHandOverTheSecond) {
  expect_handed_over(run("WINDOW.OPEN http://example.test/1 one f1 x WINDOW.OPEN http://example.test/2 two f2"),
                     page(2));
  EXPECT_EQ(read_file(page(1)), page_file("http://example.test/1", "one", "f1"));
  EXPECT_EQ(read_file(page(2)), page_file("http://example.test/2", "two", "f2"));
  EXPECT_EQ(scheduled, (std::vector<std::string>{page(1), page(2)}));
}

TEST_F(LaunchPage, TakesTheFirstGapAndLeavesOtherPagesAlone) {
  write_file(page(1), "first");
  write_file(page(3), "third");
  expect_handed_over(run("WINDOW.OPEN http://example.test/ n f"), page(2));
  EXPECT_EQ(read_file(page(2)), page_file("http://example.test/", "n", "f"));
  EXPECT_EQ(read_file(page(1)), "first");
  EXPECT_EQ(read_file(page(3)), "third");
  EXPECT_EQ(scheduled, std::vector<std::string>{page(2)});
}

TEST_F(LaunchPage, AFolderTakesItsNameToo) {
  ASSERT_TRUE(CreateDirectoryA(page(1).c_str(), nullptr));
  expect_handed_over(run("WINDOW.OPEN http://example.test/ n f"), page(2));
  EXPECT_TRUE(is_folder(page(1)));
  EXPECT_TRUE(names_in(page(1)).empty());
  EXPECT_EQ(read_file(page(2)), page_file("http://example.test/", "n", "f"));
  EXPECT_EQ(scheduled, std::vector<std::string>{page(2)});
}

TEST_F(LaunchPage, WithoutATemporaryFolderTheShellGetsAnEmptyName) {
  const std::string missing = sandbox.path("missing");
  expect_refused(run("WINDOW.OPEN http://example.test/ n f", missing), "Error opening", "");
  expect_refused(run("WINDOW.OPEN http://example.test/ n f /error=No`1page", missing), "No page", "");
  EXPECT_FALSE(is_folder(missing));
  EXPECT_TRUE(scheduled.empty());
}

TEST_F(LaunchPage, NeverFollowsALinkPlantedUnderAPageName) {
  // Page 1 links to a file outside the prefix, page 2 to one that does not
  // exist yet: neither may be written (nor created) through the link.
  const std::string outside = outside_folder();
  write_file(outside + "victim.txt", "victim");
  plant_unix_link(page(1), unix_name(outside + "victim.txt"));
  write_file(outside + "absent.txt", "");
  plant_unix_link(page(2), unix_name(outside + "absent.txt"));
  ASSERT_TRUE(DeleteFileA((outside + "absent.txt").c_str()));

  expect_handed_over(run("WINDOW.OPEN http://example.test/ n f"), page(3));
  EXPECT_EQ(read_file(page(3)), page_file("http://example.test/", "n", "f"));
  EXPECT_EQ(names_in(outside), std::vector<std::string>{"victim.txt"});
  EXPECT_EQ(read_file(outside + "victim.txt"), "victim");
  EXPECT_EQ(scheduled, std::vector<std::string>{page(3)});
}

TEST_F(LaunchPage, OnWindows98TheStartupRenameFileNamesOnlyTheLaterPage) {
  const std::string program = "launch-page-win98.exe";  // its own name: the Windows version is per name
  sandbox.copy_program_as(program);
  Windows98Program windows_98(program);
  WininitFile wininit;

  e2e::Run result = run_program(sandbox.path(program),
                           "WINDOW.OPEN http://example.test/1 one f1 WINDOW.OPEN http://example.test/2 two f2",
                           temp);
  expect_handed_over(result, page(2));
  EXPECT_EQ(read_file(page(1)), page_file("http://example.test/1", "one", "f1"));
  EXPECT_EQ(read_file(page(2)), page_file("http://example.test/2", "two", "f2"));
  // One key for every page: the later entry replaced the earlier one.
  const std::string short_page = short_name(page(2));
  EXPECT_NE(short_page, page(2));
  EXPECT_EQ(wininit.content(), "[Rename]\r\nNUL=" + short_page + "\r\n");
  EXPECT_TRUE(scheduled.empty());
}

}  // namespace
}  // namespace e2e
