#!/bin/bash
# Installs the Debian 12 packages that building and testing need, if missing.
set -eu
packages=(
  cmake ninja-build g++ googletest            # native build and GoogleTest sources
  g++-mingw-w64-i686 g++-mingw-w64-x86-64     # the Windows builds
  wine64 xvfb                                 # running the Windows build
  python3                                     # image and release zip checks, the zip itself
  chromium                                    # launch pages opened in a real browser
  clang libclang-rt-14-dev                    # fuzzing: libFuzzer and the sanitizers
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "install-deps: installing ${missing[*]}" >&2
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
