// Decodes the "<#hh>" character codes of failure texts.
#include "launcher/char_codes.h"

namespace {

bool is_hex_digit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

int hex_digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

Text decode_char_codes(const Text& text, Text (*from_code_bytes)(const Text&)) {
  Text result, code_bytes;  // the bytes of the codes met since the last other text
  result.reserve(text.length());
  size_t start = 0;  // the rest of the text begins here
  size_t code = text.find("<#");
  // A code needs five characters from its "<#" on.
  while (code != Text::npos && code + 5 <= text.length()) {
    bool valid = text[code + 4] == '>' && is_hex_digit(text[code + 3]) && is_hex_digit(text[code + 2]);
    if (code > start || !valid) {
      result += from_code_bytes(code_bytes);
      code_bytes = Text();
      result.append(text.c_str() + start, code - start);
    }
    if (valid) {
      code_bytes += static_cast<char>(16 * hex_digit_value(text[code + 2]) + hex_digit_value(text[code + 3]));
      start = code + 5;
    } else {
      result.append("<#", 2);
      start = code + 2;
    }
    code = text.find("<#", start);
  }
  result += from_code_bytes(code_bytes);
  result.append(text.c_str() + start, text.length() - start);
  return result;
}
