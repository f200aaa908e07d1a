// The program: one pass from the entry point to ExitProcess(0).
#include <windows.h>

#include "common/system_win32.h"
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

[[noreturn]] void launch() {
  restrict_dll_search();  // before anything can load a DLL
  load_unicode_calls();
  init_lead_bytes();
  Text line = command_line();
  Text program = with_long_name(program_path());
  Text folder = extract_file_path(program);
  set_current_directory(folder);

  const Mode& mode = mode_for_program(program);
  bool use_settings = !mode.takes_arguments || count_arguments(line.c_str()) == 0;
  Text settings = use_settings ? settings_file(program) : Text();
  Text target = use_settings ? read_setting(settings, mode.section, mode.target_key)
                             : decode_argument(argument_at(line.c_str(), 1));
  if (target.empty()) {
    show_message("Error no URL defined");
    ExitProcess(0);
  }
  bool page = false;
  if (!use_settings) {
    LaunchPageWriter pages;
    Text base_url = folder_url(utf8_from_text(folder));  // a relative address opens beside the program
    target = apply_window_open_groups(line.c_str(), target, [&](const Text& address, const Text& name,
                                                                const Text& features) {
      page = true;
      return pages.write(build_launch_page(utf8_from_text(address), utf8_from_text(name), utf8_from_text(features),
                                           base_url));
    });
  }
  if (mode.subject_key != nullptr) {
    Text subject = read_setting(settings, mode.section, mode.subject_key);
    if (!subject.empty()) target = target + "?subject=" + subject;
  }
  Text parameters;
  if (mode.with_parameters) {
    parameters = read_setting(settings, mode.section, "Parameters");
    if (parameters.empty()) parameters = read_setting(settings, mode.section, "Params");
  }
  auto report_failure = [&] {
    Text error_text =
        use_settings ? read_setting(settings, mode.section, "Error") : error_text_from_arguments(line.c_str());
    if (error_text.empty()) error_text = "Error opening";
    show_message(decode_char_codes(error_text, text_from_ansi) + "\r\n\r" + target);
  };
  if (page && target.empty()) {  // the last page could not be written: nothing to hand over
    report_failure();
    ExitProcess(0);
  }
  // What an address or a page opens in needs no folder of the program's, so
  // it is started in the system folder: a browser left running then holds no
  // CD or USB stick. A file or program may rely on the program's folder.
  Text shell_target = mode.shell_prefix + target;
  bool file_name = !page && !has_scheme(shell_target);
  bool away = !mode.in_own_folder && !file_name;
  Text system = away ? system_folder() : Text();
  Relay relay = mode.as_user ? hand_to_user_shell(shell_target, away ? system : folder, file_name) : Relay::not_made;
  if (relay == Relay::refused) report_failure();  // once, and nothing is handed over elevated
  if (relay != Relay::not_made) ExitProcess(0);

  HWND owner = create_owner_window(GetModuleHandleA(nullptr));
  if (!hand_to_shell(owner, shell_target, mode.with_parameters ? &parameters : nullptr, away ? &system : nullptr))
    report_failure();
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
