// Command-line splitting and argument access: every argument is non-empty
// and at most 65,536 bytes, the scan never reads past the terminating zero,
// the count agrees with the arguments, and the split is the one of the plain
// token scan.
#include <stdlib.h>

#include "fuzz_input.h"
#include "launcher/arguments.h"
#include "reference_scans.h"

#define CHECK(condition) \
  if (!(condition)) abort()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ExactLine line(expanded_line(data, size));

  // Token by token: each stays inside the line, moves on, is within the limit
  // and is what the plain scan gives.
  size_t position = 0, reference_position = 0, tokens = 0;
  for (;;) {
    size_t before = position;
    Text token = next_argument(line.get(), position);
    std::string expected = reference::next_argument(line.get(), reference_position);
    CHECK(position <= line.length());
    CHECK(position == reference_position);
    CHECK(std::string(token.c_str(), token.length()) == expected);
    CHECK(token.length() <= kMaxArgumentLength);
    if (token.empty()) {
      CHECK(next_argument(line.get(), position).empty());  // the end stays the end
      break;
    }
    CHECK(position > before);
    ++tokens;
  }

  // The arguments after the program token.
  size_t count = count_arguments(line.get());
  CHECK(count + (tokens > 0 ? 1 : 0) == tokens);
  ArgumentCursor cursor(line.get());
  size_t walked = 0;
  Text first, last;
  while (!cursor.at_end()) {
    Text argument = cursor.next();
    CHECK(!argument.empty() && argument.length() <= kMaxArgumentLength);
    if (++walked == 1) first = argument;
    last = argument;
  }
  CHECK(walked == count);
  CHECK(cursor.next().empty());
  CHECK(argument_at(line.get(), 1) == first);
  CHECK(argument_at(line.get(), long(count)) == (count > 0 ? last : Text()));
  CHECK(argument_at(line.get(), long(count) + 1).empty());
  CHECK(argument_at(line.get(), -1).empty());
  return 0;
}
