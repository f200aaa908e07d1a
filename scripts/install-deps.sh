#!/bin/bash
# Installs the Debian 12 packages that are missing for running the launcher,
# or for building and testing everything, and any more packages named:
#   scripts/install-deps.sh run|test [PACKAGE...]
set -euo pipefail
run=(
  cmake ninja-build g++-mingw-w64-i686        # the 32-bit program
  wine64 wine32:i386                          # running it; 32-bit programs need wine32
  fonts-wine                                  # the text of its box (which needs an X display too)
)
test=(
  "${run[@]}" g++ googletest g++-mingw-w64-x86-64  # the Windows test program, with GoogleTest's sources
  xvfb                                        # an X display of the tests' own, for the boxes
  python3 python3-pefile                      # the release zip and its checks
  osslsigncode openssl                        # signing the release; a certificate for its check
  chromium                                    # launch pages opened in a real browser
  clang libclang-rt-14-dev                    # the fuzzer and the sanitizers
  locales                                     # the Japanese locale, for file names in code page 932
)
case ${1:-} in
  run) packages=("${run[@]}") ;;
  test) packages=("${test[@]}") ;;
  *) echo "usage: $0 run|test [PACKAGE...]" >&2; exit 2 ;;
esac
packages+=("${@:2}")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}" >&2
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
if [ "$1" = test ] && ! locale -a | grep -qx ja_JP.utf8; then localedef -i ja_JP -f UTF-8 ja_JP.UTF-8; fi
