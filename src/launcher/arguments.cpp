// The launcher's own command-line split, one token at a time, and its escapes.
#include "launcher/arguments.h"

#include <string.h>

namespace {

inline unsigned char at(const char* line, size_t position) {
  return static_cast<unsigned char>(line[position]);
}

const unsigned char kQuote = '"';

// The bytes of the character that starts at position: a UTF-8 lead byte and
// the continuation bytes after it, or one byte. An argument is cut between
// characters, never inside one.
size_t character_length(const char* line, size_t position) {
  size_t length = 1;
  if (at(line, position) >= 0xC0)
    while (length < 4 && (at(line, position + length) & 0xC0) == 0x80) ++length;
  return length;
}

// Skips separators and empty quote pairs, then collects one token, handing
// each of its bytes to keep.
template <class Keep>
size_t scan_token(const char* line, size_t& p, Keep keep) {
  for (;;) {
    while (at(line, p) != 0 && at(line, p) <= 0x20) ++p;
    if (at(line, p) != kQuote || at(line, p + 1) != kQuote) break;
    p += 2;
  }
  size_t length = 0;
  // Takes the character at p when it fits within the length limit.
  auto take = [&] {
    size_t count = character_length(line, p);
    if (length + count > kMaxArgumentLength) return false;
    for (length += count; count > 0; --count) keep(line[p++]);
    return true;
  };
  while (at(line, p) > 0x20) {
    if (at(line, p) == kQuote) {
      if (length == kMaxArgumentLength) break;
      ++p;
      // A quoted stretch stops at the length limit too; the rest of it is
      // then scanned as the next token.
      while (at(line, p) != 0 && at(line, p) != kQuote)
        if (!take()) return length;
      if (at(line, p) == kQuote) ++p;
    } else if (!take()) {
      break;
    }
  }
  return length;
}

void skip_token(const char* line, size_t& position) {
  scan_token(line, position, [](char) {});
}

}  // namespace

Text next_argument(const char* line, size_t& position) {
  Text token;
  scan_token(line, position, [&token](char c) { token += c; });
  return token;
}

ArgumentCursor::ArgumentCursor(const char* line) : line_(line) {
  skip_token(line_, position_);  // the program token
  upcoming_ = next_argument(line_, position_);
}

Text ArgumentCursor::next() {
  Text current = static_cast<Text&&>(upcoming_);
  if (!current.empty()) upcoming_ = next_argument(line_, position_);
  return current;
}

size_t count_arguments(const char* line) {
  size_t position = 0;
  skip_token(line, position);
  size_t count = 0;
  while (scan_token(line, position, [](char) {}) != 0) ++count;
  return count;
}

Text argument_at(const char* line, long n) {
  if (n < 1) return Text();
  ArgumentCursor cursor(line);
  for (long i = 1; i < n && !cursor.at_end(); ++i) cursor.next();
  return cursor.next();
}

Text replace_all(const Text& text, const char* pattern, char c) {
  size_t pattern_length = strlen(pattern);
  Text result;
  result.reserve(text.length());
  size_t i = 0;
  while (i < text.length()) {
    if (i + pattern_length <= text.length() &&
        memcmp(text.c_str() + i, pattern, pattern_length) == 0) {
      result += c;
      i += pattern_length;
    } else {
      result += text[i++];
    }
  }
  return result;
}

Text decode_argument(const Text& text) {
  return replace_all(replace_all(text, "`1", ' '), "`0", '`');
}
