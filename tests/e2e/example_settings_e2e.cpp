// The example launch.ini shipped in the release zip, used as a user would:
// beside the program, which is started without arguments.
#include <windows.h>

#include <string>

#include "expectations.h"
#include "harness.h"

namespace e2e {
namespace {

// dist\launch.ini in the build folder, beside this test program.
std::string example_settings() {
  return read_file(test_programs_folder() + "dist\\launch.ini");
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(ExampleSettings, OpensItsAddress) {
  Sandbox sandbox;
  sandbox.write("launch.ini", example_settings());
  expect_handed_over(sandbox.run("launch"), "https://example.com/");
}

TEST(ExampleSettings, ShowsItsErrorTextOnTwoLines) {
  Sandbox sandbox;
  std::string settings = example_settings();
  ASSERT_NE(settings.find("Address=https://example.com/\r\n"), std::string::npos);
  sandbox.write("launch.ini", replaced(settings, "https://example.com/", "zzz:refused"));
  expect_refused(sandbox.run("launch"),
                 "The page could not be opened.\r\nPlease check the address:", "zzz:refused");
}

}  // namespace
}  // namespace e2e
