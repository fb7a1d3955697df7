#!/usr/bin/env bash
# run-fuzzers.sh BUILD_DIR SECONDS: runs every fuzz target of the build for SECONDS each,
# starting from its seed corpus in fuzz/corpus/<target> when there is one, as many at once
# as there are cores (each target is one process on one core). A run that grows past
# 512 MB, or asks for more than that in one allocation, fails: no input may make a parser
# take memory its bytes can't justify. An input that fails a target is kept in
# BUILD_DIR/fuzz-artifacts (never in the folder the run started from); to keep it as a
# regression seed, copy it into fuzz/corpus/<target>.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$1 seconds=$2
at_once=$(nproc)
shopt -s nullglob
targets=()
for t in "$build"/fuzz/fuzz_*; do [ -x "$t" ] && targets+=("$t"); done
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets built"; exit 0; }

run_one() {  # run_one TARGET: its log goes to BUILD_DIR/<name>.log
  local t=$1 name work artifacts seeds=()
  name=$(basename "$t")
  work="$build/fuzz-corpus/$name"
  artifacts="$build/fuzz-artifacts"
  mkdir -p "$work" "$artifacts"
  [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
  "$t" -max_total_time="$seconds" -print_final_stats=0 -rss_limit_mb=512 \
    -timeout=10 -artifact_prefix="$artifacts/$name-" "$work" "${seeds[@]}" \
    >"$build/$name.log" 2>&1
}

failed=()
for ((i = 0; i < ${#targets[@]}; i += at_once)); do
  batch=("${targets[@]:i:at_once}")
  pids=()
  for t in "${batch[@]}"; do
    echo "fuzz: $(basename "$t") for ${seconds}s"
    run_one "$t" &
    pids+=($!)
  done
  for j in "${!pids[@]}"; do
    wait "${pids[j]}" || failed+=("${batch[j]}")
  done
done
for t in "${failed[@]}"; do
  echo "fuzz: $(basename "$t") failed:"
  tail -n 60 "$build/$(basename "$t").log"
done
[ ${#failed[@]} -eq 0 ]
