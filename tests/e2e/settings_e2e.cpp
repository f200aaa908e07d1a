// The launcher started without arguments: target and failure text from the
// settings file beside it, and failure texts with character codes.
#include <string>

#include "expectations.h"
#include "harness.h"

namespace e2e {
namespace {

const char kRefused[] = "zzz:refused";

std::string web_section(const std::string& lines) { return "[WEB]\r\n" + lines; }

TEST(SettingsFile, ThePreferredFileIsTheProgramsOwn) {
  Sandbox sandbox;
  sandbox.write("launch.ini", web_section("Address=http://example.test/own\r\n"));
  expect_handed_over(sandbox.run("launch"), "http://example.test/own");
}

TEST(SettingsFile, FallsBackToMoxlabIni) {
  Sandbox sandbox;
  sandbox.write("MOXLAB.INI", web_section("Address=http://example.test/fallback\r\n"));
  expect_handed_over(sandbox.run("launch"), "http://example.test/fallback");
}

TEST(SettingsFile, ThePreferredFileWinsEvenWithoutTheKey) {
  Sandbox sandbox;
  sandbox.write("launch.ini", web_section("Error=no address here\r\n"));
  sandbox.write("MOXLAB.INI", web_section("Address=http://example.test/fallback\r\n"));
  expect_no_target(sandbox.run("launch"));
}

TEST(SettingsFile, WhatIsNoFileFallsBack) {
  const std::string fallback = web_section("Address=http://example.test/fallback\r\n");
  {
    SCOPED_TRACE("a folder named like the preferred file");
    Sandbox sandbox;
    sandbox.make_folder("launch.ini");
    sandbox.write("MOXLAB.INI", fallback);
    expect_handed_over(sandbox.run("launch"), "http://example.test/fallback");
  }
  {
    SCOPED_TRACE("a preferred file dated before 1980");
    Sandbox sandbox;
    sandbox.write("launch.ini", web_section("Address=http://example.test/old\r\n"));
    set_file_date(sandbox.path("launch.ini"), 1970, 1, 2);
    sandbox.write("MOXLAB.INI", fallback);
    expect_handed_over(sandbox.run("launch"), "http://example.test/fallback");
  }
}

TEST(SettingsFile, NamesInAnyLetterCase) {
  Sandbox sandbox;
  sandbox.write("launch.ini", "[web]\r\naddress=zzz:lower\r\nERROR=upper\r\n");
  expect_refused(sandbox.run("launch"), "upper", "zzz:lower");
}

TEST(SettingsFile, TheAddressIsTakenAsItIs) {
  Sandbox sandbox;
  sandbox.write("launch.ini", web_section("Address=http://example.test/a`1b<#41>\r\n"));
  expect_handed_over(sandbox.run("launch"), "http://example.test/a`1b<#41>");
}

TEST(SettingsFile, AValueIsCutTo1023Characters) {
  Sandbox sandbox;
  std::string long_text;
  while (long_text.size() < 1100) long_text += "0123456789abcdef";
  sandbox.write("launch.ini", web_section("Address=" + std::string(kRefused) + "\r\nError=" + long_text + "\r\n"));
  expect_refused(sandbox.run("launch"), long_text.substr(0, 1023), kRefused);
}

TEST(SettingsFile, TheErrorTextIsDecoded) {
  Sandbox sandbox;
  sandbox.write("launch.ini",
                web_section("Address=" + std::string(kRefused) + "\r\nError=Line one<#0D><#0a>two<#20>\r\n"));
  expect_refused(sandbox.run("launch"), "Line one\r\ntwo ", kRefused);
}

TEST(SettingsFile, WithoutErrorKeyTheTextIsErrorOpening) {
  Sandbox sandbox;
  sandbox.write("launch.ini", web_section("Address=" + std::string(kRefused) + "\r\nError=\r\n"));
  expect_refused(sandbox.run("launch"), "Error opening", kRefused);
}

TEST(SettingsFile, ARenamedCopyReadsItsOwnFile) {
  Sandbox sandbox;
  sandbox.copy_program_as("go.exe");
  sandbox.write("launch.ini", web_section("Address=http://example.test/launch\r\n"));
  sandbox.write("go.ini", web_section("Address=http://example.test/go\r\n"));
  expect_handed_over(sandbox.run_program(sandbox.path("go.exe"), "go"), "http://example.test/go");
}

TEST(SettingsFile, IsIgnoredWhenArgumentsAreGiven) {
  Sandbox sandbox;
  sandbox.write("launch.ini", web_section("Address=http://example.test/file\r\nError=from the file\r\n"));
  expect_handed_over(sandbox.run("launch http://example.test/argument"), "http://example.test/argument");
  expect_refused(sandbox.run(std::string("launch ") + kRefused), "Error opening", kRefused);
}

TEST(ErrorCodes, InErrorArgumentsAfterTheEscapes) {
  Sandbox sandbox;
  const std::string launch = std::string("launch ") + kRefused;
  expect_refused(sandbox.run(launch + " /error=Cannot<#20>start"), "Cannot start", kRefused);
  // "`0" makes a backquote first; a produced "<" starts no code.
  expect_refused(sandbox.run(launch + " /error=a`1<#41>`0<#3C>#42>"), "a A`<#42>", kRefused);
  expect_refused(sandbox.run(launch + " /error=<#4G><#<#41>x<#41"), "<#4G><#Ax<#41", kRefused);
}

TEST(ErrorCodes, AZeroByteEndsTheShownText) {
  Sandbox sandbox;
  const std::string launch = std::string("launch ") + kRefused;
  expect_box(sandbox.run(launch + " /error=shown<#00>hidden"), "shown");
  expect_box(sandbox.run(launch + " /error=<#00>"), "");
}

}  // namespace
}  // namespace e2e
