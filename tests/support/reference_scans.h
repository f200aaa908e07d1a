// The launcher's argument rules written the plain, slow way, straight from
// their description, to check the one-pass forms against: a token scan of its
// own, argument(n) that scans from the start of the line on every call, and
// the two driver scans that call it once per argument (quadratic time).
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "launcher/arguments.h"

namespace reference {

const size_t kLimit = 65536;

inline unsigned char at(const char* line, size_t p) { return static_cast<unsigned char>(line[p]); }

// One token from position p: skip separators and empty quote pairs, then
// collect ordinary bytes and quoted stretches up to the length limit (a
// quoted stretch ends at the limit too).
inline std::string next_argument(const char* line, size_t& p) {
  for (;;) {
    while (at(line, p) != 0 && at(line, p) <= 0x20) ++p;
    if (at(line, p) == '"' && at(line, p + 1) == '"') {
      p += 2;
      continue;
    }
    break;
  }
  std::string token;
  while (at(line, p) > 0x20 && token.size() < kLimit) {
    if (at(line, p) == '"') {
      ++p;
      while (at(line, p) != 0 && at(line, p) != '"' && token.size() < kLimit) token += line[p++];
      if (at(line, p) == '"') ++p;
    } else {
      token += line[p++];
    }
  }
  return token;
}

inline size_t argument_count(const char* line) {
  size_t p = 0;
  next_argument(line, p);
  size_t count = 0;
  while (!next_argument(line, p).empty()) ++count;
  return count;
}

// Argument n >= 1, scanned from the start of the line.
inline std::string argument(const char* line, long n) {
  size_t p = 0;
  std::string token = next_argument(line, p);  // the program token
  long k = n;
  while (k != 0 && !token.empty()) {
    --k;
    token = next_argument(line, p);
  }
  return token;
}

inline std::string replace_all(const std::string& text, const std::string& pattern, char c) {
  std::string result;
  size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, pattern.size(), pattern) == 0) {
      result += c;
      i += pattern.size();
    } else {
      result += text[i++];
    }
  }
  return result;
}

inline std::string decode_argument(const std::string& text) {
  return replace_all(replace_all(text, "`1", ' '), "`0", '`');
}

inline std::string upper_case(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  return text;
}

struct Group {
  std::string address, name, features;
  bool operator==(const Group& o) const {
    return address == o.address && name == o.name && features == o.features;
  }
};

// The "WINDOW.OPEN" scan: i = 1; take argument i, decoded; a keyword takes
// arguments i + 1 to i + 3 as its values; go on while i <= argument_count().
inline std::vector<Group> window_open_groups(const char* line) {
  std::vector<Group> groups;
  long count = static_cast<long>(argument_count(line));
  long i = 1;
  do {
    std::string current = decode_argument(argument(line, i));
    ++i;
    if (upper_case(current) == "WINDOW.OPEN") {
      groups.push_back({decode_argument(argument(line, i)), decode_argument(argument(line, i + 1)),
                        decode_argument(argument(line, i + 2))});
      i += 3;
    }
  } while (i <= count);
  return groups;
}

// The "/error=" search: raw arguments 2 to argument_count(), the first that
// starts with the marker gives the rest of it, decoded.
inline std::string error_text(const char* line) {
  long count = static_cast<long>(argument_count(line));
  for (long i = 2; i <= count; ++i) {
    std::string raw = argument(line, i);
    if (raw.compare(0, 7, "/error=") == 0) return decode_argument(raw.substr(7));
  }
  return std::string();
}

}  // namespace reference
