// The program: one pass from the entry point to its end with exit code 0.
#include <windows.h>

#include "common/file_names.h"
#include "common/system_win32.h"
#include "handoff/handoff_win32.h"
#include "launcher/arguments.h"
#include "launcher/char_codes.h"
#include "launcher/dll_search.h"
#include "launcher/launch_rules.h"
#include "page/launch_page.h"
#include "settings/settings.h"

namespace {

[[noreturn]] void launch() {
  start_system_calls();   // loads no DLL
  restrict_dll_search();  // before anything can load one
  init_lead_bytes();
  Text path = program_path();
  Text program = with_long_name(path);
  Text line = with_program_token_quoted(command_line(), path, program);
  Text folder = extract_file_path(program);
  bool in_folder = set_current_directory(folder);

  const Mode& mode = mode_for_program(program);
  bool use_settings = !mode.takes_arguments || count_arguments(line.c_str()) == 0;
  Text settings = use_settings ? settings_file(program) : Text();
  Text target = use_settings ? read_setting(settings, mode.section, mode.target_key)
                             : decode_argument(argument_at(line.c_str(), 1));
  if (target.empty()) {
    show_message("Error no URL defined");
    end_launcher();
  }
  bool page = false;
  if (!use_settings) {
    LaunchPageWriter pages;
    Text base_url = folder_url(utf8_from_text(folder));  // a relative address opens beside the program
    target = apply_window_open_groups(
        line.c_str(), target, [&](const Text& address, const Text& name, const Text& features) {
          page = true;
          return pages.write(
              build_launch_page(utf8_from_text(address), utf8_from_text(name), utf8_from_text(features), base_url));
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
    // The failure text, an empty line, the target: a box breaks the line at a
    // lone CR as at CR LF. Earlier versions wrote these three bytes, and
    // callers that read the box's text compare them.
    show_message(decode_char_codes(error_text, text_from_ansi) + "\r\n\r" + target);
  };
  if (page && target.empty()) {  // the last page could not be written: nothing to hand over
    report_failure();
    end_launcher();
  }
  // What an address or a page opens in needs no folder of the program's, so
  // it is started in the system folder: a browser left running then holds no
  // CD or USB stick. A file or program may rely on the program's folder.
  Text for_shell = shell_target(mode, target);
  bool address = page || has_scheme(for_shell);
  if (!address && !mode.in_own_folder) {
    // An address without its scheme, as the shell reads it: its guess is
    // handed over, since the shell's own road for such a name drops the
    // working folder (Wine's does).
    Text guessed = shell_address(for_shell, folder);
    address = !guessed.empty();
    if (address) for_shell = guessed;
  }
  bool in_system_folder = !mode.in_own_folder && address;
  Text system = in_system_folder ? system_folder() : Text();
  if (mode.through_desktop_shell) {
    DesktopShell shell =
        hand_to_desktop_shell(for_shell, in_system_folder ? system : folder, address ? nullptr : &folder);
    if (shell == DesktopShell::refused) report_failure();  // once, and nothing is handed over elevated
    if (shell != DesktopShell::not_asked) end_launcher();
  }
  // A file name is found from the program's folder also where that could not
  // be made current.
  Text* directory = in_system_folder ? &system : in_folder ? nullptr : &folder;
  if (!hand_to_shell(for_shell, mode.with_parameters ? &parameters : nullptr, directory)) report_failure();
  end_launcher();
}

}  // namespace

void out_of_memory() { ExitProcess(0); }

#if defined(__GNUC__)
// The entry point; the C runtime's start-up code is not linked in.
extern "C" __attribute__((force_align_arg_pointer)) void launch_start() { launch(); }
#else
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { launch(); }
#endif
