// Writes the launch page into the user's temporary folder.
#include <limits.h>
#include <windows.h>

#include "page/launch_page.h"

namespace {

// The page file handle, or INVALID_HANDLE_VALUE when the name is taken.
HANDLE create_new(const Text& name) {
  // CREATE_NEW never replaces or writes through an existing file or link.
  return CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool name_taken(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

bool write_all(HANDLE file, const Text& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.c_str(), static_cast<DWORD>(bytes.length()), &written, nullptr) &&
         written == bytes.length();
}

}  // namespace

Text write_launch_page(const Text& page_text) {
  char buffer[1024];
  DWORD length = GetTempPathA(sizeof buffer, buffer);
  if (length >= sizeof buffer) return Text();  // the folder does not fit: no page
  Text folder(buffer, length);

  for (long n = 1; n < LONG_MAX; ++n) {
    Text name = launch_page_file_name(folder, n);
    if (GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    HANDLE file = create_new(name);
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
