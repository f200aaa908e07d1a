// Stands in for the browser and every other handler: started by the shell,
// it records its command line after its own name (one pair of enclosing
// quotes removed) in UTF-8, in a file of its own in RECORDER_TRACE_FOLDER.
#include <windows.h>

#include <wchar.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const wchar_t* line = GetCommandLineW();
  line = *line == L'"' ? wcschr(line + 1, L'"') + 1 : line + wcscspn(line, L" ");
  if (*line == L' ') ++line;
  size_t length = wcslen(line);
  if (length >= 2 && line[0] == L'"' && line[length - 1] == L'"') ++line, length -= 2;
  static char text[3 * 32768];
  int size = WideCharToMultiByte(CP_UTF8, 0, line, int(length), text, sizeof text, nullptr, nullptr);

  wchar_t folder[MAX_PATH], partial[MAX_PATH + 40], done[MAX_PATH + 40];  // the folder ends in a backslash
  DWORD folder_length = GetEnvironmentVariableW(L"RECORDER_TRACE_FOLDER", folder, MAX_PATH);
  if (folder_length == 0 || folder_length >= MAX_PATH) return 1;
  // Written beside the folder, then moved in: the test never reads half a record.
  swprintf(partial, MAX_PATH + 40, L"%ls..\\%lu.part", folder, GetCurrentProcessId());
  swprintf(done, MAX_PATH + 40, L"%ls%lu.txt", folder, GetCurrentProcessId());
  HANDLE file = CreateFileW(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  bool ok = WriteFile(file, text, DWORD(size), &written, nullptr);
  CloseHandle(file);
  return ok && MoveFileW(partial, done) ? 0 : 1;
}
