// The system's side of the file-name operations: code page and file search.
#include <string.h>
#include <windows.h>

#include "settings/file_names.h"

void init_lead_bytes() {
  bool far_east = GetSystemMetrics(SM_DBCSENABLED) != 0;
  CPINFO info;
  // A failed query leaves the table empty.
  if (!far_east || !GetCPInfo(CP_ACP, &info)) memset(info.LeadByte, 0, sizeof info.LeadByte);
  set_lead_bytes(far_east, info.LeadByte);
}

bool file_exists(const Text& name) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(name.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  FILETIME local;
  WORD dos_date, dos_time;
  return FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) &&
         FileTimeToDosDateTime(&local, &dos_date, &dos_time);
}
