// File-name operations under random lead-byte tables: a found delimiter is a
// delimiter and never a trail byte, the directory part and the name without
// its extension are prefixes of the name, and all of it is what the plain
// step-by-step rules give.
#include <stdlib.h>
#include <string.h>

#include <string>

#include "settings/file_names.h"
#include "test_text.h"

#define CHECK(condition) \
  if (!(condition)) abort()

namespace {

// Input: a flag byte (bit 0: double-byte code page), the six lead-byte
// ranges (12 bytes), then the name.
const size_t kHeader = 13;

bool in_table(const unsigned char ranges[12], bool far_east, unsigned char c) {
  if (!far_east) return false;
  for (int pair = 0; pair < 6; ++pair) {
    unsigned char first = ranges[2 * pair], last = ranges[2 * pair + 1];
    if (first == 0 && last == 0) break;
    if (first <= c && c <= last) return true;
  }
  return false;
}

// The type of the byte at 1-based index: count the member bytes right before
// it; an odd count makes it a trail byte.
ByteType plain_byte_type(const std::string& name, size_t index, const unsigned char ranges[12], bool far_east) {
  if (!far_east) return ByteType::single_byte;
  size_t run = 0;
  for (size_t i = index - 1; i >= 1 && in_table(ranges, far_east, name[i - 1]); --i) ++run;
  if (run % 2 == 1) return ByteType::trail_byte;
  return in_table(ranges, far_east, name[index - 1]) ? ByteType::lead_byte : ByteType::single_byte;
}

size_t plain_last_delimiter(const char* delimiters, const std::string& name, const unsigned char ranges[12],
                            bool far_east) {
  long i = long(name.size());
  while (i > 0) {
    char c = name[i - 1];
    if (c != 0 && strchr(delimiters, c) != nullptr) {
      if (plain_byte_type(name, size_t(i), ranges, far_east) == ByteType::trail_byte) {
        i -= 2;
        continue;
      }
      return size_t(i);
    }
    --i;
  }
  return 0;
}

void check_found(const char* delimiters, const Text& name, size_t found) {
  if (found == 0) return;
  CHECK(found <= name.length());
  CHECK(name[found - 1] != 0 && strchr(delimiters, name[found - 1]) != nullptr);
  CHECK(byte_type(name, found) != ByteType::trail_byte);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeader) return 0;
  bool far_east = data[0] & 1;
  unsigned char ranges[12];
  memcpy(ranges, data + 1, sizeof ranges);
  set_lead_bytes(far_east, ranges);
  std::string plain(reinterpret_cast<const char*>(data) + kHeader, size - kHeader);
  Text name(plain.data(), plain.size());

  for (int c = 0; c < 256; ++c) CHECK(is_lead_byte(c) == in_table(ranges, far_east, c));
  for (size_t i = 1; i <= plain.size(); ++i)
    CHECK(byte_type(name, i) == plain_byte_type(plain, i, ranges, far_east));

  size_t slash = last_delimiter("\\:", name);
  size_t dot = last_delimiter(".\\:", name);
  check_found("\\:", name, slash);
  check_found(".\\:", name, dot);
  CHECK(slash == plain_last_delimiter("\\:", plain, ranges, far_east));
  CHECK(dot == plain_last_delimiter(".\\:", plain, ranges, far_east));

  std::string path = str(extract_file_path(name));
  CHECK(path == plain.substr(0, slash));

  std::string renamed = str(change_file_ext(name, ".ini"));
  CHECK(renamed.size() >= 4 && renamed.compare(renamed.size() - 4, 4, ".ini") == 0);
  std::string stem = renamed.substr(0, renamed.size() - 4);
  // Not always longer than the directory part: a delimiter-valued trail
  // byte takes its lead byte with it, and a lead byte may be a dot.
  CHECK(stem == (dot > 0 && plain[dot - 1] == '.' ? plain.substr(0, dot - 1) : plain));
  return 0;
}
