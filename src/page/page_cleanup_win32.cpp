// Removes the pages of earlier runs, and on Windows 95, 98 and Me asks
// Windows to remove a new page at its next start.
#include "page/page_cleanup.h"

#include "common/system_win32.h"
#include "page/launch_page.h"
#include "page/wininit.h"

namespace {

const DWORD kLargestRead = 1 << 20;                 // far more than the longest command line makes, or any WININIT.INI
const ULONGLONG kDay = 24ULL * 60 * 60 * 10000000;  // in the 100 ns of a file time
// How long a launcher waits for another one that is adding its line to WININIT.INI.
const int kMostTries = 50, kTryAgainMs = 40;

Text read_all(HANDLE file) {
  Text content;
  char buffer[2048];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  return content;
}

ULONGLONG ticks(const FILETIME& time) { return static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime; }

// A plain file (no folder, no link) last written more than a day ago: a slow
// browser may still be about to read a fresh page, and a restored browser
// session may open one again.
bool stale(DWORD attributes, FILETIME last_write) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
         ticks(last_write) + kDay < ticks(now);
}

// Text of at most 1024 bytes that a system call wrote into buffer, cut to the
// length it reports (empty when it failed or did not fit).
Text reported(const char* buffer, DWORD length, DWORD size) { return length < size ? Text(buffer, length) : Text(); }

// WININIT.INI, held without sharing from the read to the end of the write,
// so that no other program's line is lost: a second launcher waits for its
// turn. A file made here stays even when no line goes into it: another
// launcher may have opened it since, and Windows takes an empty one.
HANDLE open_alone(const Text& name) {
  for (int tries = 0; tries < kMostTries; ++tries, Sleep(kTryAgainMs)) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) return file;
  }
  return INVALID_HANDLE_VALUE;
}

bool set_length(HANDLE file, size_t length) {
  return SetFilePointer(file, static_cast<LONG>(length), nullptr, FILE_BEGIN) == length && SetEndOfFile(file);
}

bool write_at(HANDLE file, size_t at, const Text& bytes) {
  DWORD written = 0;
  return SetFilePointer(file, static_cast<LONG>(at), nullptr, FILE_BEGIN) == at &&
         WriteFile(file, bytes.c_str(), static_cast<DWORD>(bytes.length()), &written, nullptr) &&
         written == bytes.length();
}

// Adds the page's line to the open file; false when it could not. Every byte
// of other programs' lines stays in the file: as it was, or, where undoing
// a failed write fails too, moved behind the new line.
bool add_line(HANDLE file, const Text& short_name) {
  DWORD size = GetFileSize(file, nullptr);
  Text content = size <= kLargestRead ? read_all(file) : Text();
  if (size > kLargestRead || content.length() != size) return false;
  Text updated = with_deletion_entry(content, short_name);
  if (updated.empty()) return false;  // the section has no room
  size_t same = 0;                    // only what follows the new line is written again
  while (same < content.length() && content[same] == updated[same]) ++same;
  // The file grows first: on a full disk that fails, as a rule before a byte
  // changes; the old length goes back all the same.
  if (!set_length(file, updated.length())) {
    set_length(file, content.length());
    return false;
  }
  if (write_at(file, same, updated.from(same))) return true;
  // Writing failed part of the way (the room that growing promised was not
  // there, say): the old bytes and length again, which need no new room.
  // The file is cut back only once every old byte is in place.
  if (write_at(file, same, content.from(same))) set_length(file, content.length());
  return false;
}

}  // namespace

void remove_if_stale(const Text& path, DWORD attributes, FILETIME last_write) {
  if (!stale(attributes, last_write)) return;
  // Checked again, and read, through the handle that removes it: what goes
  // is exactly what was checked, never a link's target.
  HANDLE file = open_for_removal(path);
  if (file == INVALID_HANDLE_VALUE) return;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(file, &info) && stale(info.dwFileAttributes, info.ftLastWriteTime) &&
      info.nFileSizeHigh == 0 && info.nFileSizeLow <= kLargestRead && is_launch_page_file(read_all(file)))
    remove_and_close(file, path);
  else
    CloseHandle(file);
}

void remove_at_next_start(const Text& page) {
  if (windows_nt()) return;
  char buffer[1024];
  DWORD length = GetShortPathNameA(page.c_str(), buffer, sizeof buffer);
  // Windows carries the file out before it starts, in the OEM code page.
  if (length > 0 && length < sizeof buffer) CharToOemA(buffer, buffer);
  Text short_name = reported(buffer, length, sizeof buffer);
  Text rename_file = reported(buffer, GetWindowsDirectoryA(buffer, sizeof buffer), sizeof buffer) + "\\WININIT.INI";
  if (short_name.empty()) return;
  // What the profile calls of other programs hold of it in their cache goes
  // into the file first, so that neither writes over the other's lines: all
  // of the cache, as Windows 95's documents ask, and this file's, as 16-bit
  // Windows' did.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, rename_file.c_str());
  HANDLE file = open_alone(rename_file);
  if (file == INVALID_HANDLE_VALUE) return;
  add_line(file, short_name);
  CloseHandle(file);
}
