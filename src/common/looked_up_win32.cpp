// Finds the functions of looked_up_win32.h by name, DLL by DLL.
#include "common/looked_up_win32.h"

#include <string.h>

namespace looked_up {
#define DEFINE_CALL(function) decltype(&::function) function;
KERNEL32_CALLS(DEFINE_CALL)
USER32_CALLS(DEFINE_CALL)
SHELL32_CALLS(DEFINE_CALL)
NTDLL_CALLS(DEFINE_CALL)
COMCTL32_CALLS(DEFINE_CALL)
SHLWAPI_CALLS(DEFINE_CALL)
OLE32_CALLS(DEFINE_CALL)
OLEAUT32_CALLS(DEFINE_CALL)
ADVAPI32_CALLS(DEFINE_CALL)
#undef DEFINE_CALL
}  // namespace looked_up

namespace {

// Finds each name of a list in module and stores the function in its slot;
// null when module is missing or lacks it.
void find(HMODULE module, const char* const* names, void* const* slots, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    FARPROC found = module ? GetProcAddress(module, names[i]) : nullptr;
    memcpy(slots[i], &found, sizeof found);  // every function pointer has its size
  }
}

bool loaded[5];  // by Dll

}  // namespace

// A list's names and the variables that take the functions, as constant
// tables: no start-up code fills them.
#define NAME(function) #function,
#define SLOT(function) &looked_up::function,
#define FIND(module, CALLS)                                               \
  {                                                                       \
    static const char* const names[] = {CALLS(NAME)};                     \
    static void* const slots[] = {CALLS(SLOT)};                           \
    find(module, names, slots, sizeof names / sizeof *names);             \
  }

void look_up_start_up_calls() {
  FIND(GetModuleHandleA("kernel32.dll"), KERNEL32_CALLS)
  FIND(GetModuleHandleA("user32.dll"), USER32_CALLS)
  FIND(GetModuleHandleA("shell32.dll"), SHELL32_CALLS)
  FIND(GetModuleHandleA("ntdll.dll"), NTDLL_CALLS)  // none on Windows 95, 98 and Me
}

void look_up_calls(Dll dll) {
  if (loaded[static_cast<int>(dll)]) return;
  loaded[static_cast<int>(dll)] = true;
  const char* const dlls[] = {"comctl32.dll", "shlwapi.dll", "ole32.dll", "oleaut32.dll", "advapi32.dll"};
  HMODULE module = LoadLibraryA(dlls[static_cast<int>(dll)]);
  switch (dll) {
    case Dll::comctl32: FIND(module, COMCTL32_CALLS) break;
    case Dll::shlwapi: FIND(module, SHLWAPI_CALLS) break;
    case Dll::ole32: FIND(module, OLE32_CALLS) break;
    case Dll::oleaut32: FIND(module, OLEAUT32_CALLS) break;
    case Dll::advapi32: FIND(module, ADVAPI32_CALLS) break;
  }
}
