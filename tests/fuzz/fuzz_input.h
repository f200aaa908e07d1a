// Turning fuzz input into the texts the rules take.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>

// A zero-terminated line in a buffer of exactly its size (up to the first
// zero of the input), so that AddressSanitizer reports any read past the zero.
class ExactLine {
 public:
  explicit ExactLine(const std::string& bytes) {
    size_t length = strnlen(bytes.data(), bytes.size());
    buffer_.reset(new char[length + 1]);
    memcpy(buffer_.get(), bytes.data(), length);
    buffer_[length] = 0;
    length_ = length;
  }
  const char* get() const { return buffer_.get(); }
  size_t length() const { return length_; }

 private:
  std::unique_ptr<char[]> buffer_;
  size_t length_;
};

// The input as a line. When its first byte is odd, the byte at a place of
// the rest (third byte) is repeated there: the second byte times, or, when
// bit 1 of the first byte is set too, 65,472 more times than that, so that
// the fuzzer reaches the 65,536-byte argument limit with short inputs.
// Otherwise the rest is the line.
inline std::string expanded_line(const uint8_t* data, size_t size) {
  if (size == 0) return std::string();
  if ((data[0] & 1) == 0 || size < 3) return std::string(reinterpret_cast<const char*>(data) + 1, size - 1);
  size_t count = data[1] + ((data[0] & 2) ? 65472 : 0);
  std::string line(reinterpret_cast<const char*>(data) + 3, size - 3);
  size_t place = line.empty() ? 0 : data[2] % line.size();
  char repeated = line.empty() ? 'x' : line[place];
  line.insert(place, count, repeated);
  return line;
}
