// decode_argument: an encoded text (backquote as "`0", blank as "`1") decodes
// to itself; decoding never lengthens a text and matches the plain two-pass
// replacement.
#include <stdlib.h>

#include <string>

#include "launcher/arguments.h"
#include "reference_scans.h"

#define CHECK(condition) \
  if (!(condition)) abort()

namespace {

std::string encoded(const std::string& text) {
  std::string result;
  for (char c : text) {
    if (c == '`')
      result += "`0";
    else if (c == ' ')
      result += "`1";
    else
      result += c;
  }
  return result;
}

std::string decoded(const std::string& text) {
  Text result = decode_argument(Text(text.data(), text.size()));
  return std::string(result.c_str(), result.length());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CHECK(decoded(encoded(text)) == text);
  std::string once = decoded(text);
  CHECK(once.size() <= text.size());
  CHECK(once == reference::decode_argument(text));
  if (text.find('`') == std::string::npos) CHECK(once == text);
  return 0;
}
