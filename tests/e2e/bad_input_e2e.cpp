// Bad command lines, end to end: each run ends by itself with exit code 0,
// shows the one box or makes the one hand-off that its arguments call for,
// and writes nothing outside the temporary folder it is given.
#include <string>
#include <vector>

#include "expectations.h"
#include "file_snapshot.h"
#include "harness.h"

namespace e2e {
namespace {

// An address scheme that nothing is registered for: the shell refuses it.
const char kRefused[] = "zzz:refused";
// The longest command line: 32,767 characters with the terminating zero.
const size_t kLongest = 32766;

// A run started from the sandbox's folder "caller" with TMP and TEMP set to
// temp_folder; changes lists what was written meanwhile outside that folder:
// in the sandbox (the program's and the caller's folders), at the root of the
// drive (where a page goes when there is no temporary folder) and in the
// Windows folder (where WININIT.INI lives).
struct WatchedRun {
  Run run;
  std::string changes;
};

class Watched {
 public:
  explicit Watched(const Sandbox& sandbox) : sandbox_(sandbox) {
    CreateDirectoryA(sandbox_.path("caller").c_str(), nullptr);
  }

  WatchedRun run(const std::string& line, const std::string& temp_folder) const {
    Snapshot before = outside(temp_folder);
    RunOptions options;
    options.current_directory = sandbox_.path("caller");
    options.environment = {{"TMP", temp_folder}, {"TEMP", temp_folder}};
    WatchedRun watched{sandbox_.run(line, options), ""};
    watched.changes = snapshot_changes(before, outside(temp_folder));
    return watched;
  }

 private:
  Snapshot outside(const std::string& temp_folder) const {
    Snapshot snapshot;
    std::string folder = sandbox_.folder().substr(0, sandbox_.folder().size() - 1);
    add_to_snapshot(snapshot, folder, true, {folder + "\\handoffs", temp_folder});
    snapshot.erase(folder + "\\handoffs");
    snapshot.erase(temp_folder);
    add_to_snapshot(snapshot, "C:", false);
    add_to_snapshot(snapshot, "C:\\windows", false);
    return snapshot;
  }

  const Sandbox& sandbox_;
};

struct Case {
  std::string what, line;
  std::string error_text, target;  // of the box; the error text is empty when the box is "no target"
};

// A command line of exactly kLongest characters: head, then filler, then tail.
std::string longest_line(const std::string& head, char filler, const std::string& tail) {
  return head + std::string(kLongest - head.size() - tail.size(), filler) + tail;
}

std::string bytes_from(int first, int last) {
  std::string bytes;
  for (int c = first; c <= last; ++c) bytes += static_cast<char>(c);
  return bytes;
}

void expect_clean_box(const WatchedRun& watched, const Case& c) {
  SCOPED_TRACE(c.what);
  if (c.error_text.empty())
    expect_no_target(watched.run);
  else
    expect_refused(watched.run, c.error_text, c.target);
  EXPECT_EQ(watched.changes, "");
}

TEST(BadInput, LinesWithoutArgumentsAskForATarget) {
  Sandbox sandbox;
  Watched watched(sandbox);
  const std::string separators = bytes_from(0x01, 0x20);
  const Case cases[] = {
      {"only separators", "launch" + separators + separators, "", ""},
      {"only quotes, even", "launch " + std::string(1000, '"'), "", ""},
      {"only quotes, odd", "launch " + std::string(999, '"'), "", ""},
      {"empty quote pairs between separators", "launch \"\"\t\"\"\r\n\"\" \x01\"\"\x1f\"", "", ""},
      {"a maximum line of separators", longest_line("launch", '\t', ""), "", ""},
      {"a maximum line of quotes", longest_line("launch ", '"', ""), "", ""},
  };
  for (const Case& c : cases) expect_clean_box(watched.run(c.line, sandbox.path("tmp")), c);
}

TEST(BadInput, ControlAndHighBytesReachTheBoxUnchanged) {
  Sandbox sandbox;
  Watched watched(sandbox);
  const std::string high = bytes_from(0x7F, 0xFF);
  const std::string all_quoted = bytes_from(0x01, 0x21) + bytes_from(0x23, 0xFF);  // all but NUL and quote
  const Case cases[] = {
      {"tabs and line breaks inside quotes",
       "launch \"zzz:a\tb\r\nc\" x \"/error=one\r\ntwo\tthree\"", "one\r\ntwo\tthree", "zzz:a\tb\r\nc"},
      {"bytes 0x7F to 0xFF", "launch zzz:" + high + " /error=" + high, high, "zzz:" + high},
      {"every byte but NUL and quote, quoted", "launch \"zzz:" + all_quoted + "\" \"/error=" + all_quoted + "\"",
       all_quoted, "zzz:" + all_quoted},
      {"an unclosed quote with control bytes", "launch \"zzz:\xe9 \x01\tx", "Error opening", "zzz:\xe9 \x01\tx"},
      {"an error text of a line break in quotes", "launch zzz:\x7f\xff \"/error=\xe0\r\n\"", "\xe0\r\n",
       "zzz:\x7f\xff"},
  };
  for (const Case& c : cases) expect_clean_box(watched.run(c.line, sandbox.path("tmp")), c);
}

TEST(BadInput, MaximumCommandLines) {
  Sandbox sandbox;
  Watched watched(sandbox);
  std::string one_character_arguments = std::string("launch ") + kRefused;
  while (one_character_arguments.size() + 2 + 12 <= kLongest) one_character_arguments += " a";
  std::string last_error = longest_line(one_character_arguments + " /error=last", 'x', "");
  // Wine's ShellExecuteA fails by itself on a file of about 1,000 characters
  // or more (a page fault inside the shell), so the longest target tried
  // here is shorter; the longest single tokens go elsewhere (see below).
  std::string token = "launch \"zzz:" + std::string(900, 'q') + "\"";
  // Backquotes and a closing "0": only the last pair is an escape.
  std::string error_head = std::string("launch ") + kRefused + " \"/error=";
  std::string backquotes = longest_line(error_head, '`', "0\"");
  const Case cases[] = {
      {"a quoted target of 900 bytes", token, "Error opening", token.substr(8, token.size() - 9)},
      {"16,000 arguments, the failure text last", last_error,
       last_error.substr(one_character_arguments.size() + 8), kRefused},
      {"a single quoted failure text of backquotes", backquotes,
       std::string(kLongest - error_head.size() - 2, '`'), kRefused},
  };
  for (const Case& c : cases) expect_clean_box(watched.run(c.line, sandbox.path("tmp")), c);
}

TEST(BadInput, ThousandsOfWindowOpenGroupsWithoutATemporaryFolder) {
  Sandbox sandbox;
  Watched watched(sandbox);
  const std::string missing = sandbox.path("missing");
  const std::string group = " WINDOW.OPEN a b c";
  std::string groups = std::string("launch ") + kRefused;
  while (groups.size() + group.size() + 20 <= kLongest) groups += group;
  // Every page fails, so the target is empty: the box ends in CR LF CR.
  const Case cases[] = {
      {"groups only", groups, "Error opening", ""},
      {"groups, then a failure text", groups + " /error=no`1page", "no page", ""},
      {"groups in every letter case, values missing at the end", groups + " wInDoW.oPeN x", "Error opening", ""},
  };
  ASSERT_GT(groups.size() / group.size(), 1800u);
  for (const Case& c : cases) {
    expect_clean_box(watched.run(c.line, missing), c);
    EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES) << c.what;
  }
}

TEST(BadInput, AGroupOfBadBytesWritesItsPageOnlyInTheTemporaryFolder) {
  Sandbox sandbox;
  Watched watched(sandbox);
  sandbox.make_folder("tmp");
  WatchedRun watched_run =
      watched.run("launch WINDOW.OPEN \"http://a.test/\x7f\x80\xff\t\" \"n\r\n</script>\" \"\x01\\\"\"",
                  sandbox.path("tmp"));
  expect_handed_over(watched_run.run, sandbox.path("tmp\\VexaTmp1.HTML"));
  EXPECT_EQ(watched_run.changes, "");
  std::string page = read_file(sandbox.path("tmp\\VexaTmp1.HTML"));
  EXPECT_NE(page.find("\"http://a.test/\\x7F\x80\xff\\x09\""), std::string::npos) << page;
}

TEST(BadInput, AMaximumQuotedTokenReachesTheLaunchPageWhole) {
  Sandbox sandbox;
  Watched watched(sandbox);
  sandbox.make_folder("tmp");
  std::string line = longest_line("launch WINDOW.OPEN \"http://a.test/", 'q', "\"");
  WatchedRun watched_run = watched.run(line, sandbox.path("tmp"));
  expect_handed_over(watched_run.run, sandbox.path("tmp\\VexaTmp1.HTML"));
  EXPECT_EQ(watched_run.changes, "");
  std::string address = line.substr(20, line.size() - 21);
  EXPECT_NE(read_file(sandbox.path("tmp\\VexaTmp1.HTML")).find("\"" + address + "\""), std::string::npos);
}

}  // namespace
}  // namespace e2e
