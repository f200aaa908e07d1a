// decode_char_codes: never longer than its input; a text without "<#" comes
// back unchanged; every byte written as its code comes back; and the result is
// that of the plain step-by-step decoding of a shrinking rest.
#include <ctype.h>
#include <stdlib.h>

#include <string>

#include "launcher/char_codes.h"

#define CHECK(condition) \
  if (!(condition)) abort()

namespace {

bool hex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// The rest loses what has been decided; "<#" is looked for in it anew each time.
std::string plain_decode(const std::string& text) {
  std::string result, rest = text;
  size_t p = rest.find("<#");
  while (p != std::string::npos && p + 5 <= rest.size()) {
    result += rest.substr(0, p);
    rest.erase(0, p);
    if (rest[4] == '>' && hex(rest[3]) && hex(rest[2])) {
      result += static_cast<char>(std::stoi(rest.substr(2, 2), nullptr, 16));
      rest.erase(0, 5);
    } else {
      result += "<#";
      rest.erase(0, 2);
    }
    p = rest.find("<#");
  }
  return result + rest;
}

std::string decoded(const std::string& text) {
  Text result = decode_char_codes(Text(text.data(), text.size()));
  return std::string(result.c_str(), result.length());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string once = decoded(text);
  CHECK(once.size() <= text.size());
  CHECK(once == plain_decode(text));
  if (text.find("<#") == std::string::npos) CHECK(once == text);

  static const char kDigits[] = "0123456789abcdef";
  std::string codes;
  for (unsigned char c : text) {
    codes += "<#";
    codes += kDigits[c >> 4];
    codes += (c & 1) ? kDigits[c & 15] : static_cast<char>(toupper(kDigits[c & 15]));
    codes += '>';
  }
  CHECK(decoded(codes) == text);
  return 0;
}
