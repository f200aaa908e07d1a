#include "common/system_win32.h"

#include <commctrl.h>
#include <objbase.h>
#include <stdlib.h>
#include <shellapi.h>

#include "common/utf8.h"

namespace {

struct UnicodeCalls {
  decltype(&GetCommandLineW) GetCommandLineW;
  decltype(&GetModuleFileNameW) GetModuleFileNameW;
  decltype(&GetTempPathW) GetTempPathW;
  decltype(&GetPrivateProfileStringW) GetPrivateProfileStringW;
  decltype(&SetCurrentDirectoryW) SetCurrentDirectoryW;
  decltype(&CreateFileW) CreateFileW;
  decltype(&GetSystemDirectoryW) GetSystemDirectoryW;
  decltype(&FindFirstFileW) FindFirstFileW;
  decltype(&FindNextFileW) FindNextFileW;
  decltype(&DeleteFileW) DeleteFileW;
  decltype(&SetFileInformationByHandle) SetFileInformationByHandle;  // missing before Vista
  decltype(&MessageBoxW) MessageBoxW;
  decltype(&ShellExecuteExW) ShellExecuteExW;
} unicode;
bool unicode_found = false;

// UTF-16 of a program text, for the Unicode calls.
class Wide : public Utf16 {
 public:
  Wide(const Text& text) : Utf16(text) {}  // NOLINT: converts where a call takes it
  operator const wchar_t*() const { return reinterpret_cast<const wchar_t*>(c_str()); }
};

Text from_wide(const wchar_t* units, size_t count) {
  return utf8_from_utf16(reinterpret_cast<const char16_t*>(units), count);
}

Text from_wide(const wchar_t* zero_terminated) {
  size_t length = 0;
  while (zero_terminated[length] != 0) ++length;
  return from_wide(zero_terminated, length);
}

Text utf8_from_ansi(const Text& bytes) {
  Text utf8;
  int count = MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), static_cast<int>(bytes.length()), nullptr, 0);
  if (count <= 0) return utf8;
  wchar_t* units = static_cast<wchar_t*>(malloc(count * sizeof(wchar_t)));
  if (units == nullptr) out_of_memory();
  MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), static_cast<int>(bytes.length()), units, count);
  utf8 = from_wide(units, static_cast<size_t>(count));
  free(units);
  return utf8;
}

}  // namespace

void load_unicode_calls() {
  if (GetVersion() & 0x80000000u) return;  // Windows 95, 98 and Me
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  look_up(kernel, "SetFileInformationByHandle", unicode.SetFileInformationByHandle);
#define LOOK_UP(module, function) look_up(module, #function, unicode.function)
  unicode_found = LOOK_UP(kernel, GetCommandLineW) && LOOK_UP(kernel, GetModuleFileNameW) &&
                  LOOK_UP(kernel, GetTempPathW) && LOOK_UP(kernel, GetPrivateProfileStringW) &&
                  LOOK_UP(kernel, SetCurrentDirectoryW) && LOOK_UP(kernel, CreateFileW) &&
                  LOOK_UP(kernel, GetSystemDirectoryW) && LOOK_UP(kernel, FindFirstFileW) &&
                  LOOK_UP(kernel, FindNextFileW) && LOOK_UP(kernel, DeleteFileW) &&
                  LOOK_UP(GetModuleHandleA("user32.dll"), MessageBoxW) &&
                  LOOK_UP(GetModuleHandleA("shell32.dll"), ShellExecuteExW);
#undef LOOK_UP
}

bool unicode_system() { return unicode_found; }

Text text_from_ansi(const Text& bytes) { return unicode_found ? utf8_from_ansi(bytes) : bytes; }

Text utf8_from_text(const Text& text) { return unicode_found ? text : utf8_from_ansi(text); }

Text command_line() {
  return unicode_found ? from_wide(unicode.GetCommandLineW()) : Text(GetCommandLineA());
}

Text program_path() {
  // A path that fills the buffer is cut there (Windows XP leaves it unterminated).
  wchar_t wide[261];
  char ansi[261];
  DWORD length = unicode_found ? unicode.GetModuleFileNameW(nullptr, wide, 261) : GetModuleFileNameA(nullptr, ansi, 261);
  if (length > 261) length = 261;
  return unicode_found ? from_wide(wide, length) : Text(ansi, length);
}

Text system_folder() {
  wchar_t wide[1024];
  char ansi[1024];
  DWORD length = unicode_found ? unicode.GetSystemDirectoryW(wide, 1024) : GetSystemDirectoryA(ansi, sizeof ansi);
  if (length >= 1024) length = 0;
  return unicode_found ? from_wide(wide, length) : Text(ansi, length);
}

bool temp_folder(Text& folder) {
  wchar_t wide[1024];
  char ansi[1024];
  DWORD length = unicode_found ? unicode.GetTempPathW(1024, wide) : GetTempPathA(sizeof ansi, ansi);
  if (length >= 1024) return false;
  folder = unicode_found ? from_wide(wide, length) : Text(ansi, length);
  return true;
}

Text profile_string(const Text& file, const char* section, const char* key) {
  wchar_t wide[1024];
  char ansi[1024];
  DWORD length = unicode_found
                     ? unicode.GetPrivateProfileStringW(Wide(section), Wide(key), L"", wide, 1024, Wide(file))
                     : GetPrivateProfileStringA(section, key, "", ansi, sizeof ansi, file.c_str());
  if (length > 1023) length = 1023;
  return unicode_found ? from_wide(wide, length) : Text(ansi, length);
}

bool set_current_directory(const Text& folder) {
  return unicode_found ? unicode.SetCurrentDirectoryW(Wide(folder)) : SetCurrentDirectoryA(folder.c_str());
}

HANDLE create_file(const Text& name, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  return unicode_found ? unicode.CreateFileW(Wide(name), access, share, nullptr, disposition, flags, nullptr)
                       : CreateFileA(name.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

FileSearch::FileSearch(const Text& pattern)
    : search_(unicode_found ? unicode.FindFirstFileW(Wide(pattern), &wide_) : FindFirstFileA(pattern.c_str(), &ansi_)) {}

FileSearch::~FileSearch() {
  if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
}

bool FileSearch::next(Text& name) {
  if (search_ == INVALID_HANDLE_VALUE) return false;
  if (!first_ && !(unicode_found ? unicode.FindNextFileW(search_, &wide_) : FindNextFileA(search_, &ansi_)))
    return false;
  first_ = false;
  name = unicode_found ? from_wide(wide_.cFileName) : Text(ansi_.cFileName);
  return true;
}

DWORD FileSearch::attributes() const { return unicode_found ? wide_.dwFileAttributes : ansi_.dwFileAttributes; }

FILETIME FileSearch::last_write() const { return unicode_found ? wide_.ftLastWriteTime : ansi_.ftLastWriteTime; }

HANDLE open_for_removal(const Text& name) {
  // Windows 95, 98 and Me know neither links nor access for deletion.
  return unicode_found ? unicode.CreateFileW(Wide(name), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr)
                       : CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool remove_and_close(HANDLE file, const Text& name) {
  FILE_DISPOSITION_INFO removed = {TRUE};
  // Through the handle, so that what goes is exactly the file that was opened.
  bool gone = unicode_found && unicode.SetFileInformationByHandle &&
              unicode.SetFileInformationByHandle(file, FileDispositionInfo, &removed, sizeof removed);
  CloseHandle(file);
  return gone || delete_file(name);
}

bool delete_file(const Text& name) {
  return unicode_found ? unicode.DeleteFileW(Wide(name)) : DeleteFileA(name.c_str());
}

void show_message(const Text& text) {
  // The manifest asks for Common Controls 6, whose dialogs need comctl32
  // loaded and initialised first: Windows XP shows no box otherwise.
  decltype(&InitCommonControlsEx) initialise;
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_STANDARD_CLASSES};
  if (look_up(LoadLibraryA("comctl32.dll"), "InitCommonControlsEx", initialise)) initialise(&classes);
  if (unicode_found)
    unicode.MessageBoxW(nullptr, Wide(text), L"", MB_OK);
  else
    MessageBoxA(nullptr, text.c_str(), "", MB_OK);
}

bool hand_to_shell(HWND owner, const Text& file, const Text* parameters, const Text* directory) {
  if (!unicode_found) {
    // ShellExecuteA reports a refusal as a value from 0 to 32.
    INT_PTR result = reinterpret_cast<INT_PTR>(ShellExecuteA(owner, nullptr, file.c_str(),
                                                             parameters ? parameters->c_str() : nullptr,
                                                             directory ? directory->c_str() : nullptr, SW_SHOWNORMAL));
    return result < 0 || result > 32;
  }
  // As the shell asks of its callers: COM first, for handlers that need it,
  // and a hand-off that is finished before this process ends.
  decltype(&CoInitializeEx) initialize;
  if (look_up(LoadLibraryA("ole32.dll"), "CoInitializeEx", initialize))
    initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  Wide wide_file(file), wide_parameters(parameters ? *parameters : Text()), wide_directory(directory ? *directory : Text());
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;  // no error box of the shell's own: the program shows one
  info.hwnd = owner;
  info.lpFile = wide_file;
  info.lpParameters = parameters ? static_cast<const wchar_t*>(wide_parameters) : nullptr;
  info.lpDirectory = directory ? static_cast<const wchar_t*>(wide_directory) : nullptr;
  info.nShow = SW_SHOWNORMAL;
  // Its result tells; hInstApp is defined only for a process it started.
  return unicode.ShellExecuteExW(&info) != FALSE;
}
