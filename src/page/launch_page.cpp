#include "page/launch_page.h"

namespace {

const char kLineEnd[] = "\r\n";

bool needs_escape(unsigned char c) { return c < 0x20 || c == 0x7F || c == '\\' || c == '"' || c == '<'; }

Text quoted(const Text& value) { return "\"" + escape_script_string(value) + "\""; }

}  // namespace

Text escape_script_string(const Text& value) {
  static const char kHex[] = "0123456789ABCDEF";
  Text result;
  result.reserve(value.length());
  for (size_t i = 0; i < value.length(); ++i) {
    unsigned char c = value.byte(i);
    if (needs_escape(c)) {
      const char escape[] = {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
      result.append(escape, sizeof escape);
    } else {
      result += value[i];
    }
  }
  return result;
}

Text build_launch_page(const Text& address, const Text& name, const Text& features) {
  // When the browser blocks the popup, the page goes to the address itself.
  Text open_call = "if (!window.open(" + quoted(address) + "," + quoted(name) + "," +
                   quoted(features) + ")) { location.replace(" + quoted(address) +
                   "); return; }";
  const Text lines[] = {
      "<html>",
      "<body onload=\"KoOpenPage()\">",
      "<script language=\"JavaScript\">",
      "function KoOpenPage()",
      "{",
      open_call,
      "window.close();",
      "}",
      "</script>",
      "</body>",
      "</html>",
  };
  Text page;
  for (const Text& line : lines) page += line + kLineEnd;
  return page;
}

Text launch_page_file_name(const Text& folder, long n) {
  char digits[24];
  int count = 0;
  unsigned long rest = static_cast<unsigned long>(n);
  do {
    digits[count++] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  Text name = folder;
  if (name.empty() || name[name.length() - 1] != '\\') name += '\\';
  name += "VexaTmp";
  while (count > 0) name += digits[--count];
  return name + ".HTML";
}
