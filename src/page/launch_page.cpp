#include "page/launch_page.h"

#include "common/utf8.h"

namespace {

const char kLineEnd[] = "\r\n";
// The page's lines around its sixth, which opens the window.
const char kOpening[] =
    "<html>\r\n<body onload=\"KoOpenPage()\">\r\n<script language=\"JavaScript\">\r\nfunction KoOpenPage()\r\n{\r\n";
const char kClosing[] = "window.close();\r\n}\r\n</script>\r\n</body>\r\n</html>\r\n";
const char kHex[] = "0123456789ABCDEF";

bool needs_escape(unsigned long c) { return c < 0x20 || c == 0x7F || c == '\\' || c == '"' || c == '<'; }

void append_unit_escape(Text& text, unsigned long unit) {
  const char escape[] = {'\\', 'u', kHex[unit >> 12], kHex[(unit >> 8) & 15], kHex[(unit >> 4) & 15], kHex[unit & 15]};
  text.append(escape, sizeof escape);
}

Text escape_script_string(const Text& utf8) {
  Text result;
  result.reserve(utf8.length());
  for (size_t i = 0; i < utf8.length();) {
    unsigned long c = next_code_point(utf8, i);
    if (c >= 0x10000) {  // as UTF-16, the script's own form: two units
      append_unit_escape(result, 0xD800 + ((c - 0x10000) >> 10));
      append_unit_escape(result, 0xDC00 + (c & 0x3FF));
    } else if (c >= 0x80) {
      append_unit_escape(result, c);
    } else if (needs_escape(c)) {
      const char escape[] = {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
      result.append(escape, sizeof escape);
    } else {
      result += static_cast<char>(c);
    }
  }
  return result;
}

Text quoted(const Text& value) { return "\"" + escape_script_string(value) + "\""; }

}  // namespace

Text build_launch_page(const Text& address, const Text& name, const Text& features) {
  // When the browser blocks the popup, the page goes to the address itself.
  return kOpening + ("if (!window.open(" + quoted(address) + "," + quoted(name) + "," + quoted(features) +
                     ")) { location.replace(" + quoted(address) + "); return; }") +
         kLineEnd + kClosing;
}

bool is_launch_page_file(const Text& content) {
  // As written: the page text and one more line end, whatever its sixth line holds.
  Text closing = Text(kClosing) + kLineEnd;
  return content.length() >= sizeof kOpening - 1 + closing.length() && content.starts_with(kOpening) &&
         content.ends_with(closing.c_str());
}

bool is_launch_page_name(const Text& name) {
  // "VexaTmp", the number in decimal as written here (no leading zero), ".HTML"
  if (name.length() < 13 || !name.starts_with("VexaTmp") || !name.ends_with(".HTML") || name[7] == '0') return false;
  for (size_t i = 7; i < name.length() - 5; ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

Text in_folder(const Text& folder, const char* name) {
  bool has_backslash = !folder.empty() && folder[folder.length() - 1] == '\\';
  return folder + (has_backslash ? "" : "\\") + name;
}

Text launch_page_file_name(const Text& folder, long n) {
  char digits[24];
  int count = 0;
  unsigned long rest = static_cast<unsigned long>(n);
  do {
    digits[count++] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  Text name = in_folder(folder, "VexaTmp");
  while (count > 0) name += digits[--count];
  return name + ".HTML";
}
