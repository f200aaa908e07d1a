// The system calls that take or give texts, each in its Unicode form on the
// NT family and its ANSI form on Windows 95, 98 and Me.
#include "common/system_win32.h"

#include <stdlib.h>

#include "common/looked_up_win32.h"

namespace {

bool nt_family = false;

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

void start_system_calls() {
  look_up_start_up_calls();
  nt_family = (GetVersion() & 0x80000000u) == 0;  // every NT from 4 on has the Unicode calls used here
}

bool windows_nt() { return nt_family; }

Text text_from_ansi(const Text& bytes) { return nt_family ? utf8_from_ansi(bytes) : bytes; }

Text text_from_wide(const wchar_t* units, size_t count) {
  if (nt_family) return from_wide(units, count);
  int length = WideCharToMultiByte(CP_ACP, 0, units, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
  char* bytes = static_cast<char*>(malloc(length > 0 ? length : 1));
  if (bytes == nullptr) out_of_memory();
  if (length > 0) length = WideCharToMultiByte(CP_ACP, 0, units, static_cast<int>(count), bytes, length, nullptr, nullptr);
  Text ansi(bytes, length > 0 ? length : 0);
  free(bytes);
  return ansi;
}

Text utf8_from_text(const Text& text) { return nt_family ? text : utf8_from_ansi(text); }

Text command_line() { return nt_family ? from_wide(looked_up::GetCommandLineW()) : Text(GetCommandLineA()); }

Text program_path() {
  // A path that fills the buffer is cut there (Windows XP leaves it unterminated).
  wchar_t wide[261];
  char ansi[261];
  DWORD length = nt_family ? looked_up::GetModuleFileNameW(nullptr, wide, 261) : GetModuleFileNameA(nullptr, ansi, 261);
  if (length > 261) length = 261;
  return nt_family ? from_wide(wide, length) : Text(ansi, length);
}

Text system_folder() {
  wchar_t wide[1024];
  char ansi[1024];
  DWORD length = nt_family ? looked_up::GetSystemDirectoryW(wide, 1024) : GetSystemDirectoryA(ansi, sizeof ansi);
  if (length >= 1024) length = 0;
  return nt_family ? from_wide(wide, length) : Text(ansi, length);
}

bool temp_folder(Text& folder) {
  wchar_t wide[1024];
  char ansi[1024];
  DWORD length = nt_family ? looked_up::GetTempPathW(1024, wide) : GetTempPathA(sizeof ansi, ansi);
  if (length >= 1024) return false;
  folder = nt_family ? from_wide(wide, length) : Text(ansi, length);
  return true;
}

Text profile_string(const Text& file, const char* section, const char* key) {
  wchar_t wide[1024];
  char ansi[1024];
  DWORD length = nt_family ? looked_up::GetPrivateProfileStringW(Wide(section), Wide(key), L"", wide, 1024, Wide(file))
                           : GetPrivateProfileStringA(section, key, "", ansi, sizeof ansi, file.c_str());
  if (length > 1023) length = 1023;
  return nt_family ? from_wide(wide, length) : Text(ansi, length);
}

bool set_current_directory(const Text& folder) {
  return nt_family ? looked_up::SetCurrentDirectoryW(Wide(folder)) : SetCurrentDirectoryA(folder.c_str());
}

bool name_exists(const Text& name) {
  return (nt_family ? looked_up::GetFileAttributesW(Wide(name)) : GetFileAttributesA(name.c_str())) !=
         INVALID_FILE_ATTRIBUTES;
}

HANDLE create_file(const Text& name, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  return nt_family ? looked_up::CreateFileW(Wide(name), access, share, nullptr, disposition, flags, nullptr)
                   : CreateFileA(name.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

FileSearch::FileSearch(const Text& pattern)
    : search_(nt_family ? looked_up::FindFirstFileW(Wide(pattern), &wide_) : FindFirstFileA(pattern.c_str(), &ansi_)) {}

FileSearch::~FileSearch() {
  if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
}

bool FileSearch::next(Text& name) {
  if (search_ == INVALID_HANDLE_VALUE) return false;
  if (!first_ && !(nt_family ? looked_up::FindNextFileW(search_, &wide_) : FindNextFileA(search_, &ansi_)))
    return false;
  first_ = false;
  name = nt_family ? from_wide(wide_.cFileName) : Text(ansi_.cFileName);
  return true;
}

DWORD FileSearch::attributes() const { return nt_family ? wide_.dwFileAttributes : ansi_.dwFileAttributes; }

FILETIME FileSearch::last_write() const { return nt_family ? wide_.ftLastWriteTime : ansi_.ftLastWriteTime; }

HANDLE open_for_removal(const Text& name) {
  // Windows 95, 98 and Me know neither links nor access for deletion.
  return nt_family ? looked_up::CreateFileW(Wide(name), GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_OPEN_REPARSE_POINT, nullptr)
                   : CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool remove_and_close(HANDLE file, const Text& name) {
  // Through the handle, so that what goes is exactly the file that was opened:
  // the file's disposition (FILE_DISPOSITION_INFORMATION) set to "delete".
  const ULONG kFileDispositionInformation = 13;
  BOOLEAN remove = TRUE;
  ULONG_PTR status[2];  // IO_STATUS_BLOCK
  bool by_handle = nt_family && looked_up::NtSetInformationFile;
  bool gone = by_handle &&
              looked_up::NtSetInformationFile(file, status, &remove, sizeof remove, kFileDispositionInformation) >= 0;
  CloseHandle(file);
  return by_handle ? gone : delete_file(name);
}

bool delete_file(const Text& name) {
  return nt_family ? looked_up::DeleteFileW(Wide(name)) : DeleteFileA(name.c_str());
}
