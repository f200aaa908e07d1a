// The program's name chooses its mode: web, e-mail or program start, each
// driven by its own settings file.
#include <string>

#include "expectations.h"
#include "harness.h"

namespace e2e {
namespace {

// A launcher named name.exe with name.ini holding ini.
Sandbox launcher(const std::string& name, const std::string& ini) {
  Sandbox sandbox(name + ".exe");
  sandbox.write(name + ".ini", ini);
  return sandbox;
}

// The e-mail tests register the recorder for mailto themselves; they run one
// at a time, since one of them takes the handler away.
class EmailMode : public ::testing::Test {
 protected:
  void SetUp() override { register_recorder_for("mailto"); }
  static void unregister_mailto() { RegDeleteTreeA(HKEY_CLASSES_ROOT, "mailto"); }
};

Run run_launcher(const Sandbox& sandbox, const std::string& arguments = "") {
  return sandbox.run(quoted(sandbox.program()) + arguments);
}

TEST_F(EmailMode, HandsOverAMailtoAddressWithTheSubject) {
  Sandbox sandbox = launcher("mail", "[EMAIL]\r\nAddress=team@example.test\r\nSubject=Hello there\r\n");
  expect_handed_over(run_launcher(sandbox), "mailto:team@example.test?subject=Hello there");
}

TEST_F(EmailMode, WithoutSubject) {
  Sandbox sandbox = launcher("email-us", "[EMAIL]\r\nAddress=team@example.test\r\n");
  expect_handed_over(run_launcher(sandbox), "mailto:team@example.test");
}

TEST_F(EmailMode, IgnoresArguments) {
  Sandbox sandbox = launcher("Mail", "[EMAIL]\r\nAddress=team@example.test\r\n");
  expect_handed_over(run_launcher(sandbox, " http://example.test/ WINDOW.OPEN a b c"),
                     "mailto:team@example.test");
}

TEST_F(EmailMode, ARefusalShowsTheAddressWithoutMailto) {
  Sandbox sandbox = launcher("mail", "[EMAIL]\r\nAddress=team@example.test\r\nSubject=Hi\r\n"
                                     "[WEB]\r\nError=not this one\r\n");
  unregister_mailto();
  expect_refused(run_launcher(sandbox), "Error opening", "team@example.test?subject=Hi");
  sandbox.write("mail.ini", "[EMAIL]\r\nAddress=team@example.test\r\nError=No<#20>mail program\r\n");
  expect_refused(run_launcher(sandbox), "No mail program", "team@example.test");
}

TEST_F(EmailMode, WithoutAddressThereIsNoTarget) {
  Sandbox sandbox = launcher("mail", "[EMAIL]\r\nSubject=Hi\r\n[WEB]\r\nAddress=http://example.test/\r\n");
  expect_no_target(run_launcher(sandbox));
}

std::string start_ini(const std::string& lines) {
  return "[START]\r\nApplication=" + recorder_path() + "\r\n" + lines;
}

TEST(StartMode, StartsTheApplicationWithItsParameters) {
  struct {
    const char* name;
    std::string lines, parameters;
  } cases[] = {
      {"start", "Parameters=--first \"two words\"\r\nParams=--unused\r\n", " --first \"two words\""},
      {"autostart", "Params=--from-params\r\n", " --from-params"},
      {"Start.Menu", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Sandbox sandbox = launcher(c.name, start_ini(c.lines));
    expect_recorded(run_launcher(sandbox, " ignored arguments"), quoted(recorder_path()) + c.parameters);
  }
}

TEST(StartMode, RefusalAndMissingApplication) {
  Sandbox sandbox = launcher("start", "[START]\r\nApplication=C:\\missing\\setup.exe\r\n"
                                      "Error=Cannot<#20>start\r\n[WEB]\r\nError=not this one\r\n");
  expect_refused(run_launcher(sandbox), "Cannot start", "C:\\missing\\setup.exe");
  sandbox.write("start.ini", "[START]\r\nAddress=" + recorder_path() + "\r\n");
  expect_no_target(run_launcher(sandbox));
}

TEST(WebMode, ANameWithWebStaysAWebLauncher) {
  Sandbox sandbox = launcher("webstart", "[WEB]\r\nAddress=http://example.test/ini\r\n"
                                         "[START]\r\nApplication=C:\\missing.exe\r\n");
  expect_handed_over(run_launcher(sandbox), "http://example.test/ini");
  expect_handed_over(run_launcher(sandbox, " http://example.test/argument"), "http://example.test/argument");
}

}  // namespace
}  // namespace e2e
