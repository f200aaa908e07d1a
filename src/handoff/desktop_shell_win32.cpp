// The hand-off through the desktop shell. An installer runs elevated, and so
// does what it starts: a browser started from here would run with the
// administrator's rights, beside the user's own. The desktop shell runs as
// the user at the desktop, and opens the target for this program through its
// documented automation interfaces. Elevation exists from Windows Vista on:
// every call it needs is looked up at run time.
#include <windows.h>

#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlobj.h>

#include "common/file_names.h"
#include "common/looked_up_win32.h"
#include "common/system_win32.h"
#include "handoff/handoff_win32.h"

namespace {

// How long the launcher waits for the desktop shell in each of two stages:
// while the call is prepared (the shell found, its automation object
// reached), and for the call itself, from its start. The worst case is
// twice as long.
const DWORD kStageMs = 5000;
// Between tries of a call that the shell turned away as busy.
const DWORD kRetryMs = 100;
const CLSID kShellWindows = {0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};
const GUID kTopLevelBrowser = {0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};
// The call's stages. The launcher and the calling thread move between them
// only by an interlocked exchange, so that exactly one of them decides
// whether the shell was asked.
enum : LONG {
  kPreparing,
  kCalling,    // inside the shell's ShellExecute
  kRejected,   // between tries: the shell turned the call away as busy, so it never ran
  kAnswered,   // result holds the shell's answer
  kAbandoned,  // the shell is never asked: the launcher hands the target over itself
};

// The call, made on a thread of its own. It stays until the process ends,
// since the thread may outlive the wait for it. Plain data: no start-up code
// fills it.
struct DesktopShellCall {
  DWORD shell;  // the process that must answer
  BSTR file, directory, empty;
  HANDLE thread, settled;  // settled is set once the state is kAnswered or kAbandoned
  volatile LONG state;
  DWORD started;   // the tick count at the call's first try
  HRESULT result;  // the shell's answer, once the state is kAnswered
} call;

bool busy(HRESULT result) { return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER; }

LONG change_state(LONG to, LONG from) { return InterlockedCompareExchange(&call.state, to, from); }

void settle(LONG state) {
  InterlockedExchange(&call.state, state);
  SetEvent(call.settled);
}

// What decides whether the desktop shell may open the target: the
// elevation, session and user of a process's token.
struct TokenFacts {
  TOKEN_ELEVATION_TYPE elevation;
  DWORD session;
  union {
    TOKEN_USER user;
    BYTE room[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  };
};

bool read_token(HANDLE process, TokenFacts& facts) {
  HANDLE token;
  if (!looked_up::OpenProcessToken(process, TOKEN_QUERY, &token)) return false;
  DWORD size;
  bool read =
      looked_up::GetTokenInformation(token, TokenElevationType, &facts.elevation, sizeof facts.elevation, &size) &&
      looked_up::GetTokenInformation(token, TokenSessionId, &facts.session, sizeof facts.session, &size) &&
      looked_up::GetTokenInformation(token, TokenUser, &facts.user, sizeof facts.room, &size);
  CloseHandle(token);
  return read;
}

// The desktop shell's process when this program runs elevated and that shell
// runs as the same user, not elevated, in the same session; 0 otherwise.
// Cheap facts only, no COM.
DWORD shell_as_user() {
  if (!windows_nt() || LOBYTE(GetVersion()) < 6) return 0;  // before Vista: no elevation
  look_up_calls(Dll::advapi32);
  TokenFacts own, shell;
  DWORD id = 0;
  if (!looked_up::EqualSid || !looked_up::RegCloseKey || !read_token(GetCurrentProcess(), own) ||
      own.elevation != TokenElevationTypeFull)
    return 0;
  // The shell's window; where there is none (as under Wine), the desktop's.
  HWND window = looked_up::GetShellWindow ? looked_up::GetShellWindow() : nullptr;
  GetWindowThreadProcessId(window != nullptr ? window : GetDesktopWindow(), &id);
  // Without a shell that is a system process, whose token this program cannot read.
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (process == nullptr) return 0;
  bool as_user = read_token(process, shell) && shell.elevation != TokenElevationTypeFull &&
                 shell.session == own.session && looked_up::EqualSid(shell.user.User.Sid, own.user.User.Sid);
  CloseHandle(process);
  return as_user ? id : 0;
}

// Whether the shell finds file, a file name, where ShellExecute looks for
// one: a name with a folder from the launcher's folder; a bare name there,
// then on the search path (".exe" added when it has no extension), then
// among the programs registered in App Paths (the key is enough), in both
// views of a 64-bit Windows: a 64-bit shell reads its own.
bool shell_finds(const Text& file, const Text& folder) {
  if (!is_bare_name(file)) return name_exists(full_name(folder, file));
  if (name_exists(folder + file)) return true;
  wchar_t found[MAX_PATH];
  if (looked_up::SearchPathW(nullptr, Wide(file), L".exe", MAX_PATH, found, nullptr) != 0) return true;
  Text key =
      "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + file + (file.find(".") == Text::npos ? ".exe" : "");
  const struct {
    HKEY root;
    REGSAM view;
  } kPlaces[] = {{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY}, {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY}, {HKEY_CURRENT_USER, 0}};
  for (const auto& place : kPlaces) {
    HKEY program;
    if (looked_up::RegOpenKeyExW(place.root, Wide(key), 0, KEY_QUERY_VALUE | place.view, &program) != ERROR_SUCCESS)
      continue;
    looked_up::RegCloseKey(program);
    return true;
  }
  return false;
}

// An interface pointer, released at the end of its scope.
template <class Interface>
struct Com {
  Interface* pointer = nullptr;
  ~Com() {
    if (pointer != nullptr) pointer->Release();
  }
  Interface* operator->() const { return pointer; }
  void** out() { return reinterpret_cast<void**>(&pointer); }
};

VARIANT variant(VARTYPE type, LONG number, BSTR text) {
  VARIANT value = {};
  V_VT(&value) = type;
  if (type == VT_I4) V_I4(&value) = number;
  if (type == VT_BSTR) V_BSTR(&value) = text;
  return value;
}

// Who may call into this process: itself and the system, as COM allows by
// default. The shell only answers; nothing of this process is called.
SID self_sid = {SID_REVISION, 1, SECURITY_NT_AUTHORITY, {SECURITY_PRINCIPAL_SELF_RID}};
SID system_sid = {SID_REVISION, 1, SECURITY_NT_AUTHORITY, {SECURITY_LOCAL_SYSTEM_RID}};
SECURITY_DESCRIPTOR callers;
union {
  ACL list;
  BYTE room[64];
} allowed;

// The process's COM security, set before anything is marshalled: the shell,
// of lower integrity, may identify this process but not act as it, and no
// marshaller of its choosing is loaded here.
bool secure_com() {
  namespace api = looked_up;
  const DWORD rights = COM_RIGHTS_EXECUTE | COM_RIGHTS_EXECUTE_LOCAL;
  return api::InitializeSecurityDescriptor && api::InitializeAcl && api::AddAccessAllowedAce &&
         api::SetSecurityDescriptorDacl && api::SetSecurityDescriptorOwner && api::SetSecurityDescriptorGroup &&
         api::InitializeSecurityDescriptor(&callers, SECURITY_DESCRIPTOR_REVISION) &&
         api::InitializeAcl(&allowed.list, sizeof allowed, ACL_REVISION) &&
         api::AddAccessAllowedAce(&allowed.list, ACL_REVISION, rights, &self_sid) &&
         api::AddAccessAllowedAce(&allowed.list, ACL_REVISION, rights, &system_sid) &&
         api::SetSecurityDescriptorDacl(&callers, TRUE, &allowed.list, FALSE) &&
         api::SetSecurityDescriptorOwner(&callers, &system_sid, FALSE) &&
         api::SetSecurityDescriptorGroup(&callers, &system_sid, FALSE) &&
         api::CoInitializeSecurity(&callers, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IDENTIFY,
                                   nullptr, EOAC_NO_CUSTOM_MARSHAL, nullptr) == S_OK;
}

// From the shell's list of windows to its desktop's folder view, to the
// shell's automation object, which opens the file; the answer is settled as
// soon as the shell gives it.
void ask_shell() {
  Com<IShellWindows> windows;
  Com<IDispatch> desktop, background, application;
  Com<IServiceProvider> provider;
  Com<IShellBrowser> browser;
  Com<IShellView> view;
  Com<IShellFolderViewDual> folder_view;
  Com<IShellDispatch2> shell;
  VARIANT where = variant(VT_I4, CSIDL_DESKTOP, nullptr), root = {};
  long window = 0;
  DWORD owner = 0;
  HRESULT result =
      looked_up::CoCreateInstance(kShellWindows, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IShellWindows), windows.out());
  if (result == S_OK)
    result = windows->FindWindowSW(&where, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                                   reinterpret_cast<IDispatch**>(desktop.out()));
  // Only the shell whose token was read may open it.
  GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<LONG_PTR>(window)), &owner);
  if (result == S_OK && owner != call.shell) result = E_ACCESSDENIED;
  if (result == S_OK) result = desktop->QueryInterface(__uuidof(IServiceProvider), provider.out());
  if (result == S_OK) result = provider->QueryService(kTopLevelBrowser, __uuidof(IShellBrowser), browser.out());
  if (result == S_OK) result = browser->QueryActiveShellView(&view.pointer);
  if (result == S_OK) result = view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch), background.out());
  if (result == S_OK) result = background->QueryInterface(__uuidof(IShellFolderViewDual), folder_view.out());
  if (result == S_OK) result = folder_view->get_Application(&application.pointer);
  if (result == S_OK) result = application->QueryInterface(__uuidof(IShellDispatch2), shell.out());
  if (result != S_OK) return;
  // What the shell starts comes to the front, as on the normal road.
  looked_up::AllowSetForegroundWindow(call.shell);
  call.started = GetTickCount();
  // The call is made only while the launcher still waits for it.
  for (LONG from = kPreparing; change_state(kCalling, from) == from; from = kRejected) {
    result = shell->ShellExecute(call.file, variant(VT_BSTR, 0, call.empty), variant(VT_BSTR, 0, call.directory),
                                 variant(VT_BSTR, 0, call.empty), variant(VT_I4, SW_SHOWNORMAL, nullptr));
    // A shell busy with something else turns the call away before it runs:
    // in the multithreaded apartment no message filter tries it again.
    if (!busy(result) || GetTickCount() - call.started + kRetryMs >= kStageMs) {
      call.result = result;
      settle(kAnswered);
      return;
    }
    InterlockedExchange(&call.state, kRejected);
    Sleep(kRetryMs);
  }
}

DWORD WINAPI call_desktop_shell(void*) {
  // The multithreaded apartment, left again at the end: this thread must not
  // become the process's main apartment, which a handler that the normal
  // hand-off loads later might need.
  if (SUCCEEDED(looked_up::CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
    if (secure_com()) ask_shell();
    looked_up::CoUninitialize();
  }
  // Not called, or not answered before the launcher stopped waiting.
  if (change_state(kAbandoned, kPreparing) == kPreparing) SetEvent(call.settled);
  return 0;
}

}  // namespace

DesktopShell hand_to_desktop_shell(const Text& file, const Text& directory, const Text* folder) {
  call.shell = shell_as_user();
  if (call.shell == 0) return DesktopShell::not_asked;
  // A file name that the shell cannot find, the commonest refusal, takes the
  // normal road, whose box tells; the shell's might be shown as well.
  if (folder != nullptr && !shell_finds(file, *folder)) return DesktopShell::not_asked;
  look_up_calls(Dll::ole32);
  look_up_calls(Dll::oleaut32);
  if (!looked_up::CoInitializeEx || !looked_up::CoInitializeSecurity || !looked_up::CoCreateInstance ||
      !looked_up::CoUninitialize || !looked_up::SysAllocString || !looked_up::AllowSetForegroundWindow)
    return DesktopShell::not_asked;
  call.file = looked_up::SysAllocString(Wide(file));
  call.directory = looked_up::SysAllocString(Wide(directory));
  call.empty = looked_up::SysAllocString(L"");
  call.settled = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (call.file && call.directory && call.empty && call.settled)
    call.thread = CreateThread(nullptr, 0, call_desktop_shell, nullptr, 0, nullptr);
  if (call.thread == nullptr) return DesktopShell::not_asked;
  // While the call is prepared, the launcher may stop waiting and hand the
  // target over itself; once it is made, only the shell's answer or its
  // time decides.
  if (WaitForSingleObject(call.settled, kStageMs) == WAIT_TIMEOUT &&
      change_state(kAbandoned, kPreparing) == kPreparing)
    return DesktopShell::not_asked;
  if (call.state == kAbandoned) return DesktopShell::not_asked;
  DWORD spent = GetTickCount() - call.started;
  if (call.state != kAnswered && spent < kStageMs) WaitForSingleObject(call.settled, kStageMs - spent);
  LONG state = change_state(kAbandoned, kRejected);
  if (state == kCalling) return DesktopShell::has_target;  // the shell has it, and is still busy with it
  if (state == kRejected || busy(call.result)) return DesktopShell::not_asked;  // the call never ran
  return call.result == S_OK ? DesktopShell::has_target : DesktopShell::refused;
}

bool desktop_shell_call_running() {
  return call.thread != nullptr && WaitForSingleObject(call.thread, 0) == WAIT_TIMEOUT;
}
