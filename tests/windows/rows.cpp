// What a user meets, one row each: a command line and the files beside the
// launcher; then what is shown or handed to the shell, and what is written.
#include <gtest/gtest.h>

#include "harness.h"

namespace e2e {

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

namespace {

const size_t kLongest = 32766;  // characters in the longest command line

// The longest command line: head, then filler.
std::string longest(const std::string& head, char filler) { return head + std::string(kLongest - head.size(), filler); }
std::string web(const std::string& lines) { return "[WEB]\r\n" + lines; }
// As Notepad saves "Unicode": UTF-16 LE with its mark.
std::string utf16_file(const std::u16string& text) { return {reinterpret_cast<const char*>(text.data()), text.size() * 2}; }
// The changes of a run that writes page n with content (and more).
std::vector<std::string> new_page(int n, const std::string& content, std::vector<std::string> more = {}) {
  more.push_back(added("temp\\VexaTmp" + std::to_string(n) + ".HTML", content));
  return more;
}

std::string repeated(const std::string& part, size_t n) { std::string text; while (n-- > 0) text += part; return text; }

// Every character from U+0001 to U+00FF but the double quote, and a few more.
const std::string kAll = [] {
  std::string text;
  for (int c = 1; c < 256; ++c)
    if (c < 0x80) text += c == '"' ? "" : std::string(1, char(c));
    else text += std::string{char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
  return text + "ł東😀＂";
}();
const std::string kArguments = "launch zzz:refused" + repeated(" a", 16300) + " /error=last";
const std::string kGroups = "launch zzz:refused" + repeated(" WINDOW.OPEN a b c", 1810) + " /error=no`1page";
const std::string kLongAddress = longest("launch WINDOW.OPEN \"http://a.test/", 'q').substr(0, kLongest - 1) + "\"";
const std::string kFallback = web("Address=launchtest:fallback\r\n");
const std::string kOldPage = page("http://old.test/", "", "");
const std::string kFirstPage =  // as the first versions wrote it, values unescaped
    "<html>\r\n<body onload=\"KoOpenPage()\">\r\n<script language=\"JavaScript\">\r\nfunction KoOpenPage()\r\n{\r\n"
    "window.open(\"a\r\nb\",\"\",\"\");\r\nwindow.close();\r\n}\r\n</script>\r\n</body>\r\n</html>\r\n\r\n";
// Beside the program, in a folder whose name an address must encode: what the browser reached.
const std::string kManual = "<script>document.write(location.search + location.hash)</script>";
const std::string kAwkwardFolder = "a #%\u0141\\";
const std::string kOpenPage1 = "open: {here}temp\\VexaTmp1.HTML";
const char kWininitPath[] = "C:\\windows\\WININIT.INI";
const std::string kWininit = " [ rEname ] \r\nNUL=C:\\SETUP\\OLD.DLL\r\nC:\\WINDOWS\\A.DLL=C:\\SETUP\\A.DLL\n";
const std::string kWininitAt = "~ " + std::string(kWininitPath) + ": ";  // as changed
const std::string k98Page = "win98 WINDOW.OPEN http://a.test/ n f";

// Launchers started at once with a page each: each shows its own, and WININIT.INI gets a line for each.
Row at_once(Row row) {
  row.changes = {kWininitAt + kWininit};
  for (int n = 1; n <= row.copies; ++n) {
    std::string name = "temp\\VexaTmp" + std::to_string(n) + ".HTML";
    row.seen += (n > 1 ? "\nopen: {here}" : "open: {here}") + name;
    row.changes.push_back(added(name, page("http://a.test/", "n", "f")));
    row.changes[0] += "NUL={short:" + name + "}\r\n";
  }
  return row;
}

const Row kRows[] = {
    // The command line: quotes, escapes, the program token, the current directory.
    {.name = "QuotesAndEscapesAnOldPageStays", .line = "launch \"\" launchtest://example.test/a?b=1&c=%20\"d e\"`1f`0g`01`0 ignored",
     .files = {{"temp\\VexaTmp1.HTML", kOldPage, 48}}, .seen = "open: launchtest://example.test/a?b=1&c=%20d e f`g`1`"},
    {.name = "QuotedProgramPathAndAFileNameWithADrive", .line = "\"{program}\" \"{here}readme.launchtest\"",
     .files = {{"readme.launchtest", "beside the program"}},
     .seen = "open: {here}readme.launchtest @ {here}", .folder = "with blanks\\"},
    {.name = "NoArgumentsOnlySeparatorsAndQuotes", .line = longest("launch\x01\x1f\"\"\t\"\" \r\n", '"'),
     .seen = "box: Error no URL defined"},
    // Failure texts: "/error=", its escapes, then character codes.
    {.name = "ErrorTextDefaultAndSearch", .line = "launch zzz:refused /ERROR=upper x/error=inside /error= /error=later",
     .seen = "refused: Error opening\r\n\rzzz:refused"},
    {.name = "ErrorTextEscapesThenCodes",
     .line = "launch zzz:refused x \"/error=<#E9><#3f><#3F>a`1<#41>`0<#3C>#42><#4G><#G4><#<#41>x<#41\"",
     .seen = "refused: \u00e9??a A`<#42><#4G><#G4><#Ax<#41\r\n\rzzz:refused"},
    {.name = "TargetIsNoErrorTextAZeroCodeEndsTheBox", .line = "launch /error=zzz /error=shown<#00>hidden", .seen = "refused: shown"},
    // The settings file beside the program, when there are no arguments.
    // Started unquoted from a folder with a blank, as Windows starts it from such a line.
    {.name = "SettingsAddressAsWrittenUnquotedProgramPath", .line = "{program}",
     .files = {{"launch.ini", web("Address=launchtest:a`1b<#41>\r\n")}, {"MOXLAB.INI", kFallback}},
     .seen = "open: launchtest:a`1b<#41>", .folder = "My Apps\\"},
    {.name = "SettingsPreferredFileWithoutAddress", .line = "launch",
     .files = {{"launch.ini", web("Error=none\r\n")}, {"MOXLAB.INI", kFallback}}, .seen = "box: Error no URL defined"},
    {.name = "SettingsFolderFallsBack", .line = "launch", .files = {{"launch.ini\\"}, {"MOXLAB.INI", kFallback}},
     .seen = "open: launchtest:fallback"},
    {.name = "SettingsBefore1980FallsBack", .line = "launch",
     .files = {{"launch.ini", web("Address=launchtest:old\r\n"), 500000}, {"MOXLAB.INI", kFallback}},
     .seen = "open: launchtest:fallback"},
    {.name = "SettingsAnyCaseCutAndDecoded", .line = "launch",
     .files = {{"launch.ini", "[web]\r\naddress=zzz:refused\r\nERROR=Line<#0D><#0A>two" + std::string(1100, 'x')}},
     .seen = "refused: Line\r\ntwo" + std::string(1023 - 17, 'x') + "\r\n\rzzz:refused"},
    {.name = "SettingsOfARenamedCopy", .line = "go",
     .files = {{"go.ini", web("Address=launchtest:go\r\n")}, {"launch.ini", kFallback}},
     .seen = "open: launchtest:go", .program = "go.exe"},
    {.name = "SettingsIgnoredWithArguments", .line = "launch zzz:refused",
     .files = {{"launch.ini", web("Address=launchtest:\r\nError=from the file\r\n")}},
     .seen = "refused: Error opening\r\n\rzzz:refused"},
    // The program's name chooses its mode.
    {.name = "MailWithSubjectIgnoresArguments", .line = "email-us http://example.test/ WINDOW.OPEN a b c",
     .files = {{"email-us.ini", "[EMAIL]\r\nAddress=MAILTO:team@example.test\r\nSubject=Hello there\r\n[WEB]\r\nAddress=no\r\n"}},
     .seen = "open: MAILTO:team@example.test?subject=Hello there", .program = "email-us.exe"},
    {.name = "MailRefusedShowsTheAddress", .line = "start-mail",
     .files = {{"start-mail.ini", "[EMAIL]\r\nAddress=team@example.test\r\nError=No<#20>mail<#21>\r\n[WEB]\r\nError=web\r\n"}},
     .seen = "refused: No mail!\r\n\rteam@example.test", .program = "start-mail.exe", .no_mailto = true},
    {.name = "StartWithParameters", .line = "start ignored",
     .files = {{"start.ini", "[START]\r\nApplication={recorder}\r\nParameters=--first \"two words\"\r\nParams=no\r\n"}},
     .seen = "open: --first \"two words\" @ {here}", .program = "start.exe", .desktop_shell = true},
    {.name = "StartAnAddressWithParamsInItsFolder", .line = "autostart",
     .files = {{"autostart.ini", "[START]\r\nApplication=file:///{recorder}\r\nParams=--from-params\r\n"}},
     .seen = "open: --from-params @ {here}", .program = "autostart.exe"},
    {.name = "StartRefused", .line = "start",
     .files = {{"Start.Menu.ini", "[START]\r\nApplication=C:\\no\\setup.exe\r\nError=Cannot<#20>start\r\n[WEB]\r\nError=web\r\n"}},
     .seen = "refused: Cannot start\r\n\rC:\\no\\setup.exe", .program = "Start.Menu.exe"},
    {.name = "WebInTheNameWins", .line = "webmailstart",
     .files = {{"webmailstart.ini", web("Address=launchtest:web\r\n[START]\r\nApplication={recorder}\r\n")}},
     .seen = "open: launchtest:web", .program = "webmailstart.exe"},
    // An address without its scheme is an address: handed over as written, in the system folder.
    {.name = "AddressWithoutItsScheme", .line = "launch www.example.test", .seen = "open: http://www.example.test"},
    // Launch pages: a new browser window through a page in the temporary folder.
    {.name = "PageForALaterGroupWithoutValuesOpensRelativeToTheProgram",
     .line = "launch http://example.test/ignored Window.Open sub/../manual.html?v=1#install",
     .files = {{"manual.html", kManual}}, .seen = kOpenPage1,
     .changes = new_page(1, page("sub/../manual.html?v=1#install", "", "")),
     .browser = "window.open({url}manual.html?v=1#install||)\nwindow.close()", .folder = kAwkwardFolder},
    {.name = "PageValuesDecodedAndEscapedInAUnicodeFolder",
     .line = "launch window.open \"http://a.test/</script><!--`1x\u0142\" \"C:\\dir\\\" \"a\tb\r\nc\x7f`0'\U0001F600\"",
     .seen = kOpenPage1,
     .changes = new_page(1, page("http://a.test/\\x3C/script>\\x3C!-- x\\u0142", "C:\\x5Cdir\\x5C",
                            "a\\x09b\\x0D\\x0Ac\\x7F`'\\uD83D\\uDE00")),
     .browser = "window.open(http://a.test/%3C/script%3E%3C!--%20x%C5%82|C:\\dir\\|a\tb\r\nc\x7f`'\U0001F600)\nwindow.close()",
     .folder = "\u0141ukasz\\"},
    {.name = "PageFirstFreeNameOldPagesRemovedOthersKept", .line = "launch WINDOW.OPEN http://a.test/ n f",
     .files = {{"victim.txt", "victim", 48}, {"temp\\VexaTmp1.HTML", "-> victim.txt"}, {"temp\\VexaTmp2.HTML", "-> absent"},
               {"temp\\VexaTmp3.HTML\\"}, {"temp\\VexaTmp4.HTML", kOldPage, 1}, {"temp\\VexaTmp5.HTML", "other", 48},
               {"temp\\VexaTmp7.HTML", kOldPage, 48}, {"temp\\VexaTmp08.HTML", kOldPage, 48},
               {"temp\\VexaTmp9.HTML", kFirstPage, 48}},
     .seen = "open: {here}temp\\VexaTmp6.HTML",
     .changes = new_page(6, page("http://a.test/", "n", "f"), {"- {here}temp\\VexaTmp7.HTML", "- {here}temp\\VexaTmp9.HTML"})},
    // Each page adds its own line to WININIT.INI, where another program's lines wait for the next start too, also
    // from many launchers at once; not to a section as large as Windows 95 reads.
    {.name = "PagesOnWindows98", .line = "win98 WINDOW.OPEN http://a.test/1 one f1 x WINDOW.OPEN http://a.test/2 two f2",
     .files = {{kWininitPath, " [ rEname ] \r\n\r\n[other]\r\nNUL=x"}}, .seen = "open: {here}temp\\VexaTmp2.HTML",
     .changes = {added("temp\\VexaTmp1.HTML", page("http://a.test/1", "one", "f1")),
                 added("temp\\VexaTmp2.HTML", page("http://a.test/2", "two", "f2")),
                 kWininitAt + " [ rEname ] \r\nNUL={short:temp\\VexaTmp1.HTML}\r\nNUL={short:temp\\VexaTmp2.HTML}\r\n\r\n"
                 "[other]\r\nNUL=x"},
     .program = "win98.exe", .win98 = true},
    at_once({.name = "PagesOfManyLaunchersAtOnceOnWindows98", .line = k98Page, .files = {{kWininitPath, kWininit}},
             .program = "win98.exe", .win98 = true, .copies = 24}),
    {.name = "PageBesideAFullSectionOnWindows98", .line = k98Page,
     .files = {{kWininitPath, "[rename]\r\n" + repeated("NUL=C:\\WINDOWS\\TEMP\\~OLD.TMP\r\n", 1100)}},
     .seen = kOpenPage1, .changes = new_page(1, page("http://a.test/", "n", "f")), .program = "win98.exe", .win98 = true},
    {.name = "PageWithPopupsBlockedGoesToTheAddress", .line = "launch WINDOW.OPEN manual.html?v=1#install n width=200",
     .files = {{"manual.html", kManual}, {"temp\\manual.html", "in the temporary folder"}}, .seen = kOpenPage1,
     .changes = new_page(1, page("manual.html?v=1#install", "n", "width=200")),
     .browser = "shows: <body>?v=1#install</body>", .folder = kAwkwardFolder},
    {.name = "PageWhoseWindowOpenThrowsGoesToTheAddress", .line = "launch WINDOW.OPEN manual.html#throws \"a name\" width=200",
     .files = {{"manual.html", kManual}}, .seen = kOpenPage1, .changes = new_page(1, page("manual.html#throws", "a name", "width=200")),
     .browser = "throws, shows: <body>#throws</body>"},
    // Started elevated, as by an installer, it has the desktop shell open the target as the user; the shell starts
    // the launcher itself un-elevated, and that one hands over itself.
    {.name = "DesktopShellOpensAPage", .line = "launch WINDOW.OPEN http://a.test/ n f",
     .seen = kOpenPage1 + " by the desktop shell, un-elevated", .changes = new_page(1, page("http://a.test/", "n", "f")),
     .desktop_shell = true},
    {.name = "DesktopShellStartsAProgramByItsBareName", .line = "launch launchtest-recorder.exe",
     .seen = "open:  @ {here} by the desktop shell, un-elevated", .desktop_shell = true},
    {.name = "DesktopShellOpensAnAddressWithoutItsScheme", .line = "launch www.example.test",
     .seen = "open: http://www.example.test by the desktop shell, un-elevated", .desktop_shell = true},
    {.name = "DesktopShellRefusesThenTheBoxOnce", .line = "launch missing.txt", .seen = "refused: Error opening\r\n\rmissing.txt",
     .desktop_shell = true},
    {.name = "DesktopShellCannotOpenTheTypeOneBoxNothingElevated", .line = "launch data.zzz", .files = {{"data.zzz", "?"}},
     .seen = "box: Error opening\r\n\rdata.zzz", .desktop_shell = true},
    {.name = "DesktopShellStillBusyHasTheTargetOnce", .line = "launch slow.launchbusy", .files = {{"slow.launchbusy", ""}},
     .seen = "open: slow.launchbusy @ {here} by the desktop shell, un-elevated, busy until the launcher ended",
     .desktop_shell = true},
    {.name = "UnelevatedLauncherHandsOverItself", .line = "launch \"{program}\"",
     .files = {{"launch.ini", web("Address=http://example.test/itself\r\n")}}, .seen = "open: http://example.test/itself",
     .desktop_shell = true},
    // Every language: texts arrive exactly through the command line, folders, settings files and pages.
    {.name = "UnicodeTargetWithALookAlikeQuote",
     .line = "launch \"launchtest:\u0142\u6771\U0001F600\uFF02 /error=x\"",
     .seen = "open: launchtest:\u0142\u6771\U0001F600\uFF02 /error=x"},
    {.name = "UnicodeFolderSettingsAndRelativeTarget", .line = "launch",
     .files = {{"launch.ini", web("Address=.\\readme.launchtest\r\n")}, {"readme.launchtest", "here"}},
     .seen = "open: {here}readme.launchtest @ {here}", .folder = "\u0141ukasz\\"},
    {.name = "UnicodeSettingsFile", .line = "launch",
     .files = {{"launch.ini", utf16_file(u"\uFEFF[WEB]\r\nAddress=zzz:\u0142\r\nError=\u0391\u03b4\u03cd\u03bd\u03b1\u03c4\u03bf\r\n")}},
     .seen = "refused: \u0391\u03b4\u03cd\u03bd\u03b1\u03c4\u03bf\r\n\rzzz:\u0142"},
    {.name = "JapanesePageForAWindowName", .line = "launch WINDOW.OPEN http://example.test/\u8868 \u8868\u793A width=1",
     .seen = kOpenPage1,
     .changes = new_page(1, page("http://example.test/\\u8868", "\\u8868\\u793A", "width=1")),
     .browser = "window.open(http://example.test/%E8%A1%A8|\u8868\u793A|width=1)\nwindow.close()"},
    {.name = "JapaneseCodesMakeOneCharacter", .line = "launch zzz:refused /error=<#95><#5C>",
     .seen = "refused: \u8868\r\n\rzzz:refused"},
    {.name = "JapaneseProgramNameOnWindows98", .line = "launch", .files = {{"MOXLAB.INI", kFallback}},
     .seen = "open: launchtest:fallback", .program = "\u8868.exe", .win98 = true},
    // Bad input: still the one box or hand-off, and nothing written but launch pages.
    {.name = "EveryCharacterUnclosedQuote", .line = "launch \"zzz:" + kAll + "\" \"/error=" + kAll,
     .seen = "refused: " + kAll + "\r\n\rzzz:" + kAll},
    {.name = "SixteenThousandArguments", .line = longest(kArguments, 'x'),
     .seen = "refused: last" + std::string(kLongest - kArguments.size(), 'x') + "\r\n\rzzz:refused"},
    // No page: nothing is handed to the shell, and nothing of a page is left.
    {.name = "ThousandsOfGroupsWithoutTemporaryFolder", .line = kGroups, .seen = "box: no page\r\n\r", .temp = "missing\\"},
    // Linux refuses even root a new file there: access is denied to every name.
    {.name = "ReadOnlyTemporaryFolder", .line = "launch WINDOW.OPEN a b c /error=no`1page", .seen = "box: no page\r\n\r",
     .temp = "Z:\\sys\\"},
    {.name = "PageOnAFullDisk", .line = "launch WINDOW.OPEN http://a.test/ n f /error=no`1page",
     .files = {{"full\\", "full disk"}}, .seen = "box: no page\r\n\r", .temp = "full\\"},
    {.name = "PageOnAFullDiskOnWindows98", .line = k98Page + " /error=no`1page", .files = {{"full\\", "full disk"},
     {kWininitPath, kWininit}}, .seen = "box: no page\r\n\r", .program = "win98.exe", .temp = "full\\", .win98 = true},
    {.name = "LongestQuotedTokenInAPage", .line = kLongAddress, .seen = kOpenPage1,
     .changes = new_page(1, page(kLongAddress.substr(20, kLongAddress.size() - 21), "", ""))},
};

class Launcher : public ::testing::TestWithParam<Row> {};

TEST_P(Launcher, Row) { run_row(GetParam()); }

INSTANTIATE_TEST_SUITE_P(e2e, Launcher, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
