// The launcher's own command-line rules. Blanks and control characters
// separate arguments; double quotes group and are always removed; a backslash
// is an ordinary character. On top of the split, "`1" stands for a blank and
// "`0" for a backquote. Everything here works on any zero-terminated text.
#pragma once

#include <stddef.h>

#include "common/text.h"

// The most bytes one argument holds; a longer token is cut into several.
constexpr size_t kMaxArgumentLength = 65536;

// Scans one token of line starting at position and leaves position where the
// scan stopped (where the next scan starts). The token is empty only when
// nothing is left.
Text next_argument(const char* line, size_t& position);

// Walks the arguments after the program token, in order, in one pass.
class ArgumentCursor {
 public:
  explicit ArgumentCursor(const char* line);
  // The next argument; the empty text once all are taken.
  Text next();
  bool at_end() const { return upcoming_.empty(); }

 private:
  const char* line_;
  size_t position_ = 0;
  Text upcoming_;
};

// The number of arguments after the program token.
size_t count_arguments(const char* line);
// Argument n (1-based) after the program token; empty when there is none.
Text argument_at(const char* line, long n);

// text with every occurrence of pattern (not empty), found left to right
// without overlap, replaced by c.
Text replace_all(const Text& text, const char* pattern, char c);
// Undoes the escapes: "`1" becomes a blank, then "`0" a backquote.
Text decode_argument(const Text& text);
