// UTF-8 to UTF-16 and back, exactly, lone surrogates included.
#include "common/utf8.h"

#include <stdlib.h>

namespace {

void append_utf8(Text& text, unsigned long c) {
  if (c < 0x80) {
    text += static_cast<char>(c);
    return;
  }
  static const unsigned char kLeadMark[] = {0, 0xC0, 0xE0, 0xF0};
  int extra = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  text += static_cast<char>(kLeadMark[extra] | (c >> (6 * extra)));
  while (extra-- > 0) text += static_cast<char>(0x80 | ((c >> (6 * extra)) & 0x3F));
}

bool is_high_surrogate(unsigned long unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool is_low_surrogate(unsigned long unit) { return unit >= 0xDC00 && unit < 0xE000; }

}  // namespace

unsigned long next_code_point(const Text& text, size_t& index) {
  static const unsigned long kLeast[] = {0, 0x80, 0x800, 0x10000};  // no longer form than needed
  unsigned char lead = text.byte(index++);
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (lead < 0x80) return lead;
  if (extra == 0 || lead > 0xF4 || index + extra > text.length()) return 0xFFFD;
  unsigned long c = lead & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if ((text.byte(index + k) & 0xC0) != 0x80) return 0xFFFD;
    c = c << 6 | (text.byte(index + k) & 0x3F);
  }
  if (c < kLeast[extra] || c > 0x10FFFF) return 0xFFFD;
  index += extra;
  return c;
}

Text utf8_from_utf16(const char16_t* units, size_t count) {
  Text text;
  text.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    unsigned long c = units[i];
    if (is_high_surrogate(c) && i + 1 < count && is_low_surrogate(units[i + 1]))
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    append_utf8(text, c);
  }
  return text;
}

Utf16::Utf16(const Text& utf8) : units_(nullptr), length_(0) {
  // Never more units than bytes.
  units_ = static_cast<char16_t*>(malloc((utf8.length() + 1) * sizeof(char16_t)));
  if (units_ == nullptr) out_of_memory();
  for (size_t i = 0; i < utf8.length();) {
    unsigned long c = next_code_point(utf8, i);
    if (c >= 0x10000) {
      units_[length_++] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      c = 0xDC00 + (c & 0x3FF);
    }
    units_[length_++] = static_cast<char16_t>(c);
  }
  units_[length_] = 0;
}

Utf16::~Utf16() { free(units_); }
