#include "launcher/launch_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_text.h"

namespace {

struct Group {
  std::string address, name, features;
  bool operator==(const Group& o) const {
    return address == o.address && name == o.name && features == o.features;
  }
};

struct Scan {
  std::vector<Group> groups;
  std::string target;
};

// Runs the group scan; each group's target is "page<k>".
Scan scan(const char* line) {
  Scan result;
  Text target = apply_window_open_groups(line, "original",
                                         [&](const Text& a, const Text& n, const Text& f) {
                                           result.groups.push_back({str(a), str(n), str(f)});
                                           return text("page" + std::to_string(result.groups.size()));
                                         });
  result.target = str(target);
  return result;
}

TEST(WindowOpenGroups, NoGroupKeepsTheTarget) {
  Scan s = scan("launch http://a.test window.opener x");
  EXPECT_TRUE(s.groups.empty());
  EXPECT_EQ(s.target, "original");
}

TEST(WindowOpenGroups, AGroupAsFirstOrLaterArgument) {
  Scan first = scan("launch WINDOW.OPEN http://a.test popup width=400");
  EXPECT_EQ(first.groups, (std::vector<Group>{{"http://a.test", "popup", "width=400"}}));
  EXPECT_EQ(first.target, "page1");

  Scan later = scan("launch x Window.Open u`1v n`0 \"f g\"");
  EXPECT_EQ(later.groups, (std::vector<Group>{{"u v", "n`", "f g"}}));
}

TEST(WindowOpenGroups, MissingValuesAreEmpty) {
  Scan s = scan("launch x window.open u");
  EXPECT_EQ(s.groups, (std::vector<Group>{{"u", "", ""}}));
  EXPECT_EQ(s.target, "page1");
}

TEST(WindowOpenGroups, ValuesAreNeverKeywords) {
  Scan s = scan("launch WINDOW.OPEN WINDOW.OPEN WINDOW.OPEN WINDOW.OPEN window`0open WINDOW`1OPEN");
  EXPECT_EQ(s.groups, (std::vector<Group>{{"WINDOW.OPEN", "WINDOW.OPEN", "WINDOW.OPEN"}}));
}

TEST(WindowOpenGroups, TheLastGroupGivesTheTarget) {
  Scan s = scan("launch WINDOW.OPEN a n f x WINDOW.OPEN b m g");
  EXPECT_EQ(s.groups.size(), 2u);
  EXPECT_EQ(s.groups[1], (Group{"b", "m", "g"}));
  EXPECT_EQ(s.target, "page2");
}

TEST(ErrorText, FirstErrorArgumentFromTheSecondOn) {
  const std::pair<const char*, const char*> cases[] = {
      {"launch bad /error=Cannot`1start", "Cannot start"},
      {"launch /error=target", ""},                 // argument 1 is the target
      {"launch /error=target /error=second", "second"},
      {"launch x /ERROR=y", ""},                    // case-sensitive
      {"launch x x/error=y", ""},                   // only at the start
      {"launch x /error=one /error=two", "one"},     // the first wins
      {"launch x \"/error=a b\"", "a b"},
      {"launch x /error=", ""},
      {"launch x /error=<#41>`0", "<#41>`"},          // codes are decoded later
      {"launch", ""},
  };
  for (const auto& [line, error] : cases) EXPECT_EQ(str(error_text_from_arguments(line)), error) << line;
}

TEST(Mode, ChosenByTheProgramName) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Tools\\launch.exe", "WEB"},      {"C:\\Tools\\webstart.exe", "WEB"},
      {"C:\\Tools\\mail.exe", "EMAIL"},      {"C:\\Tools\\email-us.exe", "EMAIL"},
      {"C:\\Tools\\start.exe", "START"},     {"C:\\Tools\\AutoStart.EXE", "START"},
      {"C:\\mail\\launch.exe", "WEB"},       {"C:\\Tools\\mail.start.exe", "EMAIL"},
      {"C:\\Tools\\Start", "START"},         {"", "WEB"},
      {"C:\\Tools\\web-mail.exe", "WEB"},   {"C:\\Tools\\start.mail", "START"},
  };
  for (const auto& [path, mode] : cases) EXPECT_EQ(str(mode_for_program(path)), mode) << path;
}

}  // namespace
