// Handing the target over, and the one box: the shell's default verb through
// a hidden owner window, or, for a launcher that runs elevated, the desktop
// shell that runs as the user.
#pragma once

#include "common/text.h"

// A message box with no owner, no caption and only OK.
void show_message(const Text& text);

// Opens file with the shell's default verb, with parameters and in the
// working folder directory when they are not null, through the hidden owner
// window, which stays until end_launcher; false when the shell refuses it.
bool hand_to_shell(const Text& file, const Text* parameters, const Text* directory);

// What became of a target offered to the desktop shell.
enum class DesktopShell {
  not_asked,   // the shell was never asked to open it: hand it over as always
  has_target,  // the shell has it, opened or still being opened: nothing more to do
  refused,     // the shell answered that it cannot open it: report the failure
};
// When this program runs elevated (started by an installer, as a rule) and
// the desktop shell runs as the same user at the desktop, not elevated, has
// that shell open file with its default verb in the working folder
// directory, so that it opens as the user. For a file name, folder is the
// launcher's folder, and the shell is asked only when it finds the file
// there, on the search path or among the registered programs. Not asked when
// this program does not run elevated, there is no such shell (Windows 95 to
// XP, UAC off, no shell, one that is itself elevated or another user's), or
// the call cannot be made within five seconds; a call that the shell turns
// away as busy is tried again for five seconds more.
DesktopShell hand_to_desktop_shell(const Text& file, const Text& directory, const Text* folder);
// Whether the thread that calls the desktop shell still runs.
bool desktop_shell_call_running();

// The address that the shell makes of target, which names no scheme, when
// no file or folder of that name is in folder: its guess of a scheme before
// it ("www.example.com" gives "http://www.example.com"). Empty when the shell
// takes it for a file name, and where that guess is missing (shlwapi.dll,
// which a bare Windows 95 lacks).
Text shell_address(const Text& target, const Text& folder);

// Ends the process with exit code 0, the owner window gone. While the
// desktop shell's thread may still be inside a call, the process ends
// without detaching its DLLs: a lock that thread holds would block that.
[[noreturn]] void end_launcher();
