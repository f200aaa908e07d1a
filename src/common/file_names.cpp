// File names: the lead-byte table, the delimiter search, and what is built on them.
#include "common/file_names.h"

#include <string.h>

namespace {

bool far_east = false;
unsigned char lead_bytes[256 / 8];

}  // namespace

void set_lead_bytes(bool system_far_east, const unsigned char ranges[12]) {
  far_east = system_far_east;
  memset(lead_bytes, 0, sizeof lead_bytes);
  if (!far_east) return;
  for (int pair = 0; pair < 6; ++pair) {
    unsigned first = ranges[2 * pair];
    unsigned last = ranges[2 * pair + 1];
    if (first == 0 && last == 0) break;
    for (unsigned c = first; c <= last; ++c) lead_bytes[c / 8] |= 1u << (c % 8);
  }
}

bool is_lead_byte(unsigned char c) { return (lead_bytes[c / 8] >> (c % 8)) & 1; }

ByteType byte_type(const Text& text, size_t index) {
  if (!far_east) return ByteType::single_byte;
  size_t leads_before = 0;
  for (size_t i = index - 1; i >= 1 && is_lead_byte(text.byte(i - 1)); --i) ++leads_before;
  if (leads_before % 2 == 1) return ByteType::trail_byte;
  return is_lead_byte(text.byte(index - 1)) ? ByteType::lead_byte : ByteType::single_byte;
}

size_t last_delimiter(const char* delimiters, const Text& text) {
  size_t i = text.length();
  while (i > 0) {
    char c = text[i - 1];
    if (c != 0 && strchr(delimiters, c) != nullptr) {
      if (byte_type(text, i) != ByteType::trail_byte) return i;
      // A delimiter-valued trail byte goes together with its lead byte.
      i = i >= 2 ? i - 2 : 0;
      continue;
    }
    --i;
  }
  return 0;
}

Text change_file_ext(const Text& name, const char* extension) {
  size_t i = last_delimiter(".\\:", name);
  Text stem = (i > 0 && name[i - 1] == '.') ? name.left(i - 1) : name;
  return stem + extension;
}

Text extract_file_path(const Text& name) { return name.left(last_delimiter("\\:", name)); }

bool is_bare_name(const Text& name) {
  for (size_t i = 0; i < name.length(); ++i)
    if (name[i] == '\\' || name[i] == '/' || name[i] == ':') return false;
  return true;
}

Text full_name(const Text& folder, const Text& name) {
  bool full = name.starts_with("\\") || name.starts_with("/") || (name.length() >= 2 && name[1] == ':');
  return full ? name : folder + name;
}
