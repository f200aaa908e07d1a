// The launcher's decisions that need no system: its modes, the text it hands
// over, its failure text from the command line.
#include "launcher/launch_rules.h"

#include <initializer_list>

#include "common/file_names.h"

namespace {

const Mode kModes[] = {
    {.name_word = "WEB", .section = "WEB", .target_key = "Address", .takes_arguments = true},
    {.name_word = "MAIL", .section = "EMAIL", .target_key = "Address", .subject_key = "Subject", .scheme = "mailto:"},
    {.name_word = "START",
     .section = "START",
     .target_key = "Application",
     .with_parameters = true,
     .in_own_folder = true,
     .through_desktop_shell = false},
};

// Whether text starts with prefix, in any letter case of its ASCII letters.
bool starts_with_any_case(const Text& text, const Text& prefix) {
  return text.length() >= prefix.length() && upper_case(text.left(prefix.length())) == upper_case(prefix);
}

}  // namespace

Text error_text_from_arguments(const char* line) {
  ArgumentCursor arguments(line);
  arguments.next();  // the target is never a failure text
  while (!arguments.at_end()) {
    Text raw = arguments.next();
    if (raw.starts_with("/error=")) return decode_argument(raw.from(7));
  }
  return Text();
}

bool has_scheme(const Text& target) {
  // A letter, then letters, digits, "+", "-" or ".", then a colon.
  size_t i = 0;
  for (; i < target.length(); ++i) {
    char c = target[i];
    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    bool more = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!letter && !(i > 0 && more)) break;
  }
  return i >= 2 && i < target.length() && target[i] == ':';  // one letter is a drive
}

const Mode& mode_for_program(const Text& program_path) {
  Text name = program_path.from(last_delimiter("\\:", program_path));
  size_t dot = last_delimiter(".", name);
  Text base_name = upper_case(dot > 0 ? name.left(dot - 1) : name);
  for (const Mode& mode : kModes)
    if (base_name.find(mode.name_word) != Text::npos) return mode;
  return kModes[0];
}

Text shell_target(const Mode& mode, const Text& target) {
  return starts_with_any_case(target, mode.scheme) ? target : mode.scheme + target;
}

Text with_program_token_quoted(const Text& line, const Text& path, const Text& long_path) {
  for (const Text* name : {&path, &long_path}) {
    size_t end = name->length();
    if (end > 0 && starts_with_any_case(line, *name) && line.byte(end) <= 0x20)  // the zero at its end too
      return "\"" + line.left(end) + "\"" + line.from(end);
  }
  return line;
}
