#!/bin/bash
# Prints the Windows name of the launcher to run: the 32-bit release build
# when this machine starts 32-bit programs under Wine (some kernels lack the
# support), else the 64-bit build of the same sources, and then exits with 1.
#   scripts/launcher32.sh PREFIX
set -u
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
probe=build/probe32.exe
printf 'int main(void) { return 42; }\n' | i686-w64-mingw32-gcc -x c - -o "$probe"
WINEPREFIX=$(realpath -m "$1") WINEDEBUG=-all "$wine" "$probe" >/dev/null 2>&1
if [ $? -eq 42 ]; then
  echo "Z:$(realpath build/windows-x86/launch.exe | tr / '\\')"
else
  echo "Z:$(realpath build/windows-x64/launch.exe | tr / '\\')"
  exit 1
fi
