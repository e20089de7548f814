#!/usr/bin/env bash
# Builds every tree and runs every test of the 7741 Gaming Mouse suite.
#
#   ./test.sh             everything (installs what is missing on Debian 12)
#   FUZZ_SECONDS=10 ./test.sh   shorter fuzzing run
#
# Trees (under build/): native (g++: core, unit tests, gmconfig), win (mingw-w64
# cross build; unit, Wine and end-to-end tests under Wine and Xvfb), asan
# (native unit tests under AddressSanitizer and UBSan), fuzz (clang libFuzzer).
set -u
cd "$(dirname "$0")"
ROOT=$PWD
FUZZ_SECONDS=${FUZZ_SECONDS:-60}
JOBS=${JOBS:-$(nproc)}

. tools/setup/ensure-deps.sh
. tools/setup/x-session.sh

gm_ensure_deps || { echo "cannot install the build dependencies" >&2; exit 1; }
export PYTHON=/usr/bin/python3

failures=()
timings=()
step() {  # step NAME COMMAND...
  local name=$1 started=$SECONDS
  shift
  echo "== $name ($(date +%H:%M:%S))"
  if ! "$@"; then
    failures+=("$name")
    echo "!! $name failed"
  fi
  # Each step's time, so that a run near its limit shows where the time went.
  timings+=("$(printf '%5ds  %s' $((SECONDS - started)) "$name")")
}

configure() {  # configure DIR [cmake args...]
  local dir=$1
  shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null || return 1
  fi
  cmake --build "$dir" -j "$JOBS"
}

cleanup() {
  gm_stop_wineserver "$ROOT/build/win/wineprefix"
  gm_stop_xvfb
}
trap cleanup EXIT

step "native build" configure build/native
step "native tests" ctest --test-dir build/native --output-on-failure -j "$JOBS"

step "sanitizer build" configure build/asan -DGM_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
step "sanitizer tests" env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$JOBS" -LE bench

step "windows build" configure build/win -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake"
gm_start_xvfb || failures+=("xvfb")
# Wine's first boot of the prefix, once per build tree.
if [ ! -f build/win/wineprefix/system.reg ]; then
  echo "== first boot of the Wine prefix"
  WINEPREFIX="$ROOT/build/win/wineprefix" WINEDEBUG=-all wineboot -i >/dev/null 2>&1
  WINEPREFIX="$ROOT/build/win/wineprefix" wineserver -w
fi
step "windows tests (Wine)" ctest --test-dir build/win --output-on-failure -j 1 -LE "bench|e2e"
# Each end-to-end suite starts its own Xvfb and Wine prefix, so two run side by side.
step "end-to-end tests (Wine)" ctest --test-dir build/win --output-on-failure -j "${E2E_JOBS:-2}" -L e2e

step "fuzz build" configure build/fuzz -DGM_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
step "fuzzing (${FUZZ_SECONDS}s)" tests/fuzz/run-fuzzers.sh build/fuzz "$FUZZ_SECONDS"

echo "== time per step"
printf '%s\n' "${timings[@]}"
if [ ${#failures[@]} -ne 0 ]; then
  echo "FAILED: ${failures[*]}"
  exit 1
fi
echo "ALL TESTS PASSED"
