// The launch page: a small local web page whose script opens an address in a
// new, named browser window with the given features and then closes itself.
#pragma once

#include "common/text.h"

// The page text for three UTF-8 values: eleven lines of ASCII, each ended by
// CR LF. In the script's strings a backslash, double quote, "<", control
// character and DEL is written as \xHH, every character from U+0080 up as
// \uXXXX (two for one beyond U+FFFF), so that the browser reads exactly the
// values, whatever character set it assumes. A byte that starts no UTF-8
// character stands for U+FFFD.
Text build_launch_page(const Text& address, const Text& name, const Text& features);
// name in folder, with a backslash between them when folder lacks one.
Text in_folder(const Text& folder, const char* name);
// The full name of the page file number n in folder.
Text launch_page_file_name(const Text& folder, long n);
// Whether a file's name and content are those of a launch page as written
// here ("VexaTmp<n>.HTML"; the fixed lines around any sixth line).
bool is_launch_page_name(const Text& name);
bool is_launch_page_file(const Text& content);

// Writes page_text and one more CR LF into a new file "VexaTmp<n>.HTML" in
// the temporary folder, with the first free n, and schedules its removal at
// the next start of Windows. Returns its full name, or the empty text when it
// could not be created, written or closed. An existing name is never reused.
// The first call of a run first removes the pages of earlier runs that are
// more than a day old (see launch_page_win32.cpp).
Text write_launch_page(const Text& page_text);
// Asks Windows to delete the file at its next start.
void remove_at_next_start(const Text& file_name);
