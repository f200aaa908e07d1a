#!/bin/bash
# Checks the built 32-bit program file: a GUI-subsystem i386 image that needs
# nothing beyond the DLLs every Windows has.
#   check-image.sh OBJDUMP launch.exe
set -u
objdump=$1 image=$2
headers=$("$objdump" -p "$image") || { echo "cannot read $image"; exit 1; }
failures=0
expect() {  # expect DESCRIPTION COMMAND...
  if ! "${@:2}"; then echo "FAILED: $1"; failures=$((failures + 1)); fi
}
has() { grep -qE "$1" <<<"$headers"; }

expect "i386 machine" grep -q "file format pei-i386" < <("$objdump" -f "$image")
expect "PE32 image" has $'^Magic\t+010b'
expect "GUI subsystem" has $'^Subsystem\t+00000002'
imports=$(grep -oP 'DLL Name: \K\S+' <<<"$headers" | tr a-z A-Z | sort | tr '\n' ' ')
expect "imports only KERNEL32, MSVCRT, SHELL32, USER32 (found: $imports)" \
  test "$imports" = "KERNEL32.DLL MSVCRT.DLL SHELL32.DLL USER32.DLL "
[ $failures -eq 0 ] && echo "image checks passed"
exit $failures
