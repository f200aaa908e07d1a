#!/bin/bash
# Times the launcher against the least possible launcher under Wine (not run
# by CI; figures are noisy while the machine does other work):
#   scripts/benchmark.sh [ROUNDS]      (default 41)
# Times the 32-bit release program against floor programs built the same way
# (the 64-bit build and 64-bit floors where this machine cannot run 32-bit
# programs); the recorder stands in for the browser. The table goes to stdout.
set -eu
cd "$(dirname "$0")/.."
rounds=${1:-41}
scripts/install-deps.sh test
cmake --preset windows-x86 >/dev/null && cmake --build --preset windows-x86 --target launch >/dev/null
cmake --preset windows-x64 >/dev/null && cmake --build --preset windows-x64 --target launch recorder >/dev/null

out=build/bench
mkdir -p "$out"
if launcher=$(scripts/launcher32.sh "$out/wineprefix"); then
  cxx="i686-w64-mingw32-g++ -march=i486" entry=_floor_start build=build/windows-x86
else
  cxx=x86_64-w64-mingw32-g++ entry=floor_start build=build/windows-x64
fi
address='"http://example.test/bench"'
# The floor is built like the launcher: size-optimised, no C runtime start-up.
floor_options=(-Os -fno-exceptions -fno-rtti -nostartfiles -Wl,-e,$entry -Wl,--gc-sections -static -s
               -mwindows -DBENCH_ADDRESS="$address")
$cxx "${floor_options[@]}" -DWITH_OWNER bench/floor.cpp -o "$out/floor.exe" -lshell32 -lole32 -luser32 -lkernel32
$cxx "${floor_options[@]}" bench/floor.cpp -o "$out/floor_no_owner.exe" -lshell32 -lole32 -luser32 -lkernel32
x86_64-w64-mingw32-g++ -O2 -static -DBENCH_ADDRESS="$address" bench/bench.cpp -o "$out/bench.exe"
cp "$build/launch.exe" build/windows-x64/recorder.exe "$out/"
echo "Programs from $build ($launcher)"
scripts/with-wine.sh "$out/wineprefix" wine "$out/bench.exe" "Z:$(realpath "$out" | tr / '\\')" "$rounds"
