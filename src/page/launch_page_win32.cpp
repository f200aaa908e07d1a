// Writes the launch page into the user's temporary folder, and removes the
// pages that earlier runs left there.
#include <limits.h>
#include <windows.h>

#include "common/system_win32.h"
#include "page/launch_page.h"

namespace {

const DWORD kLargestPage = 1 << 20;  // far more than the longest command line makes
const ULONGLONG kDay = 24ULL * 60 * 60 * 10000000;  // in the 100 ns of a file time
bool stale_pages_removed = false;

bool name_taken(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

bool write_all(HANDLE file, const Text& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.c_str(), static_cast<DWORD>(bytes.length()), &written, nullptr) &&
         written == bytes.length();
}

Text read_all(HANDLE file) {
  Text content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  return content;
}

ULONGLONG ticks(const FILETIME& time) { return static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime; }

// Windows removes a page at its next start only if asked by an administrator
// (since Vista), so pages of earlier runs may pile up. One pass over the
// names removes each plain file named and written as a page, last written
// more than a day ago (a slow browser may still be about to read a fresh
// one). It is read and removed through the same handle: never through a
// link, never a file whose content was not checked.
void remove_stale_pages(const Text& folder) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  FileSearch search(in_folder(folder, "VexaTmp*.HTML"));
  for (Text name; search.next(name);) {
    if (!is_launch_page_name(name)) continue;
    Text path = in_folder(folder, name.c_str());
    HANDLE file = open_for_removal(path);
    if (file == INVALID_HANDLE_VALUE) continue;
    BY_HANDLE_FILE_INFORMATION info;
    bool stale = GetFileInformationByHandle(file, &info) &&
                 !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
                 info.nFileSizeHigh == 0 && info.nFileSizeLow <= kLargestPage &&
                 ticks(info.ftLastWriteTime) + kDay < ticks(now) && is_launch_page_file(read_all(file));
    if (stale)
      remove_and_close(file, path);
    else
      CloseHandle(file);
  }
}

}  // namespace

Text write_launch_page(const Text& page_text) {
  Text folder;
  if (!temp_folder(folder)) return Text();  // the folder does not fit: no page
  if (!stale_pages_removed) remove_stale_pages(folder);
  stale_pages_removed = true;

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
