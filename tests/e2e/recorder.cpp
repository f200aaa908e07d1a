// Stands in for the browser, the mail program or any other handler in the
// end-to-end tests: registered as the shell's handler, it records the command
// line it was started with, byte for byte, in a file of its own (named by its
// process id) in the folder that RECORDER_TRACE_FOLDER names, which the
// launcher's test passes down through the launcher's environment.
#include <windows.h>

#include <stdio.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char folder[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("RECORDER_TRACE_FOLDER", folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return 1;
  char partial[MAX_PATH + 40], done[MAX_PATH + 40];
  snprintf(partial, sizeof partial, "%s\\handoff-%lu.part", folder, GetCurrentProcessId());
  snprintf(done, sizeof done, "%s\\handoff-%lu.txt", folder, GetCurrentProcessId());
  HANDLE file = CreateFileA(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const char* line = GetCommandLineA();
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
  CloseHandle(file);
  // Renamed when complete, so that the test never reads half a record.
  return MoveFileA(partial, done) ? 0 : 1;
}
