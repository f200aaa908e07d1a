#include "file_snapshot.h"

#include <windows.h>

#include <algorithm>

namespace e2e {

void add_to_snapshot(Snapshot& snapshot, const std::string& folder, bool deep,
                     const std::vector<std::string>& skip) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    std::string full = folder + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      snapshot[full] = "folder";
      if (deep && std::find(skip.begin(), skip.end(), full) == skip.end()) add_to_snapshot(snapshot, full, deep, skip);
    } else {
      snapshot[full] = std::to_string(found.nFileSizeLow) + " bytes, written " +
                       std::to_string(found.ftLastWriteTime.dwHighDateTime) + ":" +
                       std::to_string(found.ftLastWriteTime.dwLowDateTime);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

std::string snapshot_changes(const Snapshot& before, const Snapshot& after) {
  std::string changes;
  for (const auto& [name, state] : after) {
    auto old = before.find(name);
    if (old == before.end())
      changes += "+ " + name + "\n";
    else if (old->second != state)
      changes += "~ " + name + "\n";
  }
  for (const auto& [name, state] : before)
    if (after.count(name) == 0) changes += "- " + name + "\n";
  return changes;
}

}  // namespace e2e
