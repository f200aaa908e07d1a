// The settings file beside the program: its own path with ".ini" (so a
// renamed program reads its own file), or else "MOXLAB.INI" in its folder.
#pragma once

#include "common/text.h"

// The value of key in section, at most 1023 bytes; empty when the file,
// section or key is missing. The file is only ever read.
Text read_setting(const Text& section, const Text& key);
