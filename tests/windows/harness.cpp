#include "harness.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <set>
#include <sstream>
#include <thread>

namespace e2e {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;  // path to content; a folder's path ends in a backslash
const DWORD kLimitMs = 60000;                      // for a run, a hand-off, a browser
const wchar_t kUserDesktop[] = L"user";            // where the desktop shell runs as the user

std::wstring wide(const std::string& text) {
  std::wstring result(text.size(), L'\0');
  result.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), result.data(), int(text.size())));
  return result;
}

std::string utf8(const std::wstring& text) {
  std::string result(text.size() * 3, '\0');
  result.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), result.data(), int(result.size()),
                                    nullptr, nullptr));
  return result;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
  return text;
}

std::string read_file(const std::string& path) {
  std::ifstream file(fs::path(wide(path)), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

std::string tests_folder() {
  wchar_t path[MAX_PATH];
  return utf8(fs::path(std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH))).remove_filename().wstring());
}

// Wine's name of a file on the Unix side; empty outside Wine.
std::string unix_name(const std::string& path) {
  auto translate = reinterpret_cast<char*(CDECL*)(const WCHAR*)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* name = translate != nullptr ? translate(wide(path).c_str()) : nullptr;
  std::string result = name != nullptr ? name : "";
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

// Polls until done() holds; false when it still does not after the limit.
template <class Done>
bool wait_for(Done done, DWORD poll_ms = 20) {
  for (DWORD start = GetTickCount(); !done(); Sleep(poll_ms))
    if (GetTickCount() - start > kLimitMs) return false;
  return true;
}

// Runs a command of the Unix shell (Wine only) and waits for its end, which
// it marks with a file in the folder work: Wine reports no end of a Unix process.
void run_unix(const std::string& command, const std::string& work) {
  std::wstring line = wide("/bin/sh -c \"" + command + "; touch '" + unix_name(work) + "/done'\""), done = wide(work + "done");
  STARTUPINFOW startup = {sizeof startup};
  PROCESS_INFORMATION process;
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_TRUE(wait_for([&] { return DeleteFileW(done.c_str()) != FALSE; }, 50)) << command;
}

// Scripts run before the page's: window.open and window.close recorded (the
// address as the browser resolves it), or a window.open that throws, as
// Internet Explorer's does for a window name it does not take.
const char kRecorder[] =
    "<script>var calls = []; function record(call) { calls.push(call); document.documentElement.setAttribute("
    "'data-calls', encodeURIComponent(calls.join('\\n'))); }\n"
    "window.open = function (a, n, f) { record('window.open(' + [new URL(a, document.baseURI), n, f].join('|') + ')');"
    " return window; };\n"
    "window.close = function () { record('window.close()'); };</script>\n";
const char kThrower[] = "<script>window.open = function () { throw new Error('Invalid argument'); };</script>\n";

// Headless Chromium's document once the page has run after script, or as it
// is, with the browser's own popup blocker; the calls that kRecorder saw. The
// page names Windows paths (file:///C:/...), which a link /C: makes Linux
// paths for the run.
std::string in_browser(const std::string& page_file, const std::string& work, const char* script) {
  bool recorded = script == kRecorder;
  std::string file = *script ? work + "recorded.html" : page_file;
  if (*script) std::ofstream(fs::path(wide(file)), std::ios::binary) << script << read_file(page_file);
  run_unix("ln -sfn '" + unix_name("C:\\") + "' /C: && chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-sync"
           " --disable-background-networking --disable-component-update --virtual-time-budget=5000 --user-data-dir='" +
               unix_name(work) + "/profile' --dump-dom '" + unix_name(file) + "' 2>/dev/null >'" +
               unix_name(work) + "/dom'; rm /C:",
           work);
  std::string dom = read_file(work + "dom"), calls;
  size_t at = dom.find("data-calls=\"");
  for (at += 12; recorded && at > 12 && dom[at] != '"'; ++at) {
    calls += dom[at] == '%' ? char(std::stoi(dom.substr(at + 1, 2), nullptr, 16)) : dom[at];
    if (dom[at] == '%') at += 2;
  }
  return recorded ? calls : dom;
}

// The recorder handles every hand-off that a row observes, under names of the tests' own (a scheme, two file
// types, a program in App Paths), which go again at the end. Wine's prefix is the tests' own: there the handlers of
// http, https, mailto and web pages are the recorder too, and are put back at the end (or, after a run that was
// stopped, at the next start). Windows reads per-user classes from HKCU\Software\Classes, Wine only HKCR.
const bool kWine = !unix_name("C:\\").empty();
const HKEY kClasses = kWine ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER, kPrograms = kWine ? HKEY_LOCAL_MACHINE : kClasses;
const std::wstring kClassesKey = kWine ? L"" : L"Software\\Classes\\", kSaved = L"launchtest.saved\\",
                   kAppPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\launchtest-recorder.exe";
const wchar_t* const kOwnKeys[] = {L"launchtest", L".launchtest", L"launchtest.file", L".launchbusy", L"launchtest.busy",
                                   L"launchtest.saved"};
const wchar_t* const kWineHandlers[] = {L"http", L"https", L"mailto", L"htmlfile"};

void set_value(HKEY root, const std::wstring& key, const std::wstring& value, const wchar_t* name = nullptr) {
  RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(), DWORD(value.size() + 1) * 2);
}

void register_recorder(const std::wstring& handled) {
  std::wstring open = kClassesKey + handled + L"\\shell\\open";
  RegDeleteTreeW(kClasses, (open + L"\\ddeexec").c_str());  // no browser by DDE
  set_value(kClasses, open + L"\\command", L"\"" + wide(tests_folder()) + L"recorder.exe\" %1");  // the target exactly
}

// A copy of the class from, with all under it, in place of the class to; nothing when from is missing.
void copy_class(const std::wstring& from, const std::wstring& to) {
  HKEY source, target;
  if (RegOpenKeyExW(kClasses, (kClassesKey + from).c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS) return;
  RegDeleteTreeW(kClasses, (kClassesKey + to).c_str());
  RegCreateKeyExW(kClasses, (kClassesKey + to).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr);
  RegCopyTreeW(source, nullptr, target);
  RegCloseKey(target);
  RegCloseKey(source);
}

// Wine's handlers as they were, and none of the tests' own names.
BOOL WINAPI put_back(DWORD = 0) {
  for (const wchar_t* handler : kWineHandlers) copy_class(kSaved + handler, handler);
  for (const wchar_t* own : kOwnKeys) RegDeleteTreeW(kClasses, (kClassesKey + own).c_str());
  RegDeleteTreeW(kPrograms, kAppPath.c_str());
  return FALSE;  // a stopped program still ends
}

class Handlers : public ::testing::Environment {
  void SetUp() override {
    put_back();
    SetConsoleCtrlHandler(put_back, TRUE);
    for (const wchar_t* handler : kWineHandlers) {
      if (!kWine) break;
      copy_class(handler, kSaved + handler);
      register_recorder(handler);
    }
    set_value(kClasses, kClassesKey + L"launchtest", L"", L"URL Protocol");
    set_value(kClasses, kClassesKey + L".launchtest", L"launchtest.file");
    set_value(kClasses, kClassesKey + L".launchbusy", L"launchtest.busy");
    for (const wchar_t* handled : {L"launchtest", L"launchtest.file", L"launchtest.busy"}) register_recorder(handled);
    // The shell waits for a DDE handler to become ready.
    set_value(kClasses, kClassesKey + L"launchtest.busy\\shell\\open\\ddeexec", L"[open]");
    set_value(kPrograms, kAppPath, wide(tests_folder()) + L"recorder.exe");
  }
  void TearDown() override { put_back(); }
};
::testing::Environment* const kHandlers = ::testing::AddGlobalTestEnvironment(new Handlers);

void take(Files& files, const std::string& folder) {
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(wide(folder)))) {
    std::string path = utf8(entry.path().wstring());
    files[entry.is_directory() ? path + "\\" : path] = entry.is_directory() ? "" : read_file(path);
  }
}

// What a run may write: the sandbox, WININIT.INI and the deletions pending for
// the next start of Windows (pairs of "\??\<name>" and an empty new name).
Files written(const std::string& sandbox, const std::string& wininit) {
  Files files;
  take(files, sandbox);
  if (fs::exists(fs::path(wide(wininit)))) files[wininit] = read_file(wininit);
  std::wstring pending(65536, L'\0');
  DWORD size = DWORD(pending.size() * 2);
  RegGetValueW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
               L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, pending.data(), &size);
  for (const wchar_t* name = pending.c_str(); *name; name += wcslen(name) + 1) {
    const wchar_t* new_name = name + wcslen(name) + 1;
    if (*new_name == 0) files["delete at restart: " + utf8(name + 4)] = "";
    name = new_name;
  }
  return files;
}

std::string text_of(HWND window) {
  wchar_t text[32768];
  return utf8(std::wstring(text, size_t(std::max(GetWindowTextW(window, text, 32768), 0))));
}

std::vector<HWND> windows_of(DWORD process, const wchar_t* class_name) {
  std::vector<HWND> found;
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, class_name, nullptr)) != nullptr;) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == process) found.push_back(window);
  }
  return found;
}

// The hidden tool window that owns the hand-off: a popup without title, 0 by 0.
bool hidden_owner_window(HWND window) {
  RECT rect = {1, 1, 2, 2};
  GetWindowRect(window, &rect);
  return text_of(window).empty() && !IsWindowVisible(window) && rect.right == rect.left && rect.bottom == rect.top &&
         (GetWindowLongW(window, GWL_STYLE) & (WS_POPUP | WS_CHILD)) == WS_POPUP &&
         (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

std::string describe_box(HWND box, DWORD process) {
  // The text is set a few ms after the box appears: wait until it stays the
  // same (it stays empty when a code made a zero byte first).
  std::string text = text_of(GetDlgItem(box, 0xFFFF)), buttons;
  for (int steady = 0; steady < (text.empty() ? 100 : 3); Sleep(30)) {
    std::string now = text_of(GetDlgItem(box, 0xFFFF));
    steady = now == text ? steady + 1 : 0;
    text = now;
  }
  std::vector<HWND> owners = windows_of(process, L"TPUtilWindow");
  std::string kind = owners.empty() ? "box" : owners.size() == 1 && hidden_owner_window(owners[0]) ? "refused" : "box, odd owner";
  for (HWND button = nullptr; (button = FindWindowExW(box, button, L"Button", nullptr)) != nullptr;)
    if (IsWindowVisible(button)) buttons += "[" + text_of(button) + "]";
  if (buttons != "[OK]") kind += " with " + buttons;
  if (!text_of(box).empty()) kind += " titled " + text_of(box);
  if (GetWindow(box, GW_OWNER) != nullptr) kind += " owned";
  return kind + ": " + text;
}

// Whether a program of that file name runs.
bool runs(const wchar_t* name) {
  PROCESSENTRY32W entry = {sizeof entry};
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  BOOL more = Process32FirstW(snapshot, &entry);
  while (more && lstrcmpiW(entry.szExeFile, name) != 0) more = Process32NextW(snapshot, &entry);
  CloseHandle(snapshot);
  return more;
}

// Closes the shell of the calling thread's desktop, and waits for its end.
void close_shell() {
  HWND window = GetDesktopWindow();
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  HANDLE shell = OpenProcess(SYNCHRONIZE, FALSE, id);
  PostMessageW(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(shell, kLimitMs);
  CloseHandle(shell);
}

// Starts the desktop shell as the user, un-elevated, on a desktop of its own.
void start_desktop_shell_as_user() {
  HANDLE token;
  TOKEN_LINKED_TOKEN user = {};
  DWORD size;
  OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
  GetTokenInformation(token, TokenLinkedToken, &user, sizeof user, &size);
  SetThreadDesktop(CreateDesktopW(kUserDesktop, nullptr, nullptr, 0, GENERIC_ALL, nullptr));
  std::wstring line = L"explorer.exe /desktop", desktop = std::wstring(L"WinSta0\\") + kUserDesktop;
  STARTUPINFOW startup = {sizeof startup};
  startup.lpDesktop = desktop.data();
  PROCESS_INFORMATION process = {};
  CreateProcessAsUserW(user.LinkedToken, nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process);
  WaitForInputIdle(process.hProcess, kLimitMs);
}

// Starts the copies of the program at once and follows each to its end, reading and closing each box.
std::string watch(const std::string& program, const std::string& line, const std::string& directory, const Row& row) {
  std::wstring desktop = std::wstring(L"WinSta0\\") + kUserDesktop;
  STARTUPINFOW startup = {sizeof startup};
  if (row.desktop_shell) startup.lpDesktop = desktop.data();
  std::vector<PROCESS_INFORMATION> processes(row.copies);
  for (PROCESS_INFORMATION& process : processes)
    if (!CreateProcessW(wide(program).c_str(), wide(line).data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        wide(directory).c_str(), &startup, &process))
      return "\ncannot start " + program + ": error " + std::to_string(GetLastError());
  for (PROCESS_INFORMATION& process : processes) ResumeThread(process.hThread);
  std::string seen;
  for (PROCESS_INFORMATION& process : processes) {
    auto ended = [&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; };
    wait_for([&] {
      for (HWND box : windows_of(process.dwProcessId, L"#32770")) {
        if (!IsWindowVisible(box)) continue;
        seen += "\n" + describe_box(box, process.dwProcessId);
        SendMessageW(box, WM_COMMAND, IDOK, 0);  // as a click on OK
        wait_for([&] { return !IsWindow(box) || ended(); });
      }
      return ended();
    });
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, code);
    if (code != 0) seen += code == STILL_ACTIVE ? "\nstill running" : "\nexit code " + std::to_string(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  return seen;
}

}  // namespace

// Why a row runs only under Wine; empty when it runs on Windows too.
std::string needs_wine(const Row& row) {
  std::string seen = row.seen;
  std::transform(seen.begin(), seen.end(), seen.begin(), ::tolower);
  bool unix_side = row.temp.rfind("Z:", 0) == 0 || std::any_of(row.files.begin(), row.files.end(), [](const Item& item) {
                     return item.content.rfind("-> ", 0) == 0 || item.content == "full disk";
                   });
  auto opens = [&](const char* what) { return seen.find(what) != std::string::npos; };
  bool handlers = row.no_mailto || opens("open: http") || opens("open: mailto") || opens(".html");
  return row.win98                ? "Wine's Windows 98"
         : row.desktop_shell      ? "a desktop shell started un-elevated with Wine's linked token"
         : !row.browser.empty()   ? "Chromium"
         : unix_side              ? "a link, full disk or folder of the Unix side"
         : handlers               ? "the handlers of http, mailto and web pages, which the tests change only in Wine's prefix"
                                  : "";
}

void run_row(const Row& row) {
  if (!kWine && !needs_wine(row).empty()) GTEST_SKIP() << "needs " << needs_wine(row);
  if (std::string(row.name).find("Japanese") != std::string::npos && GetACP() != 932) {
    ASSERT_FALSE(kWine) << "needs LC_ALL=ja_JP.UTF-8";
    GTEST_SKIP() << "needs the Japanese code page, 932";
  }
  wchar_t windows[MAX_PATH], launcher[MAX_PATH];
  // A sandbox of its own for each run: a pending deletion outlives the run.
  const std::string root = "C:\\e2e\\" + std::string(row.name) + "." + std::to_string(GetTickCount()),
                    here = root + "\\" + row.folder,
                    program = here + row.program, traces = root + ".handoffs\\", recorder = tests_folder() + "recorder.exe",
                    wininit = utf8(std::wstring(windows, GetWindowsDirectoryW(windows, MAX_PATH))) + "\\WININIT.INI";
  std::string url = "file:///";  // of the program's folder
  for (unsigned char c : here) {
    char escape[4];
    snprintf(escape, sizeof escape, "%%%02X", c);
    url += c == '\\' ? "/" : isalnum(c) || strchr("-._~:", c) ? std::string(1, char(c)) : escape;
  }
  auto expand = [&](std::string text) {
    text = replaced(replaced(replaced(replaced(text, "{here}", here), "{program}", program), "{recorder}", recorder),
                    "{url}", url);
    for (size_t at; (at = text.find("{short:")) != std::string::npos;) {
      wchar_t name[MAX_PATH];
      size_t end = text.find('}', at);
      DWORD length = GetShortPathNameW(wide(here + text.substr(at + 7, end - at - 7)).c_str(), name, MAX_PATH);
      text.replace(at, end + 1 - at, utf8(std::wstring(name, length < MAX_PATH ? length : 0)));
    }
    return text;
  };

  for (const std::string& folder : {here + "temp", traces}) fs::create_directories(fs::path(wide(folder)));
  DWORD length = GetEnvironmentVariableW(L"LAUNCH_EXE", launcher, MAX_PATH);  // else the one beside the tests
  std::wstring source = length > 0 && length < MAX_PATH ? launcher : wide(tests_folder() + "launch.exe");
  ASSERT_TRUE(CopyFileW(source.c_str(), wide(program).c_str(), FALSE)) << utf8(source);
  if (row.win98) DeleteFileW(wide(wininit).c_str());
  std::vector<std::string> full;  // folders on a full disk
  for (const Item& item : row.files) {
    std::string name = (item.path[1] == ':' ? "" : here) + item.path;  // a full name, or beside the program
    fs::path path(wide(name));
    if (item.path.back() == '\\')
      fs::create_directories(path);
    else if (item.content.rfind("-> ", 0) == 0)
      run_unix("ln -s '" + unix_name(here + item.content.substr(3)) + "' '" + unix_name(here + item.path) + "'", traces);
    else
      std::ofstream(path, std::ios::binary) << expand(item.content);
    if (item.content == "full disk")  // a file system of its own, filled up
      run_unix("mount -t tmpfs -o size=4k tmpfs '" + unix_name(full.emplace_back(name)) + "' && head -c 8192 /dev/zero >'" +
                   unix_name(name) + "/filler'",
               traces);
    if (item.age_hours > 0)
      fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(long(item.age_hours * 3600)));
  }
  const std::wstring version = L"Software\\Wine\\AppDefaults\\" + wide(row.program);
  if (row.win98) RegSetKeyValueW(HKEY_CURRENT_USER, version.c_str(), L"Version", REG_SZ, L"win98", 12);
  if (row.no_mailto) RegDeleteTreeW(HKEY_CLASSES_ROOT, L"mailto");

  Files before = written(root, wininit);
  std::string temp = (row.temp[1] == ':' ? "" : here) + row.temp.substr(0, row.temp.size() - 1);
  for (const auto& [name, value] : {std::pair{L"TMP", temp}, {L"TEMP", temp}, {L"RECORDER_TRACE_FOLDER", traces}})
    SetEnvironmentVariableW(name, wide(value).c_str());  // the launcher inherits them
  // Under Wine every process is elevated, the desktop shell too, and the first shell to come answers every
  // caller: the default desktop's shell goes, and the row runs on a desktop of its own with a shell as the user.
  if (row.desktop_shell) {
    std::thread(close_shell).join();  // a thread keeps the desktop it first used: not this one
    start_desktop_shell_as_user();
  }
  HANDLE ended = CreateEventW(nullptr, TRUE, FALSE, L"launcher ended");  // for a handler that waits for it
  std::string seen = watch(program, expand(row.line), root + "\\", row);
  SetEvent(ended);
  // Every handler that was started (or launcher, by the shell) runs by now: once all have ended, every record is there.
  wait_for([] { return !runs(L"recorder.exe") && !runs(L"launch.exe"); }, 50);
  CloseHandle(ended);
  Files records;
  take(records, traces);
  for (auto at = records.rbegin(); at != records.rend(); ++at) seen = "\nopen: " + at->second + seen;
  Files after = written(root, wininit);
  for (const std::string& folder : full) run_unix("umount '" + unix_name(folder) + "'", traces);
  if (row.desktop_shell) close_shell();
  if (row.win98) RegDeleteTreeW(HKEY_CURRENT_USER, version.c_str());
  if (row.no_mailto) register_recorder(L"mailto");  // for the rows after it in this process

  // Copies run, and write their lines, in any order: lines are compared in the order of their texts.
  auto in_order = [&](const std::string& text) {
    std::istringstream in(text);
    std::multiset<std::string> lines;
    for (std::string line; row.copies > 1 && std::getline(in, line);) lines.insert(line + "\n");
    return row.copies > 1 ? std::accumulate(lines.begin(), lines.end(), std::string()) : text;
  };
  EXPECT_EQ(in_order(seen.substr(seen.empty() ? 0 : 1)), in_order(expand(row.seen)));
  std::vector<std::string> changes, expected;
  auto add = [&](std::vector<std::string>& to, const std::string& change) { to.push_back(in_order(change)); };
  for (const auto& [path, content] : after)
    if (before.count(path) == 0 || before[path] != content)
      add(changes, (before.count(path) ? "~ " : "+ ") + path + (content.empty() ? "" : ": " + content));
  for (const auto& [path, content] : before)
    if (after.count(path) == 0) changes.push_back("- " + path);
  for (const std::string& change : row.changes) add(expected, expand(change));
  std::sort(changes.begin(), changes.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(changes, expected);
  if (!row.browser.empty() && !records.empty()) {
    bool blocked = row.browser.rfind("shows: ", 0) == 0, throws = row.browser.rfind("throws, shows: ", 0) == 0;
    std::string document = in_browser(records.rbegin()->second, traces, blocked ? "" : throws ? kThrower : kRecorder);
    if (blocked || throws)
      EXPECT_NE(document.find(row.browser.substr(row.browser.find("shows: ") + 7)), std::string::npos) << document;
    else
      EXPECT_EQ(document, expand(row.browser));
  }
}

std::string page(const std::string& address, const std::string& name, const std::string& features) {
  const std::string quoted_address = "\"" + address + "\"";
  return "<!DOCTYPE html>\r\n<!-- saved from url=(0014)about:internet -->\r\n<html>\r\n<head>\r\n"
         "<meta charset=\"utf-8\">\r\n<base href=\"{url}\">\r\n<script>\r\nfunction KoOpenPage()\r\n{\r\n"
         "var opened = null; try { opened = window.open(" + quoted_address + ",\"" + name + "\",\"" + features +
         "\"); } catch (e) {} if (!opened) { location.replace(" + quoted_address + "); return; }\r\n"
         "window.close();\r\n}\r\n</script>\r\n</head>\r\n<body onload=\"KoOpenPage()\">\r\n</body>\r\n</html>\r\n\r\n";
}

std::string added(const std::string& path, const std::string& content) {
  return "+ {here}" + path + (content.empty() ? "" : ": " + content);
}

}  // namespace e2e
