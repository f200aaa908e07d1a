#include "launcher/launch_rules.h"

#include "settings/file_names.h"

Text error_text_from_arguments(const char* line) {
  ArgumentCursor arguments(line);
  arguments.next();  // the target is never a failure text
  while (!arguments.at_end()) {
    Text raw = arguments.next();
    if (raw.starts_with("/error=")) return decode_argument(raw.from(7));
  }
  return Text();
}

Text mode_for_program(const Text& program_path) {
  Text name = program_path.from(last_delimiter("\\:", program_path));
  size_t dot = last_delimiter(".", name);
  Text section = upper_case(dot > 0 ? name.left(dot - 1) : name);
  if (section.find("WEB") != Text::npos) return "WEB";
  if (section.find("MAIL") != Text::npos) return "EMAIL";
  if (section.find("START") != Text::npos) return "START";
  return "WEB";
}
