// The launch page's text, its file names and their numbers.
#include "page/launch_page.h"

#include <limits.h>

#include "common/utf8.h"

namespace {

// The page's function is named KoOpenPage and its file VexaTmp<n>.HTML, as
// in every earlier version: the sweep recognises those pages by them, and
// callers that look for the page in the temporary folder rely on the name.
const char kLineEnd[] = "\r\n";
// The page around the folder's address and the window.open line. The Mark
// of the Web ends in CR LF and follows the doctype: before it, Internet
// Explorer would render in quirks mode.
const char kHead[] =
    "<!DOCTYPE html>\r\n<!-- saved from url=(0014)about:internet -->\r\n<html>\r\n<head>\r\n"
    "<meta charset=\"utf-8\">\r\n<base href=\"";
const char kScript[] = "\">\r\n<script>\r\nfunction KoOpenPage()\r\n{\r\n";
const char kTail[] =
    "window.close();\r\n}\r\n</script>\r\n</head>\r\n<body onload=\"KoOpenPage()\">\r\n</body>\r\n</html>\r\n";
// The page of earlier versions, around its window.open line.
const char kOldHead[] =
    "<html>\r\n<body onload=\"KoOpenPage()\">\r\n<script language=\"JavaScript\">\r\nfunction KoOpenPage()\r\n{\r\n";
const char kOldTail[] = "window.close();\r\n}\r\n</script>\r\n</body>\r\n</html>\r\n";
const char kHex[] = "0123456789ABCDEF";
const long kMostKept = 65536;

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

bool is_page(const Text& content, const char* head, const char* tail) {
  // As written: the page text and one more line end.
  Text end = Text(tail) + kLineEnd;
  return content.length() >= Text(head).length() + end.length() && content.starts_with(head) &&
         content.ends_with(end.c_str());
}

}  // namespace

Text build_launch_page(const Text& address, const Text& name, const Text& features, const Text& base_url) {
  // When the browser blocks the popup, or throws (Internet Explorer does for
  // a window name of more than letters, digits and "_"), the page goes to
  // the address itself.
  return kHead + base_url + kScript +
         ("var opened = null; try { opened = window.open(" + quoted(address) + "," + quoted(name) + "," +
          quoted(features) + "); } catch (e) {} if (!opened) { location.replace(" + quoted(address) + "); return; }") +
         kLineEnd + kTail;
}

Text folder_url(const Text& folder) {
  Text path = folder;
  if (path.starts_with("\\\\?\\UNC\\")) path = "\\\\" + path.from(8);  // long-path forms
  else if (path.starts_with("\\\\?\\")) path = path.from(4);
  Text url = path.starts_with("\\\\") ? "file:" : "file:///";  // a share's server, or a drive
  for (size_t i = 0; i < path.length(); ++i) {
    unsigned char c = path.byte(i);
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                 c == '.' || c == '_' || c == '~' || c == ':';
    if (c == '\\') {
      url += '/';
    } else if (plain) {
      url += static_cast<char>(c);
    } else {
      const char escape[] = {'%', kHex[c >> 4], kHex[c & 15]};
      url.append(escape, sizeof escape);
    }
  }
  return url;
}

bool is_launch_page_file(const Text& content) {
  return is_page(content, kHead, kTail) || is_page(content, kOldHead, kOldTail);
}

long page_number(const Text& name) {
  Text upper = upper_case(name);
  if (upper.length() < 13 || !upper.starts_with("VEXATMP") || !upper.ends_with(".HTML") || name[7] == '0') return 0;
  long n = 0;
  for (size_t i = 7; i < name.length() - 5; ++i) {
    if (name[i] < '0' || name[i] > '9' || n > (LONG_MAX - 9) / 10) return 0;
    n = n * 10 + (name[i] - '0');
  }
  return n;
}

bool is_launch_page_name(const Text& name) {
  return page_number(name) > 0 && name.starts_with("VexaTmp") && name.ends_with(".HTML");
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

void PageNumbers::take(long n) {
  if (n <= 0 || n > kMostKept) return;
  while (taken_.length() <= static_cast<size_t>(n)) taken_ += '\0';
  taken_.set(static_cast<size_t>(n), 1);
}

long PageNumbers::first_free(long from) const {
  long n = from;
  while (n < LONG_MAX && static_cast<size_t>(n) < taken_.length() && taken_[static_cast<size_t>(n)] != 0) ++n;
  return n;
}
