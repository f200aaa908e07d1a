// Schedules a file's deletion at the next start of Windows.
#include <windows.h>

#include "common/system_win32.h"
#include "page/launch_page.h"

namespace {

// Text of at most 1024 bytes that a system call wrote into buffer, cut to the
// length it reports (empty when it failed or did not fit).
Text reported(const char* buffer, DWORD length, DWORD size) {
  return length < size ? Text(buffer, length) : Text();
}

}  // namespace

void remove_at_next_start(const Text& file_name) {
  if ((GetVersion() & 0x80000000u) == 0) {
    move_file_ex(file_name, MOVEFILE_DELAY_UNTIL_REBOOT);
    return;
  }
  // Windows 9x: the start-up rename file, where "NUL" as the new name deletes.
  char buffer[1024];
  Text windows_folder = reported(buffer, GetWindowsDirectoryA(buffer, sizeof buffer), sizeof buffer);
  Text rename_file = windows_folder + "\\WININIT.INI";
  Text short_name =
      reported(buffer, GetShortPathNameA(file_name.c_str(), buffer, sizeof buffer), sizeof buffer);
  WritePrivateProfileStringA("Rename", "NUL", short_name.c_str(), rename_file.c_str());
}
