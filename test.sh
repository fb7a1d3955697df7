#!/usr/bin/env bash
# Builds every configuration and runs every test:
#   host with ASan+UBSan (every host test), host with TSan (threaded tests), a bounded fuzz run;
#   i686, the program as it ships: its checks and every Windows test under the 32-bit Wine;
#   x86_64: the Windows tests labelled x86_64 under 64-bit Wine; only what they need and the
#   Windows benchmarks are built there (the i686 build compiles every tool and test program).
# The 32-bit Wine's tree is set up (once per machine, scripts/wine32-tree.sh) while the builds
# run. Where the machine can't run it the i686 tests are reported as skipped, with the reason.
# Ends with each step's time and the count of steps passed, failed and skipped; exits non-zero
# when anything failed.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"

./scripts/setup.sh || exit 1
mkdir -p build
./scripts/wine32-tree.sh >build/wine32-tree.log 2>&1 &
tree_setup=$!

jobs=$(nproc)
passed=() failed=() skipped=() times=()
step() {  # step NAME COMMAND...: run, remember a failure, go on
  local name=$1 start=$SECONDS
  shift
  echo "==== $name (at $SECONDS s)"
  if "$@"; then passed+=("$name"); else failed+=("$name"); echo "==== $name FAILED"; fi
  times+=("$name $((SECONDS - start)) s")
}
configure_and_build() {  # configure_and_build PRESET [TARGET...]
  local preset=$1
  shift
  cmake --preset "$preset" -Wno-dev >"build/configure-$preset.log" 2>&1 || { cat "build/configure-$preset.log"; return 1; }
  rm -f "build/configure-$preset.log"
  cmake --build "build/$preset" -j "$jobs" ${1:+--target "$@"}
}

for preset in asan win32 fuzz; do
  step "build $preset" configure_and_build "$preset"
done
# The x86_64 suite (the boundary test, the program whose window the shipped one must show)
# and the benchmarks, which run under 64-bit Wine.
step "build win64" configure_and_build win64 moyan win32_boundary_test benchmarks
step "build tsan" configure_and_build tsan threads_tests

step "win32 program checks" ./scripts/check-win32.sh build/win32
step "fuzz" ./scripts/run-fuzzers.sh build/fuzz "${MOYAN_FUZZ_SECONDS:-15}"
step "tests asan" ctest --test-dir build/asan -j "$jobs" --output-on-failure --timeout 600
step "tests tsan" ctest --test-dir build/tsan -j "$jobs" -L threads --output-on-failure --no-tests=ignore
step "tests x86_64 (64-bit Wine)" ./scripts/wine-session.sh ctest --test-dir build/win64 -j "$jobs" --output-on-failure

echo "==== 32-bit Wine set-up (at $SECONDS s)"
wait_start=$SECONDS
tree_status=0
wait "$tree_setup" || tree_status=$?
cat build/wine32-tree.log
times+=("waiting for the 32-bit Wine set-up $((SECONDS - wait_start)) s")
name="tests i686 (32-bit Wine)"
case $tree_status in
  0) step "$name" ./scripts/wine-session.sh ctest --test-dir build/win32 -j "$jobs" --output-on-failure ;;
  2) skipped+=("$name"); echo "==== $name SKIPPED: $(sed -n 's/^wine32: skipped because //p' build/wine32-tree.log)" ;;
  *) failed+=("32-bit Wine set-up"); echo "==== 32-bit Wine set-up FAILED" ;;
esac

echo "==== times (whole run $SECONDS s)"
printf '  %s\n' "${times[@]}"
for name in "${skipped[@]}"; do echo "SKIPPED: $name"; done
for name in "${failed[@]}"; do echo "FAILED: $name"; done
echo "test.sh: ${#passed[@]} passed, ${#failed[@]} failed, ${#skipped[@]} skipped"
[ ${#failed[@]} -eq 0 ]
