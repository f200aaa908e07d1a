#include "launcher/launch_rules.h"

#include "settings/file_names.h"

namespace {

const Mode kModes[] = {
    {"WEB", "WEB", "Address", true, nullptr, "", false},
    {"MAIL", "EMAIL", "Address", false, "Subject", "mailto:", false},
    {"START", "START", "Application", false, nullptr, "", true},
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

const Mode& mode_for_program(const Text& program_path) {
  Text name = program_path.from(last_delimiter("\\:", program_path));
  size_t dot = last_delimiter(".", name);
  Text base_name = upper_case(dot > 0 ? name.left(dot - 1) : name);
  for (const Mode& mode : kModes)
    if (base_name.find(mode.name_holds) != Text::npos) return mode;
  return kModes[0];
}
