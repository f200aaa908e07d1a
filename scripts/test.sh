#!/bin/bash
# Builds all three presets and runs every test: the native unit tests (with
# sanitizers), the check of the 32-bit release image, and the Windows-side and
# end-to-end tests under wine64 with a private prefix and X server.
# Ends with a line "N passed, M failed".
set -u
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

passed=0 failed=0
logs=build/test-logs
mkdir -p "$logs"

# ctest's summary line: "NN% tests passed, F tests failed out of T".
count() {
  local summary
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n1)
  if [ -z "$summary" ]; then
    echo "$2: no test summary (see $1)"
    failed=$((failed + 1))
    return
  fi
  local f t
  f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  t=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  passed=$((passed + t - f))
  failed=$((failed + f))
}

for preset in native windows-x86 windows-x64; do
  echo "== $preset: build"
  if ! { cmake --preset "$preset" >"$logs/$preset-configure.log" 2>&1 &&
         cmake --build --preset "$preset" >"$logs/$preset-build.log" 2>&1; }; then
    tail -n 30 "$logs/$preset-configure.log" "$logs/$preset-build.log" 2>/dev/null
    echo "$preset: build failed"
    failed=$((failed + 1))
    continue
  fi
  echo "== $preset: test"
  if [ "$preset" = windows-x64 ]; then
    scripts/with-wine.sh "build/$preset/wineprefix" ctest --preset "$preset" 2>&1 | tee "$logs/$preset-test.log"
  else
    ctest --preset "$preset" 2>&1 | tee "$logs/$preset-test.log"
  fi
  count "$logs/$preset-test.log" "$preset"
done

# Fuzzing: each target is one test, run for FUZZ_SECONDS seconds (default 30)
# after its stored corpus and crash reproducers (tests/fuzz/run-fuzz.sh).
echo "== fuzz: build"
if cmake --preset fuzz >"$logs/fuzz-configure.log" 2>&1 &&
   cmake --build --preset fuzz >"$logs/fuzz-build.log" 2>&1; then
  echo "== fuzz: test"
  ctest --preset fuzz 2>&1 | tee "$logs/fuzz-test.log"
  count "$logs/fuzz-test.log" fuzz
  cat build/fuzz/fuzz-runs/*/summary 2>/dev/null
else
  tail -n 30 "$logs/fuzz-configure.log" "$logs/fuzz-build.log" 2>/dev/null
  echo "fuzz: build failed"
  failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
