// Stands in for the browser and every other handler: started by the shell,
// it records its command line after its own name in UTF-8, then its working
// folder unless that is the system folder, then whether the desktop shell
// started it and with what rights, in a file of its own in
// RECORDER_TRACE_FOLDER. Given a ".launchbusy" file, it is slow to become ready
// (a window whose messages it does not read) until the launcher has ended.
#include <windows.h>

#include <stdio.h>
#include <tlhelp32.h>

#include <string>

DWORD parent() {
  PROCESSENTRY32W entry = {sizeof entry};
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  for (BOOL more = Process32FirstW(snapshot, &entry); more && entry.th32ProcessID != GetCurrentProcessId();)
    more = Process32NextW(snapshot, &entry);
  CloseHandle(snapshot);
  return entry.th32ParentProcessID;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::wstring line = GetCommandLineW();
  line.erase(0, line[0] == L'"' ? line.find(L'"', 1) + 1 : line.find(L' '));
  if (line[0] == L' ') line.erase(0, 1);
  bool busy = line.size() > 11 && line.compare(line.size() - 11, 11, L".launchbusy") == 0, ended = false;
  if (busy && CreateWindowW(L"STATIC", L"busy", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr))
    ended = WaitForSingleObject(OpenEventW(SYNCHRONIZE, FALSE, L"launcher ended"), 20000) == WAIT_OBJECT_0;
  wchar_t current[MAX_PATH], system[MAX_PATH];
  DWORD length = GetCurrentDirectoryW(MAX_PATH, current), shell = 0, size;
  GetSystemDirectoryW(system, MAX_PATH);
  if (lstrcmpiW(current, system) != 0) line += L" @ " + std::wstring(current) + (current[length - 1] == L'\\' ? L"" : L"\\");
  HANDLE token;
  TOKEN_ELEVATION_TYPE elevation = TokenElevationTypeDefault;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
    GetTokenInformation(token, TokenElevationType, &elevation, sizeof elevation, &size);
  GetWindowThreadProcessId(GetShellWindow() ? GetShellWindow() : GetDesktopWindow(), &shell);
  if (parent() == shell)
    line += elevation == TokenElevationTypeFull ? L" by the desktop shell, elevated" : L" by the desktop shell, un-elevated";
  if (busy) line += ended ? L", busy until the launcher ended" : L", busy for 20 s";
  std::string text(line.size() * 3, '\0');
  text.resize(WideCharToMultiByte(CP_UTF8, 0, line.data(), int(line.size()), text.data(), int(text.size()), 0, 0));
  wchar_t folder[MAX_PATH];  // ends in a backslash
  if (GetEnvironmentVariableW(L"RECORDER_TRACE_FOLDER", folder, MAX_PATH) == 0) return 1;
  // Written beside the folder, then moved in: the test never reads half a record.
  std::wstring id = std::to_wstring(GetCurrentProcessId()), part = folder + (L"..\\" + id), done = folder + id + L".txt";
  FILE* file = _wfopen(part.c_str(), L"wb");
  bool written = file != nullptr && fwrite(text.data(), 1, text.size(), file) == text.size();
  return file != nullptr && fclose(file) == 0 && written && MoveFileW(part.c_str(), done.c_str()) ? 0 : 1;
}
