// The hand-off to the shell through the hidden owner window, and the box.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "common/file_names.h"
#include "common/looked_up_win32.h"
#include "common/system_win32.h"
#include "handoff/handoff_win32.h"

namespace {

// The owner window's class name: callers of earlier versions wait for a
// window of this class, so it never changes.
const char kOwnerClassName[] = "TPUtilWindow";

WNDCLASSA owner_class = {0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, kOwnerClassName};
HWND owner = nullptr;

// The hidden tool window that owns whatever the shell shows for the hand-off.
HWND create_owner_window(HINSTANCE instance) {
  owner_class.hInstance = instance;
  WNDCLASSA registered;
  bool known = GetClassInfoA(instance, kOwnerClassName, &registered) != 0;
  if (!known || registered.lpfnWndProc != DefWindowProcA) {
    if (known) UnregisterClassA(kOwnerClassName, instance);
    RegisterClassA(&owner_class);
  }
  return CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                         nullptr);
}

}  // namespace

void show_message(const Text& text) {
  // The manifest asks for Common Controls 6, whose dialogs need comctl32
  // loaded and initialised first: Windows XP shows no box otherwise.
  look_up_calls(Dll::comctl32);
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_STANDARD_CLASSES};
  if (looked_up::InitCommonControlsEx) looked_up::InitCommonControlsEx(&classes);
  if (windows_nt())
    looked_up::MessageBoxW(nullptr, Wide(text), L"", MB_OK);
  else
    MessageBoxA(nullptr, text.c_str(), "", MB_OK);
}

bool hand_to_shell(const Text& file, const Text* parameters, const Text* directory) {
  owner = create_owner_window(GetModuleHandleA(nullptr));
  if (!windows_nt()) {
    // ShellExecuteA reports a refusal as a value from 0 to 32.
    INT_PTR result = reinterpret_cast<INT_PTR>(ShellExecuteA(owner, nullptr, file.c_str(),
                                                             parameters ? parameters->c_str() : nullptr,
                                                             directory ? directory->c_str() : nullptr, SW_SHOWNORMAL));
    return result < 0 || result > 32;
  }
  // As the shell asks of its callers: COM first, for handlers that need it,
  // and a hand-off that is finished before this process ends.
  look_up_calls(Dll::ole32);
  if (looked_up::CoInitializeEx) looked_up::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  Wide wide_file(file), wide_parameters(parameters ? *parameters : Text()),
      wide_directory(directory ? *directory : Text());
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;  // no error box of the shell's own: the program shows one
  info.hwnd = owner;
  info.lpFile = wide_file;
  info.lpParameters = parameters ? static_cast<const wchar_t*>(wide_parameters) : nullptr;
  info.lpDirectory = directory ? static_cast<const wchar_t*>(wide_directory) : nullptr;
  info.nShow = SW_SHOWNORMAL;
  // Its result tells; hInstApp is defined only for a process it started.
  return looked_up::ShellExecuteExW(&info) != FALSE;
}

Text shell_address(const Text& target, const Text& folder) {
  look_up_calls(Dll::shlwapi);
  Wide wide(utf8_from_text(target));
  const DWORD kLongest = 2084;  // INTERNET_MAX_URL_LENGTH: the longest address it reads
  wchar_t address[kLongest];
  DWORD length = kLongest;
  bool guessed = looked_up::UrlApplySchemeW && wide.length() < kLongest &&
                 looked_up::UrlApplySchemeW(wide, address, &length, URL_APPLY_GUESSSCHEME) == S_OK;
  return guessed && !name_exists(full_name(folder, target)) ? text_from_wide(address, length) : Text();
}

void end_launcher() {
  if (owner != nullptr) DestroyWindow(owner);
  if (desktop_shell_call_running()) TerminateProcess(GetCurrentProcess(), 0);
  ExitProcess(0);
}
