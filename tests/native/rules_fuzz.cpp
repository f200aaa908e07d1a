// libFuzzer: a command line in; the arguments, the target, each launch page
// and the decoded failure text out, with what must hold for every line.
#include <stdint.h>
#include <stdlib.h>

#include "launcher/arguments.h"
#include "launcher/char_codes.h"
#include "launcher/launch_rules.h"
#include "page/launch_page.h"

void out_of_memory() { abort(); }

namespace {

void check(bool condition) {
  if (!condition) abort();
}

// The page's sixth line calls window.open with exactly the three values: it
// holds no line break, no "<" and no quote but the eight that delimit the
// script strings, whose \xHH escapes give the values back.
Text checked_page(const Text& address, const Text& name, const Text& features) {
  Text page = build_launch_page(address, name, features), decoded;
  size_t start = 0, quotes = 0, lines = 0;
  for (int line = 1; line < 6; ++line) start = page.find("\r\n", start) + 2;
  Text line = page.from(start).left(page.find("\r\n", start) - start);
  for (size_t i = 0; i < line.length(); ++i) {
    check(line.byte(i) >= 0x20 && line.byte(i) != 0x7F && line[i] != '<');
    quotes += line[i] == '"';
    bool escape = line[i] == '\\' && line[i + 1] == 'x';
    decoded += escape ? static_cast<char>(hex_digit_value(line[i + 2]) * 16 + hex_digit_value(line[i + 3])) : line[i];
    if (escape) i += 3;
  }
  for (size_t at = 0; (at = page.find("\r\n", at)) != Text::npos; at += 2) ++lines;
  check(quotes == 8 && lines == 11);
  check(decoded == "if (!window.open(\"" + address + "\",\"" + name + "\",\"" + features + "\")) { location.replace(\"" +
                       address + "\"); return; }");
  return page;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Text line(reinterpret_cast<const char*>(data), size);  // a zero byte ends it, as for the system
  size_t count = 0;
  for (ArgumentCursor arguments(line.c_str()); !arguments.at_end(); ++count) {
    Text argument = arguments.next();
    check(!argument.empty() && argument.length() <= kMaxArgumentLength);
  }
  check(count == count_arguments(line.c_str()));
  apply_window_open_groups(line.c_str(), decode_argument(argument_at(line.c_str(), 1)), checked_page);
  Text error_text = error_text_from_arguments(line.c_str());
  check(decode_char_codes(error_text).length() <= error_text.length());
  return 0;
}
