// libFuzzer: a command line in; the arguments, the target, each launch page,
// the decoded failure text, and the line as WININIT.INI with one more entry
// out, with what must hold for every line. The same bytes as UTF-16 must come
// back exactly from the program's UTF-8.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "common/utf8.h"
#include "launcher/arguments.h"
#include "launcher/char_codes.h"
#include "launcher/launch_rules.h"
#include "page/launch_page.h"
#include "page/wininit.h"

void out_of_memory() { abort(); }

namespace {

void check(bool condition) {
  if (!condition) abort();
}

int hex(const Text& text, size_t at, int digits) {
  int value = 0;
  for (int i = 0; i < digits; ++i) value = value * 16 + hex_digit_value(text[at + i]);
  return value;
}

// The page's window.open line calls it with exactly the three values: it is
// printable ASCII with no "<" and no quote but the eight that delimit the
// script strings, whose \xHH and \uXXXX escapes give the values back.
Text checked_page(const Text& address, const Text& name, const Text& features) {
  Text page = build_launch_page(address, name, features, folder_url(address));
  size_t start = page.find("var opened"), quotes = 0, lines = 0, count = 0;
  Text line = page.from(start).left(page.find("\r\n", start) - start);
  char16_t* units = static_cast<char16_t*>(malloc((line.length() + 1) * sizeof(char16_t)));
  for (size_t i = 0; i < line.length(); ++i) {
    check(line.byte(i) >= 0x20 && line.byte(i) < 0x7F && line[i] != '<');
    quotes += line[i] == '"';
    bool escape = line[i] == '\\' && (line[i + 1] == 'x' || line[i + 1] == 'u');
    units[count++] = static_cast<char16_t>(escape ? hex(line, i + 2, line[i + 1] == 'x' ? 2 : 4) : line.byte(i));
    if (escape) i += line[i + 1] == 'x' ? 3 : 5;
  }
  for (size_t at = 0; (at = page.find("\r\n", at)) != Text::npos; at += 2) ++lines;
  check(quotes == 8 && lines == 17);
  // A byte that starts no UTF-8 character stands for U+FFFD.
  auto as_read = [](const Text& value) {
    Utf16 wide(value);
    return utf8_from_utf16(wide.c_str(), wide.length());
  };
  check(utf8_from_utf16(units, count) == "var opened = null; try { opened = window.open(\"" + as_read(address) +
                                             "\",\"" + as_read(name) + "\",\"" + as_read(features) +
                                             "\"); } catch (e) {} if (!opened) { location.replace(\"" +
                                             as_read(address) + "\"); return; }");
  free(units);
  return page;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Text line(reinterpret_cast<const char*>(data), size);  // a zero byte ends it, as for the system
  apply_window_open_groups(line.c_str(), decode_argument(argument_at(line.c_str(), 1)), checked_page);
  decode_char_codes(error_text_from_arguments(line.c_str()), [](const Text& bytes) { return bytes; });
  // As WININIT.INI, the line keeps every byte: the new entry is only put in, on a line of its own.
  Text updated = with_deletion_entry(line, "A");
  size_t same = 0, added = updated.length() - line.length();
  while (same < line.length() && line[same] == updated[same]) ++same;
  Text before_entry(updated.c_str(), same + added - 7);
  check(updated.from(same + added) == line.from(same) && Text(updated.c_str() + same, added).ends_with("NUL=A\r\n") &&
        (before_entry.empty() || before_entry.ends_with("\n")));

  const char16_t* units = reinterpret_cast<const char16_t*>(data);  // in an allocation of its own
  Utf16 back(utf8_from_utf16(units, size / 2));
  check(back.length() == size / 2 && memcmp(back.c_str(), units, size / 2 * sizeof(char16_t)) == 0);
  return 0;
}
