# Sourced by the scripts that start Wine: where Debian keeps its programs
# (it puts no wine64 on PATH), and the 64-bit loader, which hands 32-bit
# programs to the 32-bit one.
wine_bin=${WINE_BIN:-/usr/lib/wine}
wine=$wine_bin/wine64
wineserver=$wine_bin/wineserver
