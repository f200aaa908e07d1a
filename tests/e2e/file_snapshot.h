// What lies on disk in a few folders, to show that a run wrote nothing there.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace e2e {

// Every file (by full name: size and last-write time) and folder (by full
// name) found.
using Snapshot = std::map<std::string, std::string>;

// folder (without trailing backslash) and, when deep, everything below it,
// leaving out the folders named in skip.
void add_to_snapshot(Snapshot& snapshot, const std::string& folder, bool deep,
                     const std::vector<std::string>& skip = {});

// The entries that differ, one per line ("+ name", "- name", "~ name").
std::string snapshot_changes(const Snapshot& before, const Snapshot& after);

}  // namespace e2e
