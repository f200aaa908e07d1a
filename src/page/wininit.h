// WININIT.INI, the start-up rename file of Windows 95, 98 and Me: at its
// next start Windows carries out every line of its [rename] section, where
// "NUL=<short name>" deletes that file. The key may appear any number of
// times, which the profile functions cannot write: they replace the first.
#pragma once

#include "common/text.h"

// content with one more line "NUL=<short_name>" at the end of its first
// [rename] section (in any letter case), after the section's last line that
// is not blank; every byte already there stays as it was. A missing section
// is added at the end of the file. The empty text when the section would
// pass 32,000 bytes.
Text with_deletion_entry(const Text& content, const Text& short_name);
