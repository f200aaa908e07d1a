#!/bin/bash
# Installs the Debian 12 packages that building and testing need, if missing.
set -eu
packages=(
  cmake ninja-build g++ googletest            # builds; GoogleTest's sources for the Windows test program
  g++-mingw-w64-i686 g++-mingw-w64-x86-64     # the Windows builds
  wine64 wine32:i386 xvfb                     # running them; 32-bit programs need wine32
  python3 python3-pefile                      # the release zip and its checks
  osslsigncode openssl                        # signing the release; a certificate for its check
  chromium                                    # launch pages opened in a real browser
  clang libclang-rt-14-dev                    # the fuzzer and the sanitizers
  locales                                     # the Japanese locale, for file names in code page 932
)
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
locale -a | grep -qx ja_JP.utf8 || localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
