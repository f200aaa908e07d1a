#!/bin/bash
# Runs a command with a private Wine prefix, a wineserver kept running (a
# process start then costs milliseconds, not a second) and an X server of its
# own (message boxes need one), and stops all of them afterwards.
#   scripts/with-wine.sh PREFIX COMMAND [ARGS...]
# A COMMAND "wine" is Wine's 64-bit loader.
set -u
source "$(dirname "$0")/wine-env.sh"
prefix=$(realpath -m "$1"); shift
export WINEPREFIX=$prefix WINEDEBUG=-all
[ "$1" = wine ] && set -- "$wine" "${@:2}"

# A prefix made before wine32 was installed never gets its 32-bit half.
if [ -x "$wine_bin/wine" ] && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
  rm -rf "$prefix"
fi
if [ ! -f "$prefix/system.reg" ]; then
  echo "with-wine: creating the Wine prefix $prefix" >&2
  mkdir -p "$prefix"
  "$wine" wineboot -i >/dev/null 2>&1
  "$wineserver" -w
fi

Xvfb -displayfd 1 -nolisten tcp -screen 0 1024x768x24 >"$prefix.display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$prefix.display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$prefix.display")"

# A server left from an earlier run may hold another display: start afresh.
"$wineserver" -k 2>/dev/null
"$wineserver" -w
"$wineserver" -p
# Wine's own background processes start with the first program; start them
# here, so that they hold none of the command's output pipes open.
"$wine" cmd /c exit </dev/null >/dev/null 2>&1
"$@"
status=$?

"$wineserver" -k 2>/dev/null
"$wineserver" -w 2>/dev/null
kill "$xvfb_pid" 2>/dev/null
wait "$xvfb_pid" 2>/dev/null
exit $status
