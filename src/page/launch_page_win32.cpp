// Writes the launch page into the user's temporary folder.
#include <limits.h>
#include <windows.h>

#include "common/system_win32.h"
#include "page/launch_page.h"
#include "page/page_cleanup.h"

namespace {

// Names to which access is denied before the writer gives up: a page that a
// scanner still holds open is passed over, but a read-only folder must end.
const int kMostDenied = 16;

bool write_all(HANDLE file, const Text& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.c_str(), static_cast<DWORD>(bytes.length()), &written, nullptr) &&
         written == bytes.length();
}

}  // namespace

// One pass over the page names in the folder: every number found is taken,
// and pages of earlier runs are removed on the way.
void LaunchPageWriter::read_folder(const Text& folder) {
  FileSearch search(in_folder(folder, "VexaTmp*.HTML"));
  for (Text name; search.next(name);) {
    taken_.take(page_number(name));
    if (is_launch_page_name(name))
      remove_if_stale(in_folder(folder, name.c_str()), search.attributes(), search.last_write());
  }
}

Text LaunchPageWriter::write(const Text& page_text) {
  Text folder;
  if (!temp_folder(folder)) return Text();  // the folder does not fit: no page
  if (!folder_read_) read_folder(folder);
  folder_read_ = true;

  int denied = 0;
  for (long n = taken_.first_free(1); n < LONG_MAX; n = taken_.first_free(n + 1)) {
    Text name = launch_page_file_name(folder, n);
    // CREATE_NEW never replaces or writes through an existing file or link.
    // Access for deletion (the NT family has it) lets a page that fails go
    // through its handle: a program that opens it meanwhile must allow that.
    HANDLE file = create_file(name, GENERIC_WRITE | (windows_nt() ? DELETE : 0), FILE_SHARE_READ, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) {
      DWORD error = GetLastError();
      // Taken since the pass; or removed while another program holds it
      // open, which Windows answers with "access denied" until it closes.
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      if (error == ERROR_ACCESS_DENIED && ++denied < kMostDenied) continue;
      return Text();
    }
    taken_.take(n);
    bool written = write_all(file, page_text + "\r\n");
    if (written && CloseHandle(file)) {
      remove_at_next_start(name);
      return name;
    }
    // Not written whole (a full disk, say): no part of a page stays. What
    // Windows cannot remove now, as another program holds it, goes at its
    // next start where Windows offers that (95, 98 and Me).
    if (!(written ? delete_file(name) : remove_and_close(file, name))) remove_at_next_start(name);
    return Text();
  }
  return Text();
}
