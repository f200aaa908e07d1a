// The settings file beside the program: its own path with ".ini" (so a
// renamed program reads its own file), or else "MOXLAB.INI" in its folder.
#pragma once

#include "common/text.h"

// Which file that is for the program file at program_path.
Text settings_file(const Text& program_path);
// The value of key in section of the file, at most 1023 characters; empty
// when the file, section or key is missing. The file is only ever read.
Text read_setting(const Text& file, const char* section, const char* key);
