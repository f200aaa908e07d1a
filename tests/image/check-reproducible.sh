#!/bin/bash
# Builds the release a second time, from a copy of the sources at another path
# into another build folder, later, and compares the program and the release
# zip byte for byte with those of the build under test.
#   check-reproducible.sh SOURCE_DIR BUILD_DIR GENERATOR TOOLCHAIN_FILE BUILD_TYPE
set -eu
source=$1 build=$2 generator=$3 toolchain=$4 build_type=$5
elsewhere=$build/reproduce/a/copy/somewhere/else
rm -rf "$build/reproduce"
mkdir -p "$elsewhere"
cp -r "$source"/{CMakeLists.txt,README.md,cmake,resources,src,tests} "$elsewhere/"
cmake --build "$build" --target dist >/dev/null
cmake -S "$elsewhere" -B "$elsewhere/build" -G "$generator" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
cmake --build "$elsewhere/build" --target dist >/dev/null
status=0
for file in launch.exe dist/*.zip dist/*.zip.sha256; do
  if cmp "$build"/$file "$elsewhere/build"/$file; then
    echo "same bytes: $file"
  else
    status=1
  fi
done
rm -rf "$build/reproduce"
exit $status
