// The least possible launcher, the benchmark's floor: it makes the one shell
// hand-off for a fixed address, as Windows documents it for a program that
// ends right after (COM first, the hand-off finished before the end), in the
// system folder as the launcher hands over an address, and exits, with nothing else (no C runtime, no arguments read). Built twice:
// with the launcher's hidden owner window (WITH_OWNER) and without one.
#include <windows.h>
#include <objbase.h>
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
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpFile = L"" BENCH_ADDRESS;
  info.lpDirectory = system;
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);
  if (owner != nullptr) DestroyWindow(owner);
  ExitProcess(0);
}
