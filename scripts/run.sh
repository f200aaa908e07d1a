#!/bin/bash
# Builds the launcher and starts it under Wine with the arguments given:
#   scripts/run.sh http://example.com/
# This machine cannot run the 32-bit release build, so the same sources are
# run as a 64-bit program. Under Wine an address opens in the host's browser
# through Wine's browser bridge; message boxes need an X display.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in windows-x86 windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target launch >/dev/null
done
export WINEPREFIX=${WINEPREFIX:-$PWD/build/run-prefix} WINEDEBUG=-all
exec /usr/lib/wine/wine64 build/windows-x64/launch.exe "$@"
