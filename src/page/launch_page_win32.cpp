// Writes the launch page into the user's temporary folder.
#include <limits.h>
#include <windows.h>

#include "common/system_win32.h"
#include "page/launch_page.h"

namespace {

bool name_taken(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

bool write_all(HANDLE file, const Text& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.c_str(), static_cast<DWORD>(bytes.length()), &written, nullptr) &&
         written == bytes.length();
}

}  // namespace

Text write_launch_page(const Text& page_text) {
  Text folder;
  if (!temp_folder(folder)) return Text();  // the folder does not fit: no page

  for (long n = 1; n < LONG_MAX; ++n) {
    Text name = launch_page_file_name(folder, n);
    if (file_attributes(name) != INVALID_FILE_ATTRIBUTES) continue;
    // CREATE_NEW never replaces or writes through an existing file or link.
    HANDLE file = create_file(name, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) {
      if (name_taken(GetLastError())) continue;  // taken since the test above
      return Text();
    }
    remove_at_next_start(name);
    bool written = write_all(file, page_text + "\r\n");
    bool closed = CloseHandle(file) != 0;
    return written && closed ? name : Text();
  }
  return Text();
}
