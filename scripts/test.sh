#!/bin/bash
# Builds the three presets and runs every test: the fuzzer over the rules
# (native), the release checks (windows-x86) and the Windows test program
# under Wine (windows-x64), whose rows start the 32-bit release program.
# Ends with a line "N passed, M failed".
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test || exit 1

passed=0 failed=0
logs=build/test-logs
mkdir -p "$logs"

# Adds up ctest's summary line: "NN% tests passed, F tests failed out of T".
count() {
  local summary
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n1)
  if [ -z "$summary" ]; then
    echo "no test summary in $1"
    failed=$((failed + 1))
    return
  fi
  [[ $summary =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]
  passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
  failed=$((failed + BASH_REMATCH[1]))
}

built=()
for preset in native windows-x86 windows-x64; do
  echo "== $preset: build"
  if cmake --preset "$preset" >"$logs/$preset-configure.log" 2>&1 &&
     cmake --build --preset "$preset" >"$logs/$preset-build.log" 2>&1; then
    built+=("$preset")
  else
    tail -n 30 "$logs/$preset-configure.log" "$logs/$preset-build.log"
    echo "$preset: build failed"
    failed=$((failed + 1))
  fi
done

for preset in "${built[@]}"; do
  echo "== $preset: test"
  if [ "$preset" = windows-x64 ]; then
    prefix=build/windows-x64/wineprefix
    if LAUNCH_EXE=$(scripts/launcher32.sh "$prefix"); then
      note="The rows started the 32-bit release program, build/windows-x86/launch.exe."
    else
      note="This machine cannot start 32-bit programs: the rows started the 64-bit build instead."
    fi
    export LAUNCH_EXE
    rm -rf "$prefix/drive_c/e2e"
    # The rows put back the handlers they change in the prefix: checked around the whole run.
    scripts/with-wine.sh "$prefix" bash -c 'source scripts/wine-env.sh
      handlers() { for class in http https mailto htmlfile txtfile; do "$wine" reg query "HKCR\\$class\\shell\\open" /s; done 2>&1; }
      before=$(handlers)
      ctest --preset windows-x64
      [ "$before" = "$(handlers)" ] && echo "handlers put back: passed" || echo "handlers put back: FAILED"' 2>&1 |
      tee "$logs/$preset-test.log"
    grep -q "^handlers put back: passed" "$logs/$preset-test.log" && passed=$((passed + 1)) || failed=$((failed + 1))
    echo "$note"
  else
    ctest --preset "$preset" 2>&1 | tee "$logs/$preset-test.log"
  fi
  count "$logs/$preset-test.log"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
