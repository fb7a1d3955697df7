#!/usr/bin/env bash
# Builds every configuration and runs every test:
#   host (plain), host with ASan+UBSan, host with TSan (threaded tests), win64 under Wine,
#   the win32 program's checks, and a bounded fuzz run.
# Ends with CTest's summary of the host run; exits non-zero when anything failed.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"

./scripts/setup.sh || exit 1

jobs=$(nproc)
failed=()
step() {  # step NAME COMMAND...: run, remember a failure, go on
  local name=$1; shift
  echo "==== $name (at $SECONDS s)"
  if ! "$@"; then failed+=("$name"); echo "==== $name FAILED"; fi
}
configure_and_build() {
  cmake --preset "$1" -Wno-dev >"build/configure-$1.log" 2>&1 || { cat "build/configure-$1.log"; return 1; }
  rm -f "build/configure-$1.log"
  cmake --build "build/$1" -j "$jobs" ${2:+--target "$2"}
}
mkdir -p build

for preset in host asan win64 win32 fuzz; do
  step "build $preset" configure_and_build "$preset"
done
step "build tsan" configure_and_build tsan threads_tests

step "win32 program checks" ./scripts/check-win32.sh build/win32
step "fuzz" ./scripts/run-fuzzers.sh build/fuzz "${MOYAN_FUZZ_SECONDS:-15}"
step "tests asan" ctest --test-dir build/asan -j "$jobs" --output-on-failure --timeout 600
step "tests tsan" ctest --test-dir build/tsan -j "$jobs" -L threads --output-on-failure --no-tests=ignore
step "tests win64 (Wine)" ./scripts/wine-session.sh ctest --test-dir build/win64 -j "$jobs" --output-on-failure
step "tests host" ctest --test-dir build/host -j "$jobs" --output-on-failure

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
