#include "launcher/launch_rules.h"

#include "settings/file_names.h"

namespace {

const Mode kModes[] = {
    {"WEB", "WEB", "Address", true, nullptr, "", false, false, true},
    {"MAIL", "EMAIL", "Address", false, "Subject", "mailto:", false, false, true},
    {"START", "START", "Application", false, nullptr, "", true, true, false},
};

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
    if (base_name.find(mode.name_holds) != Text::npos) return mode;
  return kModes[0];
}
