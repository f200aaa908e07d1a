// restrict_dll_search against the real loader. The search is restricted for
// the rest of the process: ctest runs every test in a process of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "launcher/dll_search.h"

namespace {

std::string own_folder() {
  char path[MAX_PATH];
  std::string own(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return own.substr(0, own.find_last_of('\\') + 1);
}

bool loads(const char* name) {
  HMODULE module = LoadLibraryA(name);
  if (module == nullptr) return false;
  FreeLibrary(module);
  return true;
}

// planted.dll is built beside this test program; a copy waits in the current
// directory under another name.
TEST(DllSearch, LeavesOutTheProgramFolderAndTheCurrentDirectory) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string current = std::string(temp) + "dll_search_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(current.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((own_folder() + "planted.dll").c_str(), (current + "\\here.dll").c_str(), FALSE));
  ASSERT_TRUE(SetCurrentDirectoryA(current.c_str()));

  // Found by the usual search, so that a change shows.
  EXPECT_TRUE(loads("planted.dll"));
  EXPECT_TRUE(loads("here.dll"));
  restrict_dll_search();
  EXPECT_FALSE(loads("planted.dll"));
  EXPECT_FALSE(loads("here.dll"));
  EXPECT_TRUE(loads("version.dll"));  // the system folder is still searched

  SetCurrentDirectoryA(own_folder().c_str());
  DeleteFileA((current + "\\here.dll").c_str());
  RemoveDirectoryA(current.c_str());
}

}  // namespace
