// Planting Unix symbolic links in the Wine prefix, as another program on the
// machine could. Wine's CreateSymbolicLinkA does nothing, so the link is made
// by /bin/ln, which a Windows program under Wine can start directly.
#pragma once

#include <string>

namespace e2e {

// The Unix name of a Windows file name, and the other way round.
std::string unix_name(const std::string& windows_name);
std::string windows_name(const std::string& unix_name);

// A fresh folder for this test outside the prefix's drive C:, reached from
// Windows through drive Z:; with trailing backslash.
std::string outside_folder();

// Makes link (a Windows name) a Unix symbolic link to unix_target, which
// must exist (Wine lists no link whose target is missing).
void plant_unix_link(const std::string& link, const std::string& unix_target);

}  // namespace e2e
