#include <windows.h>

#include "launcher/dll_search.h"

void restrict_dll_search() {
  // Looked up at run time: a static import of either would keep the program
  // from starting on the systems that lack it.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  typedef BOOL(WINAPI * SetDefaultDllDirectoriesFunction)(DWORD);
  typedef BOOL(WINAPI * SetDllDirectoryFunction)(LPCSTR);
  auto set_default_directories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (set_default_directories != nullptr &&
      set_default_directories(LOAD_LIBRARY_SEARCH_SYSTEM32))
    return;
  auto set_directory = reinterpret_cast<SetDllDirectoryFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (set_directory != nullptr) set_directory("");  // removes the current directory
}
