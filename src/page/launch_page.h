// The launch page: a small local web page whose script opens an address in a
// new, named browser window with the given features and then closes itself.
#pragma once

#include "common/text.h"

// value written so that a script string literal holds exactly its bytes:
// backslash, double quote, "<", control bytes and 0x7F become \xHH.
Text escape_script_string(const Text& value);
// The page text: eleven lines, each ended by CR LF.
Text build_launch_page(const Text& address, const Text& name, const Text& features);
// The full name of the page file number n in folder, which gets a trailing
// backslash when it lacks one.
Text launch_page_file_name(const Text& folder, long n);

// Writes page_text and one more CR LF into a new file "VexaTmp<n>.HTML" in
// the temporary folder, with the first free n, and schedules its removal at
// the next start of Windows. Returns its full name, or the empty text when it
// could not be created, written or closed. An existing name is never reused.
Text write_launch_page(const Text& page_text);
// Asks Windows to delete the file at its next start.
void remove_at_next_start(const Text& file_name);
