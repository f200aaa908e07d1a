// Texts to and from the system. On the Windows NT family they go through the
// Unicode calls and the program holds them as UTF-8 (common/utf8.h), so that
// every text arrives exactly. Windows 95, 98 and Me have no Unicode calls:
// there texts go through the ANSI calls and the program holds the ANSI code
// page's bytes, as it always has.
#pragma once

#include <windows.h>

#include "common/text.h"

// A function of module, looked up at run time: one that some Windows lacks
// must not be imported, or the program would not load there at all.
template <class Function>
bool look_up(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

// Called first at start-up. The Unicode calls are looked up at run time:
// Windows 95, 98 and Me lack some, and one missing import keeps a program
// from loading at all.
void load_unicode_calls();
// True on the NT family, where the program's texts are UTF-8.
bool unicode_system();

// The program text of bytes in the ANSI code page, and the UTF-8 of a
// program text.
Text text_from_ansi(const Text& bytes);
Text utf8_from_text(const Text& text);

Text command_line();
// The program file's full name, as the system reports it.
Text program_path();
// The Windows system folder, which is never on removable media.
Text system_folder();
// False when the temporary folder does not fit in 1023 characters.
bool temp_folder(Text& folder);
// At most 1023 characters; empty when the file, section or key is missing.
Text profile_string(const Text& file, const char* section, const char* key);
bool set_current_directory(const Text& folder);
HANDLE create_file(const Text& name, DWORD access, DWORD share, DWORD disposition, DWORD flags);
// The entries that a pattern matches, one by one.
class FileSearch {
 public:
  explicit FileSearch(const Text& pattern);
  ~FileSearch();
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;
  bool next(Text& name);  // false once there are no more
  // Of the entry that next gave last.
  DWORD attributes() const;
  FILETIME last_write() const;

 private:
  HANDLE search_;
  bool first_ = true;
  WIN32_FIND_DATAW wide_;
  WIN32_FIND_DATAA ansi_;
};
bool delete_file(const Text& name);  // false when it is still there
// Opens a file to read it and then perhaps remove it: on the NT family never
// through a link, and not while another program holds it without sharing.
HANDLE open_for_removal(const Text& name);
// Removes a file opened with access for deletion (through its handle where
// Windows can), and closes the handle; false when the file could not be removed.
bool remove_and_close(HANDLE file, const Text& name);
void show_message(const Text& text);  // no owner, no caption, only OK
// Opens file with the shell's default verb and the owner given, with
// parameters and in the working folder directory when they are not null;
// false when the shell refuses it.
bool hand_to_shell(HWND owner, const Text& file, const Text* parameters, const Text* directory);
// What became of a target offered to the desktop shell.
enum class Relay {
  not_made,     // the shell was never asked to open it: hand it over as always
  handed_over,  // the shell has it, opened or still being opened: nothing more to do
  refused,      // the shell answered that it cannot open it: report the failure
};
// When this program runs elevated (started by an installer, as a rule) and
// the desktop shell as the user at the desktop, not elevated, has that shell
// open file with its default verb in the working folder directory, so that
// it opens as the user. Not made when this program does not run elevated,
// there is no such shell (Windows 95 to XP, UAC off, no shell, or one that is
// itself elevated), file is a file name (file_name: no address, no page) that
// names nothing, or a step before the shell's call fails or takes more than
// five seconds.
Relay hand_to_user_shell(const Text& file, const Text& directory, bool file_name);
