// On the Windows NT family the program holds every text as UTF-8 and
// converts it once at each edge to and from the system's UTF-16. Any UTF-16
// converts and comes back exactly: a surrogate without its partner, which
// Windows file names and command lines may hold, is encoded like a character
// of its own (as in WTF-8). Every character with a meaning to the launcher is
// ASCII, and no byte of a longer sequence is.
#pragma once

#include <stddef.h>

#include "common/text.h"

// The code point that starts at index, which moves past it; a byte that
// starts no well-formed sequence stands for U+FFFD and moves it by one.
unsigned long next_code_point(const Text& text, size_t& index);

Text utf8_from_utf16(const char16_t* units, size_t count);

// The UTF-16 of a UTF-8 text, zero-terminated, for the Unicode calls.
class Utf16 {
 public:
  explicit Utf16(const Text& utf8);
  ~Utf16();
  Utf16(const Utf16&) = delete;
  Utf16& operator=(const Utf16&) = delete;

  const char16_t* c_str() const { return units_; }
  size_t length() const { return length_; }

 private:
  char16_t* units_;
  size_t length_;
};
