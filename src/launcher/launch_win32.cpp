// The program: one pass from the entry point to ExitProcess(0).
#include <windows.h>
#include <shellapi.h>

#include "launcher/arguments.h"
#include "launcher/char_codes.h"
#include "launcher/dll_search.h"
#include "launcher/launch_rules.h"
#include "page/launch_page.h"
#include "settings/file_names.h"
#include "settings/settings.h"

namespace {

const char kOwnerClassName[] = "TPUtilWindow";

WNDCLASSA owner_class = {0,       DefWindowProcA, 0,       0,      nullptr,
                         nullptr, nullptr,        nullptr, nullptr, kOwnerClassName};

// The hidden tool window that owns whatever the shell shows for the hand-off.
HWND create_owner_window(HINSTANCE instance) {
  owner_class.hInstance = instance;
  WNDCLASSA registered;
  bool known = GetClassInfoA(instance, kOwnerClassName, &registered) != 0;
  if (!known || registered.lpfnWndProc != DefWindowProcA) {
    if (known) UnregisterClassA(kOwnerClassName, instance);
    RegisterClassA(&owner_class);
  }
  return CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                         nullptr, instance, nullptr);
}

void show_message(const Text& text) { MessageBoxA(nullptr, text.c_str(), "", MB_OK); }

// The shell reports failure with a value from 0 to 32.
bool refused(HINSTANCE result) {
  INT_PTR value = reinterpret_cast<INT_PTR>(result);
  return value >= 0 && value <= 32;
}

Text open_in_new_window(const Text& address, const Text& name, const Text& features) {
  return write_launch_page(build_launch_page(address, name, features));
}

[[noreturn]] void launch() {
  restrict_dll_search();  // before anything can load a DLL
  init_lead_bytes();
  Text program = argument(0);
  SetCurrentDirectoryA(extract_file_path(program).c_str());

  Text section = mode_for_program(program);
  Text key = section == "START" ? "Application" : "Address";
  bool use_settings = section != "WEB" || argument_count() == 0;
  Text target = use_settings ? read_setting(section, key) : decode_argument(argument(1));
  if (target.empty()) {
    show_message("Error no URL defined");
    ExitProcess(0);
  }
  if (!use_settings) target = apply_window_open_groups(GetCommandLineA(), target, open_in_new_window);

  Text file = target;
  Text parameters;
  bool with_parameters = false;
  if (section == "EMAIL") {
    Text subject = read_setting("EMAIL", "Subject");
    if (!subject.empty()) target = target + "?subject=" + subject;
    file = "mailto:" + target;
  } else if (section == "START") {
    parameters = read_setting("START", "Parameters");
    if (parameters.empty()) parameters = read_setting("START", "Params");
    with_parameters = true;
  }

  HWND owner = create_owner_window(GetModuleHandleA(nullptr));
  HINSTANCE result = ShellExecuteA(owner, nullptr, file.c_str(),
                                   with_parameters ? parameters.c_str() : nullptr, nullptr,
                                   SW_SHOWNORMAL);
  if (refused(result)) {
    Text error_text =
        use_settings ? read_setting(section, "Error") : error_text_from_arguments(GetCommandLineA());
    if (error_text.empty()) error_text = "Error opening";
    show_message(decode_char_codes(error_text) + "\r\n\r" + target);
  }
  if (owner != nullptr) DestroyWindow(owner);
  ExitProcess(0);
}

}  // namespace

void out_of_memory() { ExitProcess(0); }

#if defined(__GNUC__)
// The entry point; the C runtime's start-up code is not linked in.
extern "C" __attribute__((force_align_arg_pointer)) void launch_start() { launch(); }
#else
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { launch(); }
#endif
