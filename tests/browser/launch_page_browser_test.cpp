// The launch page in a real browser: Debian's chromium, headless, opens page
// files whose bytes the launcher's own page builder made.
#include <stdio.h>
#include <stdlib.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "page/launch_page.h"
#include "test_text.h"

namespace {

namespace fs = std::filesystem;

// Put before a page, it stands in for the browser's window.open (as if
// popups were allowed: it returns a window) and window.close, and records
// each call with its arguments, URI-encoded, in an attribute of the document.
const char kRecorder[] =
    "<script>\n"
    "var calls = [];\n"
    "function record(call) {\n"
    "  calls.push(call.map(encodeURIComponent).join(\" \"));\n"
    "  document.documentElement.setAttribute(\"data-calls\", calls.join(\",\"));\n"
    "}\n"
    "window.open = function () { record([\"open\"].concat(Array.from(arguments))); return window; };\n"
    "window.close = function () { record([\"close\"]); };\n"
    "</script>\n";

using Call = std::vector<std::string>;

int hex_value(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }

std::string uri_decoded(const std::string& text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      bytes += static_cast<char>(hex_value(text[i + 1]) * 16 + hex_value(text[i + 2]));
      i += 2;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

// The parts between separators, empty ones included.
std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
    parts.push_back(text.substr(start, end - start));
  parts.push_back(text.substr(start));
  return parts;
}

// The page file as the launcher writes it: the page text and one more CR LF.
std::string page_file(const std::string& address, const std::string& name, const std::string& features) {
  return str(build_launch_page(text(address), text(name), text(features))) + "\r\n";
}

class LaunchPageInBrowser : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/launch-page-browser-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Writes a file into the test's folder; its file:// address.
  std::string write(const std::string& name, const std::string& content) {
    std::ofstream(folder_ / name, std::ios::binary) << content;
    return "file://" + (folder_ / name).string();
  }

  // The document as the browser holds it once the page has run, with a
  // fresh profile and the browser's own popup blocker.
  std::string document_after_loading(const std::string& address) {
    std::string command =
        "chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
        "--disable-background-networking --disable-component-update --disable-sync "
        "--user-data-dir=" + (folder_ / "profile").string() +
        " --virtual-time-budget=5000 --dump-dom '" + address + "' 2>/dev/null";
    std::string document;
    FILE* browser = popen(command.c_str(), "r");
    if (browser == nullptr) return document;
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, browser)) > 0;) document.append(buffer, got);
    EXPECT_EQ(pclose(browser), 0) << command;
    fs::remove_all(folder_ / "profile");
    return document;
  }

  // The window.open and window.close calls that the page made.
  std::vector<Call> calls_of(const std::string& page) {
    std::string document = document_after_loading(write("recorded.html", kRecorder + page));
    const std::string marker = "data-calls=\"";
    size_t start = document.find(marker);
    if (start == std::string::npos) {
      ADD_FAILURE() << "no calls recorded in:\n" << document;
      return {};
    }
    start += marker.size();
    std::vector<Call> calls;
    for (const std::string& call : split(document.substr(start, document.find('"', start) - start), ',')) {
      calls.emplace_back();
      for (const std::string& argument : split(call, ' ')) calls.back().push_back(uri_decoded(argument));
    }
    return calls;
  }

  fs::path folder_;
};

TEST_F(LaunchPageInBrowser, WindowOpenGetsExactlyTheThreeValues) {
  std::string every_ascii_byte;
  for (int c = 0; c < 0x80; ++c) every_ascii_byte += static_cast<char>(c);
  struct {
    std::string address, name, features;
  } cases[] = {
      {"http://example.test/a?b=1&c=2", "popup", "width=400,height=300"},
      {"", "", ""},
      {"http://example.test/\\a\\\"</script><!--", "name</script>", "a\tb\r\nc\"d\\"},
      {"</script><script>document.title='injected'</script>", "\"-->", "<!--<script>"},
      {every_ascii_byte, every_ascii_byte, every_ascii_byte},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(calls_of(page_file(c.address, c.name, c.features)),
              (std::vector<Call>{{"open", c.address, c.name, c.features}, {"close"}}));
  }
}

TEST_F(LaunchPageInBrowser, WithPopupsBlockedThePageGoesToTheAddress) {
  std::string address = write("target.html", "<html><body><p>reached the address</p></body></html>");
  std::string document = document_after_loading(
      write("page.html", page_file(address + "?from=launch-page", "</script>\"\\name", "width=200")));
  EXPECT_NE(document.find("<p>reached the address</p>"), std::string::npos) << document;
}

}  // namespace
