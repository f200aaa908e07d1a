// Puts a "NUL=" line into the [rename] section of WININIT.INI's content.
#include "page/wininit.h"

namespace {

// Windows 95's profile calls read at most 32 KB of a section: a larger one
// breaks every installer that reads or writes it with them.
const size_t kLargestSection = 32000;

Text trimmed(const Text& text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  size_t start = 0, end = text.length();
  while (start < end && blank(text[start])) ++start;
  while (end > start && blank(text[end - 1])) --end;
  return Text(text.c_str() + start, end - start);
}

}  // namespace

Text with_deletion_entry(const Text& content, const Text& short_name) {
  // Where the entry goes: behind the section's last line that is not blank;
  // the section's lines start at body.
  size_t at = Text::npos, body = 0;
  for (size_t start = 0, end; start < content.length(); start = end) {
    end = content.find("\n", start);
    end = end == Text::npos ? content.length() : end + 1;
    Text line = trimmed(Text(content.c_str() + start, end - start));
    if (line.starts_with("[") && line.ends_with("]") && line.length() >= 2) {  // a section starts
      if (at != Text::npos) break;
      if (upper_case(trimmed(Text(line.c_str() + 1, line.length() - 2))) == "RENAME") at = body = end;
    } else if (at != Text::npos && !line.empty()) {
      at = end;
    }
  }
  Text entry = "NUL=" + short_name + "\r\n";
  if (at != Text::npos && at - body + entry.length() > kLargestSection) return Text();
  // A last line without its line end gets one.
  Text line_end = !content.empty() && !content.ends_with("\n") ? "\r\n" : "";
  if (at == Text::npos) return content + line_end + "[Rename]\r\n" + entry;
  return content.left(at) + (at == content.length() ? line_end : Text()) + entry + content.from(at);
}
