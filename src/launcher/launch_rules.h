// How the launcher reads its arguments beyond the target: the "WINDOW.OPEN"
// groups and the "/error=" failure text. Each is one pass over the command line.
#pragma once

#include "common/text.h"
#include "launcher/arguments.h"

// The failure text of the first raw argument from the second on that starts
// with "/error=" (case-sensitive), escape-decoded; empty when there is none.
Text error_text_from_arguments(const char* line);

// Scans the arguments from the first on for "WINDOW.OPEN" groups (in any
// letter case, after decoding). Each group takes the next three decoded
// arguments (empty past the end), which are never keywords themselves, and
// open_group(address, name, features) gives the new target. Returns the
// target that the last group gave, or the one passed in when there is none.
template <class OpenGroup>
Text apply_window_open_groups(const char* line, Text target, OpenGroup open_group) {
  ArgumentCursor arguments(line);
  do {
    if (upper_case(decode_argument(arguments.next())) == "WINDOW.OPEN") {
      Text address = decode_argument(arguments.next());
      Text name = decode_argument(arguments.next());
      Text features = decode_argument(arguments.next());
      target = open_group(address, name, features);
    }
  } while (!arguments.at_end());
  return target;
}

// The mode that the program file's own name chooses: "WEB" unless its base
// name, upper-cased, holds "MAIL" ("EMAIL") or "START" ("START"); a name
// holding "WEB" stays a web launcher whatever else it holds.
Text mode_for_program(const Text& program_path);
