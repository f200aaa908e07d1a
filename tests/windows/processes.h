// The processes that run now, as a snapshot lists them.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

// Whether one of them matches; the first that does is put into found.
template <class Match>
bool find_process(Match match, PROCESSENTRY32W* found = nullptr) {
  PROCESSENTRY32W entry = {sizeof entry};
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  BOOL more = Process32FirstW(snapshot, &entry);
  while (more && !match(entry)) more = Process32NextW(snapshot, &entry);
  CloseHandle(snapshot);
  if (more && found != nullptr) *found = entry;
  return more;
}
