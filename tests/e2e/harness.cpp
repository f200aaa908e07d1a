#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace e2e {
namespace {

const char kRoot[] = "C:\\e2e\\";
const DWORD kRunLimitMs = 60000;       // the first window of a session can take seconds
const DWORD kHandoffLimitMs = 30000;   // the handler starts after the launcher has gone

std::string window_text(HWND window) {
  char buffer[70000];
  int length = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? length : 0);
}

std::string class_of(HWND window) {
  char name[256];
  int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

struct WindowSearch {
  DWORD process;
  std::string class_name;
  std::vector<HWND> found;
};

std::vector<HWND> top_windows(DWORD process, const std::string& class_name) {
  WindowSearch search{process, class_name, {}};
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<WindowSearch*>(context);
        DWORD owner_process = 0;
        GetWindowThreadProcessId(window, &owner_process);
        if (owner_process == s->process && class_of(window) == s->class_name) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

OwnerWindow describe_owner_window(HWND window) {
  OwnerWindow seen;
  seen.class_name = class_of(window);
  seen.title = window_text(window);
  seen.style = GetWindowLongA(window, GWL_STYLE);
  seen.ex_style = GetWindowLongA(window, GWL_EXSTYLE);
  seen.visible = IsWindowVisible(window) != FALSE;
  RECT rect;
  if (GetWindowRect(window, &rect)) {
    seen.width = rect.right - rect.left;
    seen.height = rect.bottom - rect.top;
  }
  return seen;
}

// The box's text is set a few ms after the window appears: wait until it has
// stayed the same for a while (a text may be empty when a code made a zero
// byte first).
std::string settled_text(HWND label) {
  std::string last = window_text(label);
  int steady = 0;
  for (int round = 0; round < 200 && steady < (last.empty() ? 10 : 3); ++round) {
    Sleep(30);
    std::string now = window_text(label);
    steady = now == last ? steady + 1 : 0;
    last = now;
  }
  return last;
}

Box read_box(HWND window, DWORD process) {
  Box box;
  box.text = settled_text(GetDlgItem(window, 0xFFFF));
  box.caption = window_text(window);
  box.has_owner = GetWindow(window, GW_OWNER) != nullptr;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (class_of(child) == "Button" && IsWindowVisible(child)) box.buttons.push_back(window_text(child));
  }
  for (HWND owner : top_windows(process, "TPUtilWindow")) box.owner_windows.push_back(describe_owner_window(owner));
  return box;
}

// The caller's environment with the given variables set.
std::string environment_block(const std::vector<std::pair<std::string, std::string>>& extra) {
  std::vector<std::string> entries;
  char* block = GetEnvironmentStringsA();
  for (const char* entry = block; *entry; entry += strlen(entry) + 1) entries.push_back(entry);
  FreeEnvironmentStringsA(block);
  for (const auto& [name, value] : extra) {
    std::string prefix = name + "=";
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const std::string& e) {
                                   return _strnicmp(e.c_str(), prefix.c_str(), prefix.size()) == 0;
                                 }),
                  entries.end());
    entries.push_back(prefix + value);
  }
  std::string result;
  for (const std::string& entry : entries) result += entry + '\0';
  return result + '\0';
}

std::vector<std::string> traces_in(const std::string& folder) {
  std::vector<std::string> traces;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "handoff-*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return traces;
  do traces.push_back(read_file(folder + found.cFileName));
  while (FindNextFileA(search, &found));
  FindClose(search);
  return traces;
}

std::string test_name() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->test_suite_name()) + "." + info->name();
}

class RecorderEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    CreateDirectoryA(kRoot, nullptr);
    for (const char* handled : {"http", "https", "htmlfile", "txtfile"}) register_recorder_for(handled);
  }
};

const auto* const recorder_environment =
    ::testing::AddGlobalTestEnvironment(new RecorderEnvironment);

}  // namespace

std::string test_programs_folder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string own(path, length);
  return own.substr(0, own.find_last_of('\\') + 1);
}

std::string recorder_path() { return test_programs_folder() + "recorder.exe"; }

void register_recorder_for(const char* handled) {
  const std::string command = quoted(recorder_path()) + " \"%1\"";
  std::string open = std::string(handled) + "\\shell\\open";
  RegDeleteTreeA(HKEY_CLASSES_ROOT, (open + "\\ddeexec").c_str());  // no browser by DDE
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, (open + "\\command").c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                 static_cast<DWORD>(command.size() + 1));
  RegCloseKey(key);
}

std::string recorder_line(const std::string& target) { return quoted(recorder_path()) + " " + quoted(target); }

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string read_file(const std::string& path) {
  std::string content;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return content;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  CloseHandle(file);
  return content;
}

void write_file(const std::string& path, const std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

void remove_tree(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") remove_tree(path + "\\" + name);
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
  } else {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
}

void set_file_date(const std::string& path, WORD year, WORD month, WORD day) {
  SYSTEMTIME date = {};
  date.wYear = year;
  date.wMonth = month;
  date.wDay = day;
  FILETIME time;
  ASSERT_TRUE(SystemTimeToFileTime(&date, &time));
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
  CloseHandle(file);
}

Sandbox::Sandbox(const std::string& program_name, const std::string& subfolder) {
  root_ = kRoot + test_name() + "\\";
  remove_tree(root_.substr(0, root_.size() - 1));
  CreateDirectoryA(root_.c_str(), nullptr);
  folder_ = root_;
  if (!subfolder.empty()) {
    folder_ += subfolder + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  traces_ = root_ + "handoffs\\";
  CreateDirectoryA(traces_.c_str(), nullptr);
  program_ = folder_ + program_name;
  copy_program_as(program_name);
}

void Sandbox::write(const std::string& relative, const std::string& content) const {
  write_file(path(relative), content);
}

void Sandbox::make_folder(const std::string& relative) const {
  ASSERT_TRUE(CreateDirectoryA(path(relative).c_str(), nullptr)) << relative;
}

void Sandbox::copy_program_as(const std::string& name) const {
  ASSERT_TRUE(CopyFileA((test_programs_folder() + "launch.exe").c_str(), path(name).c_str(), FALSE)) << name;
}

Run Sandbox::run(const std::string& command_line, const RunOptions& options) const {
  return run_program(program_, command_line, options);
}

Run Sandbox::run_program(const std::string& program, const std::string& command_line,
                         const RunOptions& options) const {
  Run run;
  remove_tree(traces_.substr(0, traces_.size() - 1));
  CreateDirectoryA(traces_.c_str(), nullptr);

  auto variables = options.environment;
  variables.emplace_back("RECORDER_TRACE_FOLDER", traces_.substr(0, traces_.size() - 1));
  std::string environment = environment_block(variables);
  std::string directory = options.current_directory.empty() ? kRoot : options.current_directory;
  std::vector<char> line(command_line.begin(), command_line.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, environment.data(),
                      directory.c_str(), &startup, &process)) {
    ADD_FAILURE() << "cannot start " << program << ": error " << GetLastError();
    return run;
  }

  DWORD started = GetTickCount();
  while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
    if (GetTickCount() - started > kRunLimitMs) {
      TerminateProcess(process.hProcess, 99);
      WaitForSingleObject(process.hProcess, INFINITE);
      break;
    }
    for (HWND window : top_windows(process.dwProcessId, "#32770")) {
      if (!IsWindowVisible(window)) continue;
      run.boxes.push_back(read_box(window, process.dwProcessId));
      SendMessageA(window, WM_COMMAND, IDOK, 0);  // as a click on OK
      while (IsWindow(window) && WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
      }
    }
  }
  run.finished = GetTickCount() - started <= kRunLimitMs;
  GetExitCodeProcess(process.hProcess, &run.exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  // The handler starts after the launcher has gone; a box means no hand-off.
  size_t expected = run.boxes.empty() ? options.handoffs : 0;
  started = GetTickCount();
  run.handoffs = traces_in(traces_);
  while (run.handoffs.size() < expected && GetTickCount() - started < kHandoffLimitMs) {
    Sleep(50);
    run.handoffs = traces_in(traces_);
  }
  return run;
}

}  // namespace e2e
