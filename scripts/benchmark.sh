#!/bin/bash
# Times the launcher against the least possible launcher under wine64 (not run
# by CI; figures are noisy while the machine does other work):
#   scripts/benchmark.sh [ROUNDS]      (default 41)
# Builds the 64-bit launcher and recorder (preset windows-x64) and, from
# bench/, the floor programs and the timing driver, then runs the driver in a
# Wine prefix of its own. The table goes to stdout.
set -eu
cd "$(dirname "$0")/.."
rounds=${1:-41}
scripts/install-deps.sh
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target launch recorder >/dev/null

out=build/bench
mkdir -p "$out"
address='"http://example.test/bench"'
cxx=x86_64-w64-mingw32-g++
# The floor is built like the launcher: size-optimised, no C runtime start-up.
floor_options=(-Os -fno-exceptions -fno-rtti -nostartfiles -Wl,-e,floor_start -Wl,--gc-sections -static -s
               -mwindows -DBENCH_ADDRESS="$address")
$cxx "${floor_options[@]}" -DWITH_OWNER bench/floor.cpp -o "$out/floor.exe" -lshell32 -luser32 -lkernel32
$cxx "${floor_options[@]}" bench/floor.cpp -o "$out/floor_no_owner.exe" -lshell32 -luser32 -lkernel32
$cxx -O2 -static -DBENCH_ADDRESS="$address" bench/bench.cpp -o "$out/bench.exe"
cp build/windows-x64/launch.exe build/windows-x64/recorder.exe "$out/"

scripts/with-wine.sh "$out/wineprefix" /usr/lib/wine/wine64 "$out/bench.exe" "Z:$(realpath "$out" | tr / '\\')" "$rounds"
