// Texts to and from the system. On the Windows NT family they go through the
// Unicode calls and the program holds them as UTF-8 (common/utf8.h), so that
// every text arrives exactly. Windows 95, 98 and Me have no Unicode calls:
// there texts go through the ANSI calls and the program holds the ANSI code
// page's bytes, as it always has.
#pragma once

#include <windows.h>

#include "common/text.h"
#include "common/utf8.h"

// Called first at start-up: finds the calls that are looked up at run time.
void start_system_calls();
// The Windows NT family (NT 4 to 11), where the program's texts are UTF-8;
// false on Windows 95, 98 and Me.
bool windows_nt();

// The UTF-16 of a program text (UTF-8), for the Unicode calls.
class Wide : public Utf16 {
 public:
  Wide(const Text& text) : Utf16(text) {}  // NOLINT: converts where a call takes it
  operator const wchar_t*() const { return reinterpret_cast<const wchar_t*>(c_str()); }
};

// The program text of bytes in the ANSI code page, and the UTF-8 of a
// program text.
Text text_from_ansi(const Text& bytes);
Text text_from_wide(const wchar_t* units, size_t count);
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
// Whether a file or folder of that name exists.
bool name_exists(const Text& name);
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
