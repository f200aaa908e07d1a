#!/bin/bash
# Builds the launcher and starts it under Wine with the arguments given:
#   scripts/run.sh https://example.com/
# It starts the 32-bit release program, or the 64-bit build of the same
# sources where this machine cannot run 32-bit programs. Under Wine an address
# opens in the host's browser through Wine's browser bridge; message boxes
# need an X display.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in windows-x86 windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target launch >/dev/null
done
export WINEPREFIX=${WINEPREFIX:-$PWD/build/run-prefix} WINEDEBUG=-all
launcher=$(scripts/launcher32.sh "$WINEPREFIX") ||
  echo "run: this machine cannot start 32-bit programs; starting the 64-bit build" >&2
exec /usr/lib/wine/wine64 "$launcher" "$@"
