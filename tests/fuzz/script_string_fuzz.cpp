// The launch page's values: a JavaScript string-literal decoder gives each
// value back; no "<", line break or quote survives in the escaped text; and
// whatever the values, the page's script around them stays the same.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "page/launch_page.h"
#include "test_text.h"

#define CHECK(condition) \
  if (!(condition)) abort()

namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes the body of a double-quoted script string (between the quotes) the
// way a JavaScript engine reads it, for the one-byte characters used here.
// False when the body could not stand in such a literal.
bool decode_literal(const std::string& body, std::string& value) {
  value.clear();
  for (size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (c == '"' || c == '\r' || c == '\n') return false;
    if (c != '\\') {
      value += c;
      continue;
    }
    if (++i == body.size()) return false;
    char e = body[i];
    switch (e) {
      case 'x': {
        if (i + 2 >= body.size()) return false;
        int high = hex_value(body[i + 1]), low = hex_value(body[i + 2]);
        if (high < 0 || low < 0) return false;
        value += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      case 'n': value += '\n'; break;
      case 'r': value += '\r'; break;
      case 't': value += '\t'; break;
      case 'b': value += '\b'; break;
      case 'f': value += '\f'; break;
      case 'v': value += '\v'; break;
      case '0': value += '\0'; break;
      case 'u': case '\r': case '\n': return false;  // not produced here
      default: value += e;  // \\ \" \' and any other character stand for themselves
    }
  }
  return true;
}

// The double-quoted literals of a script line, and the line with each of
// them emptied (its code).
struct Literals {
  std::vector<std::string> bodies;
  std::string code;
};

Literals literals_of(const std::string& line) {
  Literals found;
  for (size_t i = 0; i < line.size(); ++i) {
    found.code += line[i];
    if (line[i] != '"') continue;
    std::string body;
    for (++i; i < line.size() && line[i] != '"'; ++i) {
      body += line[i];
      if (line[i] == '\\' && i + 1 < line.size()) body += line[++i];
    }
    found.bodies.push_back(body);
    found.code += '"';
  }
  return found;
}

std::vector<std::string> lines_of(const std::string& page) {
  std::vector<std::string> lines;
  size_t start = 0, end;
  while ((end = page.find("\r\n", start)) != std::string::npos) {
    lines.push_back(page.substr(start, end - start));
    start = end + 2;
  }
  CHECK(start == page.size());  // every line ends with CR LF
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  std::string values[3];
  values[0] = provider.ConsumeRandomLengthString();
  values[1] = provider.ConsumeRandomLengthString();
  values[2] = provider.ConsumeRemainingBytesAsString();

  for (const std::string& value : values) {
    std::string escaped = str(escape_script_string(Text(value.data(), value.size())));
    CHECK(escaped.find_first_of("<\"\r\n") == std::string::npos);
    std::string back;
    CHECK(decode_literal(escaped, back));
    CHECK(back == value);
  }

  static const std::vector<std::string> kEmptyPage = lines_of(str(build_launch_page("", "", "")));
  std::vector<std::string> page = lines_of(str(build_launch_page(
      Text(values[0].data(), values[0].size()), Text(values[1].data(), values[1].size()),
      Text(values[2].data(), values[2].size()))));
  CHECK(page.size() == kEmptyPage.size());
  for (size_t n = 0; n < page.size(); ++n) {
    Literals seen = literals_of(page[n]);
    CHECK(seen.code == literals_of(kEmptyPage[n]).code);  // the values add no code
    if (n != 5) {
      CHECK(page[n] == kEmptyPage[n]);
      continue;
    }
    // The window.open call: address, name, features, in that order.
    CHECK(seen.bodies.size() >= 3);
    for (size_t k = 0; k < seen.bodies.size(); ++k) {
      std::string back;
      CHECK(decode_literal(seen.bodies[k], back));
      if (k < 3) CHECK(back == values[k]);
    }
  }
  return 0;
}
