// Finds the functions of looked_up_win32.h by name, DLL by DLL.
#include "common/looked_up_win32.h"

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

template <class Function>
void find(HMODULE module, const char* name, Function& function) {
  function = module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

bool loaded[5];  // by Dll

}  // namespace

#define FIND_CALL(function) find(module, #function, looked_up::function);

void look_up_start_up_calls() {
  HMODULE module = GetModuleHandleA("kernel32.dll");
  KERNEL32_CALLS(FIND_CALL)
  module = GetModuleHandleA("user32.dll");
  USER32_CALLS(FIND_CALL)
  module = GetModuleHandleA("shell32.dll");
  SHELL32_CALLS(FIND_CALL)
  module = GetModuleHandleA("ntdll.dll");  // none on Windows 95, 98 and Me
  NTDLL_CALLS(FIND_CALL)
}

void look_up_calls(Dll dll) {
  if (loaded[static_cast<int>(dll)]) return;
  loaded[static_cast<int>(dll)] = true;
  const char* const names[] = {"comctl32.dll", "shlwapi.dll", "ole32.dll", "oleaut32.dll", "advapi32.dll"};
  HMODULE module = LoadLibraryA(names[static_cast<int>(dll)]);
  switch (dll) {
    case Dll::comctl32:
      COMCTL32_CALLS(FIND_CALL) break;
    case Dll::shlwapi:
      SHLWAPI_CALLS(FIND_CALL) break;
    case Dll::ole32:
      OLE32_CALLS(FIND_CALL) break;
    case Dll::oleaut32:
      OLEAUT32_CALLS(FIND_CALL) break;
    case Dll::advapi32:
      ADVAPI32_CALLS(FIND_CALL) break;
  }
}
