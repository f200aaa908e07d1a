// Text: a counted byte string on the process heap, with no C++ runtime.
#include "common/text.h"

#include <stdlib.h>
#include <string.h>

namespace {

char empty_text[1] = {0};

char* allocate(size_t capacity) {
  void* memory = capacity + 1 == 0 ? nullptr : malloc(capacity + 1);
  if (memory == nullptr) out_of_memory();
  return static_cast<char*>(memory);
}

}  // namespace

Text::Text() noexcept : data_(empty_text), length_(0), capacity_(0) {}

Text::Text(const char* zero_terminated) : Text(zero_terminated, strlen(zero_terminated)) {}

Text::Text(const char* bytes, size_t length) : Text() { append(bytes, length); }

Text::Text(const Text& other) : Text(other.data_, other.length_) {}

Text::Text(Text&& other) noexcept
    : data_(other.data_), length_(other.length_), capacity_(other.capacity_) {
  other.data_ = empty_text;
  other.length_ = 0;
  other.capacity_ = 0;
}

Text& Text::operator=(const Text& other) {
  if (this != &other) {
    length_ = 0;
    append(other.data_, other.length_);
  }
  return *this;
}

Text& Text::operator=(Text&& other) noexcept {
  if (this != &other) {
    if (capacity_ != 0) free(data_);
    data_ = other.data_;
    length_ = other.length_;
    capacity_ = other.capacity_;
    other.data_ = empty_text;
    other.length_ = 0;
    other.capacity_ = 0;
  }
  return *this;
}

Text::~Text() {
  if (capacity_ != 0) free(data_);
}

void Text::reserve(size_t capacity) {
  if (capacity > capacity_) grow_to(capacity, nullptr, 0);
}

// Moves the text into a fresh buffer of the given capacity and appends the
// extra bytes there, before the old buffer (which they may lie in) is freed.
void Text::grow_to(size_t capacity, const char* extra, size_t count) {
  char* grown = allocate(capacity);
  memcpy(grown, data_, length_);
  if (count != 0) memcpy(grown + length_, extra, count);
  if (capacity_ != 0) free(data_);
  data_ = grown;
  capacity_ = capacity;
  length_ += count;
  data_[length_] = 0;
}

Text& Text::append(const char* bytes, size_t count) {
  if (count == 0) return *this;
  size_t needed = length_ + count;
  if (needed < length_) out_of_memory();  // the size itself overflowed
  if (needed > capacity_) {
    size_t doubled = capacity_ * 2;
    grow_to(needed > doubled ? needed : doubled, bytes, count);
  } else {
    memmove(data_ + length_, bytes, count);  // bytes may lie inside this text
    length_ = needed;
    data_[length_] = 0;
  }
  return *this;
}

Text& Text::operator+=(char c) { return append(&c, 1); }

Text Text::left(size_t count) const { return Text(data_, count < length_ ? count : length_); }

Text Text::from(size_t start) const {
  return start < length_ ? Text(data_ + start, length_ - start) : Text();
}

bool Text::starts_with(const char* prefix) const {
  size_t count = strlen(prefix);
  return count <= length_ && memcmp(data_, prefix, count) == 0;
}

bool Text::ends_with(const char* suffix) const {
  size_t count = strlen(suffix);
  return count <= length_ && memcmp(data_ + length_ - count, suffix, count) == 0;
}

size_t Text::find(const char* needle, size_t start) const {
  size_t count = strlen(needle);
  if (count > length_) return npos;
  for (size_t i = start; i + count <= length_; ++i) {
    if (memcmp(data_ + i, needle, count) == 0) return i;
  }
  return npos;
}

Text operator+(const Text& a, const Text& b) {
  Text joined;
  joined.reserve(a.length() + b.length());
  joined += a;
  joined += b;
  return joined;
}

bool operator==(const Text& a, const Text& b) {
  return a.length() == b.length() && memcmp(a.c_str(), b.c_str(), a.length()) == 0;
}

Text upper_case(const Text& text) {
  Text result;
  result.reserve(text.length());
  for (size_t i = 0; i < text.length(); ++i) {
    char c = text[i];
    result += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
  }
  return result;
}
