#!/bin/bash
# Builds the launcher and starts it under Wine with the arguments given:
#   scripts/run.sh https://example.com/
# It installs and builds only what the 32-bit release program needs, and
# starts that; where this machine cannot run 32-bit programs, the 64-bit
# build of the same sources. Under Wine an address opens in the host's
# browser through Wine's browser bridge; a message box needs an X display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 --target launch >/dev/null
source scripts/wine-env.sh
export WINEPREFIX=${WINEPREFIX:-$PWD/build/run-prefix} WINEDEBUG=-all
if ! launcher=$(scripts/launcher32.sh "$WINEPREFIX"); then
  echo "run: this machine cannot start 32-bit programs; starting the 64-bit build" >&2
  scripts/install-deps.sh run g++-mingw-w64-x86-64
  cmake --preset windows-x64 -DLAUNCH_TESTS=OFF >/dev/null
  cmake --build --preset windows-x64 --target launch >/dev/null
fi
[ -n "${DISPLAY:-}" ] || echo "run: no X display, so a message box cannot show" >&2
exec "$wine" "$launcher" "$@"
