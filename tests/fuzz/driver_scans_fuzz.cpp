// The driver's one-pass scans ("WINDOW.OPEN" groups, "/error=") give exactly
// what the plain per-argument scans give, argument by argument.
#include <stdlib.h>

#include <vector>

#include "fuzz_input.h"
#include "launcher/arguments.h"
#include "launcher/launch_rules.h"
#include "reference_scans.h"
#include "test_text.h"

#define CHECK(condition) \
  if (!(condition)) abort()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ExactLine line(std::string(reinterpret_cast<const char*>(data), size));

  std::vector<reference::Group> groups;
  Text target = apply_window_open_groups(line.get(), "original", [&](const Text& a, const Text& n, const Text& f) {
    groups.push_back({str(a), str(n), str(f)});
    return Text(std::to_string(groups.size()).c_str());
  });
  std::vector<reference::Group> expected = reference::window_open_groups(line.get());
  CHECK(groups == expected);
  CHECK(str(target) == (expected.empty() ? "original" : std::to_string(expected.size())));
  CHECK(str(error_text_from_arguments(line.get())) == reference::error_text(line.get()));

  size_t count = reference::argument_count(line.get());
  CHECK(count_arguments(line.get()) == count);
  ArgumentCursor cursor(line.get());
  for (size_t n = 1; n <= count; ++n) CHECK(str(cursor.next()) == reference::argument(line.get(), long(n)));
  CHECK(cursor.at_end());
  return 0;
}
