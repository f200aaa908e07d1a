// The one-pass argument scans give exactly what the plain per-argument scans
// give (tests/support/reference_scans.h), on many generated command lines.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "launcher/arguments.h"
#include "launcher/launch_rules.h"
#include "reference_scans.h"
#include "test_text.h"

namespace {

// Pieces that the rules treat specially, joined at random.
const char* const kPieces[] = {
    " ",  "\t", "\r\n", "\x01", "\x1f", "\"",  "\"\"", "`",          "`0",          "`1",
    "0",  "1",  "a",    "\\",   "\x7f", "\x80", "\xff", "WINDOW.OPEN", "window.Open", "WINDOW`1OPEN",
    "/error=", "/ERROR=", "/error=`1x", "<#41>", "x/error=y",
};

std::string random_line(std::mt19937& random, size_t pieces) {
  std::uniform_int_distribution<size_t> pick(0, sizeof kPieces / sizeof kPieces[0] - 1);
  std::string line;
  for (size_t i = 0; i < pieces; ++i) line += kPieces[pick(random)];
  return line;
}

struct Scans {
  std::vector<std::string> tokens;  // by next_argument from position 0 to the end
  std::vector<std::string> arguments;
  size_t count = 0;
  std::vector<reference::Group> groups;
  std::string target, error_text;
};

Scans one_pass(const std::string& line) {
  Scans s;
  size_t position = 0;
  for (Text token = next_argument(line.c_str(), position); !token.empty();
       token = next_argument(line.c_str(), position))
    s.tokens.push_back(str(token));
  ArgumentCursor cursor(line.c_str());
  while (!cursor.at_end()) s.arguments.push_back(str(cursor.next()));
  s.count = count_arguments(line.c_str());
  Text target = apply_window_open_groups(line.c_str(), "original", [&](const Text& a, const Text& n, const Text& f) {
    s.groups.push_back({str(a), str(n), str(f)});
    return text("page" + std::to_string(s.groups.size()));
  });
  s.target = str(target);
  s.error_text = str(error_text_from_arguments(line.c_str()));
  return s;
}

Scans per_argument(const std::string& line) {
  Scans s;
  size_t position = 0;
  for (std::string token = reference::next_argument(line.c_str(), position); !token.empty();
       token = reference::next_argument(line.c_str(), position))
    s.tokens.push_back(token);
  s.count = reference::argument_count(line.c_str());
  for (size_t n = 1; n <= s.count; ++n) s.arguments.push_back(reference::argument(line.c_str(), long(n)));
  s.groups = reference::window_open_groups(line.c_str());
  s.target = s.groups.empty() ? "original" : "page" + std::to_string(s.groups.size());
  s.error_text = reference::error_text(line.c_str());
  return s;
}

void expect_same_scans(const std::string& line) {
  Scans fast = one_pass(line), plain = per_argument(line);
  EXPECT_EQ(fast.tokens, plain.tokens) << "line: " << line;
  EXPECT_EQ(fast.arguments, plain.arguments) << "line: " << line;
  EXPECT_EQ(fast.count, plain.count) << "line: " << line;
  EXPECT_EQ(fast.arguments.size(), plain.count) << "line: " << line;
  EXPECT_TRUE(fast.groups == plain.groups) << "line: " << line;
  EXPECT_EQ(fast.target, plain.target) << "line: " << line;
  EXPECT_EQ(fast.error_text, plain.error_text) << "line: " << line;
  for (size_t n = 0; n <= plain.count + 1; ++n)
    EXPECT_EQ(str(argument_at(line.c_str(), long(n))), n == 0 ? "" : reference::argument(line.c_str(), long(n)))
        << "argument " << n << " of: " << line;
}

TEST(DriverScans, MatchThePerArgumentScansOnGeneratedLines) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 4000 && !HasFailure(); ++round)
    expect_same_scans(random_line(random, 1 + round % 40));
}

TEST(DriverScans, MatchThePerArgumentScansAtTheLengthLimit) {
  const std::string limit(65536, 'x');
  const std::string lines[] = {
      "launch " + limit + "WINDOW.OPEN a b c",
      "launch \"" + limit + "WINDOW.OPEN\" a b c /error=x",
      "launch a " + limit + "/error=y",
      "launch window.open " + limit + limit + "z",
      "launch \"" + limit + "\"/error=q \"\" z",
  };
  for (const std::string& line : lines) expect_same_scans(line);
}

}  // namespace
