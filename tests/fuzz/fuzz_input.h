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

// The input as a line. When its first byte is odd, the next two bytes give a
// count (times two, up to 131,070) and the fourth a place, and the byte at
// that place of the rest is repeated that often: the fuzzer then reaches the
// 65,536-byte argument limit with short inputs. Otherwise the rest is the line.
inline std::string expanded_line(const uint8_t* data, size_t size) {
  if (size == 0) return std::string();
  const char* rest = reinterpret_cast<const char*>(data) + 1;
  if ((data[0] & 1) == 0 || size < 4) return std::string(rest, size - 1);
  size_t count = 2 * (size_t(data[1]) | size_t(data[2]) << 8);
  std::string line(rest + 3, size - 4);
  size_t place = line.empty() ? 0 : data[3] % line.size();
  char repeated = line.empty() ? 'x' : line[place];
  line.insert(place, count, repeated);
  return line;
}
