#include "startup_removal.h"

#include <gtest/gtest.h>

#include "harness.h"

namespace e2e {
namespace {

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";

// The strings of a REG_MULTI_SZ value, empty ones included (the pairs of
// old and new name hold an empty new name for a deletion).
std::vector<std::string> multi_string(const std::string& bytes) {
  std::vector<std::string> strings;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\0', start);
    if (end == std::string::npos) end = bytes.size();
    if (end == start && end + 1 >= bytes.size()) break;  // the list's final terminator
    strings.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return strings;
}

}  // namespace

std::vector<std::string> pending_deletes() {
  std::vector<std::string> deletes;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return deletes;
  DWORD type = 0, size = 0;
  std::string bytes;
  if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, nullptr, &size) ==
      ERROR_SUCCESS) {
    bytes.resize(size);
    RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type,
                     reinterpret_cast<BYTE*>(&bytes[0]), &size);
    bytes.resize(size);
  }
  RegCloseKey(key);
  std::vector<std::string> strings = multi_string(bytes);
  for (size_t i = 0; i < strings.size(); i += 2) {
    if (i + 1 < strings.size() && !strings[i + 1].empty()) continue;  // a rename, not a deletion
    const std::string& name = strings[i];
    deletes.push_back(name.rfind("\\??\\", 0) == 0 ? name.substr(4) : name);
  }
  return deletes;
}

size_t pending_deletes_of(const std::vector<std::string>& deletes, const std::string& file) {
  size_t count = 0;
  for (const std::string& name : deletes) count += _stricmp(name.c_str(), file.c_str()) == 0;
  return count;
}

Windows98Program::Windows98Program(const std::string& file_name)
    : key_("Software\\Wine\\AppDefaults\\" + file_name) {
  HKEY key;
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

Windows98Program::~Windows98Program() { RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }

WininitFile::WininitFile() : lock_(CreateMutexA(nullptr, FALSE, "launch-e2e-WININIT.INI")) {
  WaitForSingleObject(lock_, INFINITE);
  char folder[MAX_PATH];
  UINT length = GetWindowsDirectoryA(folder, sizeof folder);
  path_ = std::string(folder, length) + "\\WININIT.INI";
  existed_ = GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (existed_) saved_ = read_file(path_);
  DeleteFileA(path_.c_str());
}

WininitFile::~WininitFile() {
  DeleteFileA(path_.c_str());
  if (existed_) write_file(path_, saved_);
  ReleaseMutex(lock_);
  CloseHandle(lock_);
}

std::string WininitFile::content() const { return read_file(path_); }

std::string short_name(const std::string& path) {
  char buffer[MAX_PATH];
  DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return length < sizeof buffer ? std::string(buffer, length) : std::string();
}

}  // namespace e2e
