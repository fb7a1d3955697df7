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
# Steps note their outcome here, so that a step run in the background counts as well.
results=build/test-steps.txt
: >"$results"
step() {  # step NAME COMMAND...: run, note the outcome and time, go on
  local name=$1 start=$SECONDS outcome=passed
  shift
  echo "==== $name (at $SECONDS s)"
  "$@" || { outcome=failed; echo "==== $name FAILED"; }
  printf '%s\t%s\t%s\n' "$outcome" "$name" "$((SECONDS - start)) s" >>"$results"
}
note() {  # note OUTCOME NAME TIME (OUTCOME "-": a time only, not a step)
  printf '%s\t%s\t%s\n' "$@" >>"$results"
}

# Every build is configured at the start, side by side: a configure keeps one core busy, and
# each build would otherwise wait for its own with the other core idle.
presets=(asan win32 fuzz win64 tsan)
declare -A configuring
for preset in "${presets[@]}"; do
  cmake --preset "$preset" -Wno-dev >"build/configure-$preset.log" 2>&1 &
  configuring[$preset]=$!
done
configure_and_build() {  # configure_and_build PRESET [TARGET...]
  local preset=$1
  shift
  wait "${configuring[$preset]}" || { cat "build/configure-$preset.log"; return 1; }
  rm -f "build/configure-$preset.log"
  cmake --build "build/$preset" -j "$jobs" ${1:+--target "$@"}
}

step "build asan" configure_and_build asan
step "build win32" configure_and_build win32
step "build fuzz" configure_and_build fuzz
# The x86_64 suite (the boundary test, the program whose window the shipped one must show)
# and the benchmarks, which run under 64-bit Wine.
step "build win64" configure_and_build win64 moyan win32_boundary_test benchmarks
step "build tsan" configure_and_build tsan threads_tests

step "win32 program checks" ./scripts/check-win32.sh build/win32
step "fuzz" ./scripts/run-fuzzers.sh build/fuzz "${MOYAN_FUZZ_SECONDS:-15}"

wait_start=$SECONDS
tree_status=0
wait "$tree_setup" || tree_status=$?
note - "waiting for the 32-bit Wine set-up" "$((SECONDS - wait_start)) s"

# The Windows suites run in the background beside the host suites: under the emulator the
# i686 suite is the longest step and keeps the cores busy only in part (process starts,
# windows waiting on each other). Both share one display and one 64-bit Wine prefix, so they
# run one after the other; their log follows the host suites'.
windows_suites() {
  step "tests x86_64 (64-bit Wine)" ./scripts/wine-session.sh ctest --test-dir build/win64 -j "$jobs" --output-on-failure
  cat build/wine32-tree.log
  local name="tests i686 (32-bit Wine)"
  case $tree_status in
    0) step "$name" ./scripts/wine-session.sh ctest --test-dir build/win32 -j "$jobs" --output-on-failure ;;
    2) note skipped "$name" "0 s"
       echo "==== $name SKIPPED: $(sed -n 's/^wine32: skipped because //p' build/wine32-tree.log)" ;;
    *) note failed "32-bit Wine set-up" "0 s"; echo "==== 32-bit Wine set-up FAILED" ;;
  esac
}
echo "==== the Windows suites start in the background (at $SECONDS s)"
# In a process group of their own, so that an interrupted run ends them too.
set -m
windows_suites >build/test-windows.log 2>&1 &
windows=$!
set +m
trap 'kill -TERM -- -"$windows" 2>/dev/null' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

step "tests asan" ctest --test-dir build/asan -j "$jobs" --output-on-failure --timeout 600
step "tests tsan" ctest --test-dir build/tsan -j "$jobs" -L threads --output-on-failure --no-tests=ignore

echo "==== waiting for the Windows suites (at $SECONDS s)"
wait "$windows"
trap - EXIT
cat build/test-windows.log

echo "==== times (whole run $SECONDS s)"
awk -F'\t' '{ print "  " $2 " " $3 }' "$results"
awk -F'\t' '$1 == "skipped" { print "SKIPPED: " $2 } $1 == "failed" { print "FAILED: " $2 }' "$results"
count() { grep -c "^$1"$'\t' "$results"; }
echo "test.sh: $(count passed) passed, $(count failed) failed, $(count skipped) skipped"
[ "$(count failed)" -eq 0 ]
