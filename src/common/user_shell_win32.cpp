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

#include "common/system_win32.h"
#include "common/utf8.h"

namespace {

// How long the launcher waits for a desktop shell that does not answer.
const DWORD kRelayWaitMs = 5000;
const CLSID kShellWindows = {0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};
const GUID kTopLevelBrowser = {0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};
enum : LONG { kPreparing, kCalling, kAbandoned };

// What the worker thread needs; it stays until the process ends, since the
// worker may outlive the wait for it. Plain data: no start-up code fills it.
struct Worker {
  DWORD shell;  // the process that must answer
  BSTR file, directory, empty;
  decltype(&CoInitializeEx) initialize;
  decltype(&CoInitializeSecurity) secure;
  decltype(&CoCreateInstance) create;
  decltype(&CoUninitialize) uninitialize;
  decltype(&AllowSetForegroundWindow) allow_foreground;
  volatile LONG state;
  HRESULT result;  // of the shell's ShellExecute, once the worker has ended in state kCalling
} relay;

decltype(&OpenProcessToken) open_token;
decltype(&GetTokenInformation) token_information;

bool read_token(HANDLE process, TOKEN_ELEVATION_TYPE& elevation, DWORD& session) {
  HANDLE token;
  if (!open_token(process, TOKEN_QUERY, &token)) return false;
  DWORD size;
  bool read = token_information(token, TokenElevationType, &elevation, sizeof elevation, &size) &&
              token_information(token, TokenSessionId, &session, sizeof session, &size);
  CloseHandle(token);
  return read;
}

// The desktop shell's process when this program runs elevated and that shell
// does not, in the same session; 0 otherwise. Cheap facts only, no COM.
DWORD user_shell() {
  DWORD version = GetVersion();
  if ((version & 0x80000000u) || LOBYTE(version) < 6) return 0;  // before Vista: no elevation
  HMODULE advapi = LoadLibraryA("advapi32.dll");
  TOKEN_ELEVATION_TYPE own, shell;
  DWORD own_session, shell_session, id = 0;
  if (!look_up(advapi, "OpenProcessToken", open_token) || !look_up(advapi, "GetTokenInformation", token_information) ||
      !read_token(GetCurrentProcess(), own, own_session) || own != TokenElevationTypeFull)
    return 0;
  // The shell's window; where there is none (as under Wine), the desktop's.
  decltype(&GetShellWindow) shell_window;
  HWND window = look_up(GetModuleHandleA("user32.dll"), "GetShellWindow", shell_window) ? shell_window() : nullptr;
  GetWindowThreadProcessId(window != nullptr ? window : GetDesktopWindow(), &id);
  // Without a shell that is a system process, whose token this program cannot read.
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (process == nullptr) return 0;
  bool as_user = read_token(process, shell, shell_session) && shell != TokenElevationTypeFull && shell_session == own_session;
  CloseHandle(process);
  return as_user ? id : 0;
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
  HMODULE advapi = GetModuleHandleA("advapi32.dll");  // loaded for the tokens
  decltype(&InitializeSecurityDescriptor) new_descriptor;
  decltype(&InitializeAcl) new_list;
  decltype(&AddAccessAllowedAce) allow;
  decltype(&SetSecurityDescriptorDacl) set_list;
  decltype(&SetSecurityDescriptorOwner) set_owner;
  decltype(&SetSecurityDescriptorGroup) set_group;
  const DWORD rights = COM_RIGHTS_EXECUTE | COM_RIGHTS_EXECUTE_LOCAL;
  return look_up(advapi, "InitializeSecurityDescriptor", new_descriptor) && look_up(advapi, "InitializeAcl", new_list) &&
         look_up(advapi, "AddAccessAllowedAce", allow) && look_up(advapi, "SetSecurityDescriptorDacl", set_list) &&
         look_up(advapi, "SetSecurityDescriptorOwner", set_owner) &&
         look_up(advapi, "SetSecurityDescriptorGroup", set_group) &&
         new_descriptor(&callers, SECURITY_DESCRIPTOR_REVISION) && new_list(&allowed.list, sizeof allowed, ACL_REVISION) &&
         allow(&allowed.list, ACL_REVISION, rights, &self_sid) &&
         allow(&allowed.list, ACL_REVISION, rights, &system_sid) && set_list(&callers, TRUE, &allowed.list, FALSE) &&
         set_owner(&callers, &system_sid, FALSE) && set_group(&callers, &system_sid, FALSE) &&
         relay.secure(&callers, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IDENTIFY, nullptr,
                      EOAC_NO_CUSTOM_MARSHAL, nullptr) == S_OK;
}

// From the shell's list of windows to its desktop's folder view, to the
// shell's automation object, which opens the file.
HRESULT ask_shell() {
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
  HRESULT result = relay.create(kShellWindows, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IShellWindows), windows.out());
  if (result == S_OK)
    result = windows->FindWindowSW(&where, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                                   reinterpret_cast<IDispatch**>(desktop.out()));
  // Only the shell whose token was read may open it.
  GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<LONG_PTR>(window)), &owner);
  if (result == S_OK && owner != relay.shell) result = E_ACCESSDENIED;
  if (result == S_OK) result = desktop->QueryInterface(__uuidof(IServiceProvider), provider.out());
  if (result == S_OK) result = provider->QueryService(kTopLevelBrowser, __uuidof(IShellBrowser), browser.out());
  if (result == S_OK) result = browser->QueryActiveShellView(&view.pointer);
  if (result == S_OK) result = view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch), background.out());
  if (result == S_OK) result = background->QueryInterface(__uuidof(IShellFolderViewDual), folder_view.out());
  if (result == S_OK) result = folder_view->get_Application(&application.pointer);
  if (result == S_OK) result = application->QueryInterface(__uuidof(IShellDispatch2), shell.out());
  if (result != S_OK) return result;
  // What the shell starts comes to the front, as on the normal road.
  relay.allow_foreground(relay.shell);
  // Not once the launcher has stopped waiting and gone on the normal way.
  if (InterlockedCompareExchange(&relay.state, kCalling, kPreparing) != kPreparing) return E_ABORT;
  return shell->ShellExecute(relay.file, variant(VT_BSTR, 0, relay.empty), variant(VT_BSTR, 0, relay.directory),
                             variant(VT_BSTR, 0, relay.empty), variant(VT_I4, SW_SHOWNORMAL, nullptr));
}

DWORD WINAPI relay_thread(void*) {
  // The multithreaded apartment, left again at the end: this thread must not
  // become the process's main apartment, which a handler that the normal
  // hand-off loads later might need.
  if (FAILED(relay.initialize(nullptr, COINIT_MULTITHREADED))) return 0;
  if (secure_com()) relay.result = ask_shell();
  relay.uninitialize();
  return 0;
}

}  // namespace

Relay hand_to_user_shell(const Text& file, const Text& directory, bool file_name) {
  relay.shell = user_shell();
  if (relay.shell == 0) return Relay::not_made;
  Utf16 wide_file(file), wide_directory(directory);
  // A name that names nothing, the commonest refusal, takes the normal road,
  // whose box tells; the shell's might be shown as well.
  decltype(&GetFileAttributesW) attributes;
  if (file_name && (!look_up(GetModuleHandleA("kernel32.dll"), "GetFileAttributesW", attributes) ||
                    attributes(reinterpret_cast<const wchar_t*>(wide_file.c_str())) == INVALID_FILE_ATTRIBUTES))
    return Relay::not_made;
  decltype(&SysAllocString) allocate;
  HMODULE ole = LoadLibraryA("ole32.dll");
  if (!look_up(ole, "CoInitializeEx", relay.initialize) || !look_up(ole, "CoInitializeSecurity", relay.secure) ||
      !look_up(ole, "CoCreateInstance", relay.create) || !look_up(ole, "CoUninitialize", relay.uninitialize) ||
      !look_up(GetModuleHandleA("user32.dll"), "AllowSetForegroundWindow", relay.allow_foreground) ||
      !look_up(LoadLibraryA("oleaut32.dll"), "SysAllocString", allocate))
    return Relay::not_made;
  relay.file = allocate(reinterpret_cast<const OLECHAR*>(wide_file.c_str()));
  relay.directory = allocate(reinterpret_cast<const OLECHAR*>(wide_directory.c_str()));
  relay.empty = allocate(L"");
  HANDLE worker = relay.file && relay.directory && relay.empty ? CreateThread(nullptr, 0, relay_thread, nullptr, 0, nullptr)
                                                               : nullptr;
  if (worker == nullptr) return Relay::not_made;
  bool ended = WaitForSingleObject(worker, kRelayWaitMs) == WAIT_OBJECT_0;
  CloseHandle(worker);
  // When the wait ends first, a worker that is still preparing never calls the shell.
  LONG state = ended ? relay.state : InterlockedCompareExchange(&relay.state, kAbandoned, kPreparing);
  if (state != kCalling) return Relay::not_made;
  // Once called, the shell has the target, also while it is still busy with it.
  return !ended || relay.result == S_OK ? Relay::handed_over : Relay::refused;
}
