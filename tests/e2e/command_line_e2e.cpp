// The launcher started with arguments: the target, its escapes, "/error=".
#include <string>

#include "expectations.h"
#include "harness.h"

namespace e2e {
namespace {

// An address scheme that nothing is registered for: the shell refuses it.
const char kRefused[] = "zzz:refused";

TEST(CommandLine, HandsAPlainAddressOverExactly) {
  Sandbox sandbox;
  expect_handed_over(sandbox.run("launch http://example.test/a?b=1&c=%20"),
                     "http://example.test/a?b=1&c=%20");
}

TEST(CommandLine, DecodesEscapes) {
  Sandbox sandbox;
  expect_handed_over(sandbox.run("launch http://example.test/a`1b`0c`01"),
                     "http://example.test/a b`c`1");
}

TEST(CommandLine, TakesQuotesInTheMiddleOfAToken) {
  Sandbox sandbox;
  expect_handed_over(sandbox.run("launch http://ex\"ample.test/a b\"c\"\" ignored"),
                     "http://example.test/a bc");
}

TEST(CommandLine, SkipsAQuotedProgramPathWithBlanks) {
  Sandbox sandbox("launch.exe", "with blanks");
  expect_handed_over(sandbox.run(quoted(sandbox.program()) + " https://example.test/q"),
                     "https://example.test/q");
}

TEST(CommandLine, WithoutArgumentsOrSettingsThereIsNoTarget) {
  Sandbox sandbox;
  expect_no_target(sandbox.run("launch"));
  expect_no_target(sandbox.run("launch  \"\" \t"));
}

TEST(CommandLine, OpensARelativeTargetFromTheProgramFolder) {
  Sandbox sandbox;
  sandbox.write("readme.txt", "beside the program");
  sandbox.make_folder("caller");
  sandbox.write("caller\\readme.txt", "in the caller's folder");
  RunOptions options;
  options.current_directory = sandbox.path("caller");
  // ".\" keeps the shell from searching the program's folder by itself.
  expect_handed_over(sandbox.run("launch .\\readme.txt", options), sandbox.path("readme.txt"));
}

TEST(ErrorText, RefusalWithoutErrorArgument) {
  Sandbox sandbox;
  expect_refused(sandbox.run(std::string("launch ") + kRefused), "Error opening", kRefused);
}

TEST(ErrorText, ComesFromTheFirstErrorArgumentAfterTheTarget) {
  Sandbox sandbox;
  const std::string target = kRefused;
  struct {
    std::string arguments, error_text;
  } cases[] = {
      {target + " /error=Cannot`1start", "Cannot start"},
      {target + " /error=first /error=second", "first"},
      {target + " x \"/error=quoted text\"", "quoted text"},
      {target + " /ERROR=upper", "Error opening"},
      {target + " x/error=inside", "Error opening"},
      {target + " /error=", "Error opening"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    expect_refused(sandbox.run("launch " + c.arguments), c.error_text, target);
  }
}

TEST(ErrorText, TheTargetIsNeverTheErrorText) {
  Sandbox sandbox;
  expect_refused(sandbox.run("launch /error=zzz"), "Error opening", "/error=zzz");
}

}  // namespace
}  // namespace e2e
