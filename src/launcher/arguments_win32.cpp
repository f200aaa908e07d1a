// The process's own command line and program path.
#include <windows.h>

#include "launcher/arguments.h"

size_t argument_count() { return count_arguments(GetCommandLineA()); }

Text argument(long n) {
  if (n != 0) return argument_at(GetCommandLineA(), n);
  char path[261];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  // A path that fills the buffer is cut there (Windows XP leaves it unterminated).
  return Text(path, length < sizeof path ? length : sizeof path);
}
