// What the launcher leaves for the next start of Windows: the pending
// delayed deletions in the registry and the start-up rename file WININIT.INI.
// Wine carries both out (and clears them) when a new wineserver starts, so
// they are read while the test session's server still runs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The files whose deletion is pending (entries "\??\<name>" with an empty
// new name in PendingFileRenameOperations), in order, with "\??\" removed.
std::vector<std::string> pending_deletes();
// How many of them name exactly this file.
size_t pending_deletes_of(const std::vector<std::string>& deletes, const std::string& file);

// Makes Wine report Windows 98 to programs of this file name (any folder)
// while it lives, and removes that setting afterwards.
class Windows98Program {
 public:
  explicit Windows98Program(const std::string& file_name);
  ~Windows98Program();
  Windows98Program(const Windows98Program&) = delete;
  Windows98Program& operator=(const Windows98Program&) = delete;

 private:
  std::string key_;
};

// Exclusive use of the Windows folder's WININIT.INI, which every test
// process of the session shares: holds a named mutex, starts the file empty
// (absent) and puts back what was there before when it ends.
class WininitFile {
 public:
  WininitFile();
  ~WininitFile();
  WininitFile(const WininitFile&) = delete;
  WininitFile& operator=(const WininitFile&) = delete;

  const std::string& path() const { return path_; }
  std::string content() const;

 private:
  HANDLE lock_;
  std::string path_, saved_;
  bool existed_ = false;
};

// The 8.3 form of an existing file's name (empty when there is none).
std::string short_name(const std::string& path);

}  // namespace e2e
