// File-name operations that respect double-byte characters: in a code page
// with lead bytes, a trail byte with a delimiter's value is no delimiter.
#pragma once

#include <stddef.h>

#include "common/text.h"

enum class ByteType { single_byte, lead_byte, trail_byte };

// Fills the lead-byte table from the system's code page (call once, first).
void init_lead_bytes();
// Sets the table directly: far_east as the system would report it, and up to
// six (first, last) byte ranges, ended early by a pair of two zeros. A range
// whose last byte is below its first adds nothing.
void set_lead_bytes(bool far_east, const unsigned char ranges[12]);
bool is_lead_byte(unsigned char c);

// The type of the byte at 1-based index of text.
ByteType byte_type(const Text& text, size_t index);
// 1-based position of the last byte of text that is one of delimiters and no
// trail byte; 0 when there is none.
size_t last_delimiter(const char* delimiters, const Text& text);
// name with its extension (from its last dot in the last path element)
// replaced by extension, or with extension appended when it has none.
Text change_file_ext(const Text& name, const char* extension);
// The directory part of name with its last backslash or colon; empty when
// there is none.
Text extract_file_path(const Text& name);
// path with its file's long name, as a file search reports it: a copy
// started by its short name (AUTOST~1.EXE) still knows its own name.
Text with_long_name(const Text& path);
// True when name is an existing file (no directory) whose last-write time
// has a DOS date and time.
bool file_exists(const Text& name);
// Whether name is a file name alone, with no "\", "/" or ":".
bool is_bare_name(const Text& name);
// name from folder (with its trailing backslash), unless it is a full name:
// one that starts at a drive, a root or a share.
Text full_name(const Text& folder, const Text& name);
