#include "unix_links.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "harness.h"

namespace e2e {
namespace {

// Wine's own exports for translating file names.
using UnixNameOf = char*(CDECL*)(const WCHAR*);
using DosNameOf = WCHAR*(CDECL*)(const char*);

template <class Function>
Function wine_export(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

std::wstring wide(const std::string& text) {
  std::wstring result(text.size() + 1, L'\0');
  int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &result[0], static_cast<int>(result.size()));
  result.resize(length > 0 ? length - 1 : 0);
  return result;
}

std::string narrow(const WCHAR* text) {
  char buffer[MAX_PATH * 4];
  int length = WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  return std::string(buffer, length > 0 ? length - 1 : 0);
}

}  // namespace

std::string unix_name(const std::string& windows_name) {
  auto translate = wine_export<UnixNameOf>("wine_get_unix_file_name");
  if (!translate) return "";
  char* name = translate(wide(windows_name).c_str());
  if (!name) return "";
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

std::string windows_name(const std::string& unix_name) {
  auto translate = wine_export<DosNameOf>("wine_get_dos_file_name");
  if (!translate) return "";
  WCHAR* name = translate(unix_name.c_str());
  if (!name) return "";
  std::string result = narrow(name);
  HeapFree(GetProcessHeap(), 0, name);
  return result.rfind("\\\\?\\", 0) == 0 ? result.substr(4) : result;
}

std::string outside_folder() {
  // C: is <prefix>/dosdevices/c:, so two levels up is the prefix itself.
  std::string drive_c = unix_name("C:\\");
  std::string prefix = drive_c.substr(0, drive_c.find("/dosdevices/"));
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string folder = windows_name(prefix) + "\\e2e-outside\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  folder += std::string(info->test_suite_name()) + "." + info->name();
  remove_tree(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\";
}

void plant_unix_link(const std::string& link, const std::string& unix_target) {
  std::string command = "/bin/ln -s " + quoted(unix_target) + " " + quoted(unix_name(link));
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process))
      << command;
  WaitForSingleObject(process.hProcess, 30000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // Wine reports no exit code for a Unix program: wait for the link itself
  // to be listed.
  for (DWORD started = GetTickCount(); GetTickCount() - started < 30000; Sleep(20)) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(link.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    FindClose(search);
    return;
  }
  ADD_FAILURE() << "no link " << link;
}

}  // namespace e2e
