// How the launcher reads its arguments beyond the target, the "WINDOW.OPEN"
// groups and the "/error=" failure text (each one pass over the command
// line), and which of its three modes its program file's name chooses.
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
    // An escape decodes to a blank or a backquote, which "WINDOW.OPEN" lacks,
    // so the keyword is never written with one: the raw argument tells, and
    // the thousands of others need no decoding.
    Text argument = arguments.next();
    if (argument.length() == 11 && upper_case(argument) == "WINDOW.OPEN") {
      Text address = decode_argument(arguments.next());
      Text name = decode_argument(arguments.next());
      Text features = decode_argument(arguments.next());
      target = open_group(address, name, features);
    }
  } while (!arguments.at_end());
  return target;
}

// What the launcher does, read from its settings file's section: the web
// mode opens an address (from its arguments, or from the file when it has
// none); the e-mail mode opens "mailto:" and the address, with a subject; the
// program-start mode starts a program with parameters.
struct Mode {
  const char* name_word;  // chosen when the program's base name, upper-cased, holds this word
  const char* section;
  const char* target_key;
  bool takes_arguments = false;
  const char* subject_key = nullptr;  // added to the target as "?subject=" when not empty
  const char* scheme = "";            // put before the target for the shell only, unless it is there
  bool with_parameters = false;       // from "Parameters", else "Params"
  bool in_own_folder = false;         // hands over in the program's folder: a setup program may need it
  bool through_desktop_shell = true;  // started elevated, it opens as the user; a setup program keeps the rights
};

// What the mode hands to the shell for target: the mode's scheme and the
// target, or the target alone when it starts with that scheme (in any letter
// case) already.
Text shell_target(const Mode& mode, const Text& target);

// The command line with its program token put in quotes when the line
// starts with the program's full name, path (as the system reports it) or
// long_path, unquoted, in any letter case of its ASCII letters, followed by a
// separator or the end. Windows starts the program from such a line
// (C:\My Apps\launch.exe), whose blank would otherwise end the token.
Text with_program_token_quoted(const Text& line, const Text& path, const Text& long_path);

// Whether target names a scheme ("http:", "mailto:", any "name:" but a
// drive letter), so that it needs no working folder.
bool has_scheme(const Text& target);

// The first mode whose word the base name holds ("WEB", "MAIL", "START"), or
// the web mode.
const Mode& mode_for_program(const Text& program_path);
