// What the launcher does so that its launch pages do not outlive their use.
// The browser reads a page after the launcher has ended, so a page is never
// removed by the run that wrote it.
#pragma once

#include <windows.h>

#include "common/text.h"

// Removes the file at path when it is a launch page last written more than a
// day ago. The file search's attributes and date of it come first: a fresh
// page or a folder is never opened.
void remove_if_stale(const Text& path, DWORD attributes, FILETIME last_write);
// On Windows 95, 98 and Me, which have no other clean-up, asks for the
// page's removal at the next start of Windows with a line of its own in
// WININIT.INI; nothing when that file cannot be read or written, and
// nothing on the NT family.
void remove_at_next_start(const Text& page);
