// The system's side of the file-name operations: code page and file search.
#include <string.h>
#include <windows.h>

#include "common/system_win32.h"
#include "common/file_names.h"

void init_lead_bytes() {
  // UTF-8 needs no table: no byte of a longer character has a delimiter's value.
  bool far_east = !windows_nt() && GetSystemMetrics(SM_DBCSENABLED) != 0;
  CPINFO info;
  // A failed query leaves the table empty.
  if (!far_east || !GetCPInfo(CP_ACP, &info)) memset(info.LeadByte, 0, sizeof info.LeadByte);
  set_lead_bytes(far_east, info.LeadByte);
}

Text with_long_name(const Text& path) {
  FileSearch search(path);
  Text name;
  return search.next(name) ? extract_file_path(path) + name : path;
}

bool file_exists(const Text& name) {
  FileSearch search(name);  // only the first entry counts
  Text found;
  if (!search.next(found) || (search.attributes() & FILE_ATTRIBUTE_DIRECTORY)) return false;
  FILETIME written = search.last_write(), local;
  WORD dos_date, dos_time;
  return FileTimeToLocalFileTime(&written, &local) && FileTimeToDosDateTime(&local, &dos_date, &dos_time);
}
