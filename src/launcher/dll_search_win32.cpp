// Takes the program's folder and the current directory out of the DLL search.
#include <windows.h>

#include "common/looked_up_win32.h"
#include "launcher/dll_search.h"

void restrict_dll_search() {
  if (looked_up::SetDefaultDllDirectories && looked_up::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  if (looked_up::SetDllDirectoryA) looked_up::SetDllDirectoryA("");  // removes the current directory
}
