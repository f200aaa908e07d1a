// Every function that the program looks up at run time instead of importing
// it, listed by DLL. One import that a Windows lacks keeps the program from
// starting there at all, so every call that Windows 95 lacks (the Unicode
// calls of the NT family, and what came later) is found here by name, as
// GetProcAddress finds it; where that Windows lacks it, it stays null. The
// release check reads these lists.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

// Documented in the driver kit, in ntdll.dll from NT 3.1 on; no header of
// the Windows SDK declares it.
extern "C" LONG NTAPI NtSetInformationFile(HANDLE file, void* status, void* information, ULONG length, ULONG kind);

// Loaded at start-up: the program imports from these DLLs anyway.
#define KERNEL32_CALLS(CALL)                                                                                       \
  CALL(GetCommandLineW) CALL(GetModuleFileNameW) CALL(GetTempPathW) CALL(GetPrivateProfileStringW)                 \
  CALL(SetCurrentDirectoryW) CALL(CreateFileW) CALL(GetSystemDirectoryW) CALL(FindFirstFileW) CALL(FindNextFileW) \
  CALL(DeleteFileW) CALL(GetFileAttributesW) CALL(SearchPathW) CALL(SetDefaultDllDirectories) CALL(SetDllDirectoryA)
#define USER32_CALLS(CALL) CALL(MessageBoxW) CALL(GetShellWindow) CALL(AllowSetForegroundWindow)
#define SHELL32_CALLS(CALL) CALL(ShellExecuteExW)
#define NTDLL_CALLS(CALL) CALL(NtSetInformationFile)
// Loaded when first needed.
#define COMCTL32_CALLS(CALL) CALL(InitCommonControlsEx)
#define SHLWAPI_CALLS(CALL) CALL(UrlApplySchemeW)
#define OLE32_CALLS(CALL) CALL(CoInitializeEx) CALL(CoInitializeSecurity) CALL(CoCreateInstance) CALL(CoUninitialize)
#define OLEAUT32_CALLS(CALL) CALL(SysAllocString)
#define ADVAPI32_CALLS(CALL)                                                                                  \
  CALL(OpenProcessToken) CALL(GetTokenInformation) CALL(EqualSid) CALL(InitializeSecurityDescriptor)         \
  CALL(InitializeAcl) CALL(AddAccessAllowedAce) CALL(SetSecurityDescriptorDacl) CALL(SetSecurityDescriptorOwner) \
  CALL(SetSecurityDescriptorGroup) CALL(RegOpenKeyExW) CALL(RegCloseKey)

namespace looked_up {
#define DECLARE_CALL(function) extern decltype(&::function) function;
KERNEL32_CALLS(DECLARE_CALL)
USER32_CALLS(DECLARE_CALL)
SHELL32_CALLS(DECLARE_CALL)
NTDLL_CALLS(DECLARE_CALL)
COMCTL32_CALLS(DECLARE_CALL)
SHLWAPI_CALLS(DECLARE_CALL)
OLE32_CALLS(DECLARE_CALL)
OLEAUT32_CALLS(DECLARE_CALL)
ADVAPI32_CALLS(DECLARE_CALL)
#undef DECLARE_CALL
}  // namespace looked_up

enum class Dll { comctl32, shlwapi, ole32, oleaut32, advapi32 };

// Looks up the calls of kernel32, user32, shell32 and ntdll; called first at
// start-up.
void look_up_start_up_calls();
// Loads dll from the system folder, once, and looks up its calls.
void look_up_calls(Dll dll);
