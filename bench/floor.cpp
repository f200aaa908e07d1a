// The least possible launcher, the benchmark's floor: it makes the one shell
// call for a fixed address and exits, with nothing else (no C runtime, no
// arguments read). Built twice: with the launcher's hidden owner window
// (WITH_OWNER) and without one.
#include <windows.h>
#include <shellapi.h>

extern "C" __attribute__((force_align_arg_pointer)) void floor_start() {
  HWND owner = nullptr;
#ifdef WITH_OWNER
  WNDCLASSA owner_class = {0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr,
                           "TPUtilWindow"};
  RegisterClassA(&owner_class);
  owner = CreateWindowExA(WS_EX_TOOLWINDOW, "TPUtilWindow", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                          owner_class.hInstance, nullptr);
#endif
  ShellExecuteA(owner, nullptr, BENCH_ADDRESS, nullptr, nullptr, SW_SHOWNORMAL);
  if (owner != nullptr) DestroyWindow(owner);
  ExitProcess(0);
}
