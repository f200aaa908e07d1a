// The launcher's restricted DLL search against the real loader (no row can
// show it: Wine loads its own builtin DLLs whatever the search).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/system_win32.h"
#include "launcher/dll_search.h"

bool loads(const char* name) {
  HMODULE module = LoadLibraryA(name);
  return module != nullptr && FreeLibrary(module);
}

// planted.dll is built beside this program, and waits in the current
// directory as here.dll. The restriction lasts for the rest of the process:
// ctest runs each test in a process of its own.
TEST(DllSearch, LeavesOutTheProgramsFolderAndTheCurrentDirectory) {
  char path[MAX_PATH];
  std::string folder(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  folder.resize(folder.rfind('\\') + 1);
  CreateDirectoryA((folder + "current").c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((folder + "planted.dll").c_str(), (folder + "current\\here.dll").c_str(), FALSE));
  ASSERT_TRUE(SetCurrentDirectoryA((folder + "current").c_str()));
  EXPECT_TRUE(loads("planted.dll") && loads("here.dll"));  // found by the usual search, so that the change shows
  start_system_calls();
  restrict_dll_search();
  EXPECT_FALSE(loads("planted.dll") || loads("here.dll"));
  EXPECT_TRUE(loads("version.dll"));  // the system folder is still searched
}
