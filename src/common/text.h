// Text: a counted string of 8-bit bytes: UTF-8 on the Windows NT family,
// the ANSI code page's bytes on Windows 95, 98 and Me (see system_win32.h).
// It may hold any byte, zero included, and is copied by value. Its storage
// always carries a terminating zero, so c_str() can be handed to the system as
// it is; an embedded zero then ends the text for the system.
//
// It stands in for std::string to keep the program free of the C++ runtime's
// exception machinery: memory comes from malloc (the process heap in the
// program), and running out of it ends the process through out_of_memory().
#pragma once

#include <stddef.h>

// Never returns. Each build supplies its own (the program exits with code 0).
[[noreturn]] void out_of_memory();

class Text {
 public:
  Text() noexcept;
  Text(const char* zero_terminated);  // NOLINT: implicit by design, like a literal
  Text(const char* bytes, size_t length);
  Text(const Text& other);
  Text(Text&& other) noexcept;
  Text& operator=(const Text& other);
  Text& operator=(Text&& other) noexcept;
  ~Text();

  size_t length() const { return length_; }
  bool empty() const { return length_ == 0; }
  const char* c_str() const { return data_; }
  char operator[](size_t index) const { return data_[index]; }  // 0-based
  unsigned char byte(size_t index) const { return static_cast<unsigned char>(data_[index]); }
  void set(size_t index, char c) { data_[index] = c; }  // index below length()

  Text& operator+=(char c);
  Text& operator+=(const Text& other) { return append(other.data_, other.length_); }
  Text& append(const char* bytes, size_t count);
  void reserve(size_t capacity);

  // The first count bytes (all of them when count is larger).
  Text left(size_t count) const;
  // The bytes from 0-based start to the end (empty when start is past it).
  Text from(size_t start) const;
  bool starts_with(const char* prefix) const;
  bool ends_with(const char* suffix) const;
  // 0-based index of the first occurrence of needle at or after start, or npos.
  size_t find(const char* needle, size_t start = 0) const;

  static constexpr size_t npos = static_cast<size_t>(-1);

 private:
  void grow_to(size_t capacity, const char* extra, size_t count);

  char* data_;
  size_t length_;
  size_t capacity_;  // 0 while data_ points at the shared empty text
};

Text operator+(const Text& a, const Text& b);
bool operator==(const Text& a, const Text& b);
inline bool operator!=(const Text& a, const Text& b) { return !(a == b); }
// ASCII letters upper-cased; every other byte unchanged.
Text upper_case(const Text& text);
