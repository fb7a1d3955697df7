#!/usr/bin/env bash
# run-fuzzers.sh BUILD_DIR SECONDS: runs every fuzz target of the build for SECONDS each,
# starting from its seed corpus in fuzz/corpus/<target> when there is one. A run that
# grows past 512 MB, or asks for more than that in one allocation, fails: no input may
# make a parser take memory its bytes can't justify.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$1 seconds=$2
shopt -s nullglob
targets=("$build"/fuzz/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets built"; exit 0; }
for t in "${targets[@]}"; do
  [ -x "$t" ] || continue
  name=$(basename "$t")
  work="$build/fuzz-corpus/$name"
  mkdir -p "$work"
  seeds=()
  [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
  echo "fuzz: $name for ${seconds}s"
  "$t" -max_total_time="$seconds" -print_final_stats=0 -rss_limit_mb=512 \
    -timeout=10 "$work" "${seeds[@]}" >"$build/$name.log" 2>&1 || { tail -n 60 "$build/$name.log"; exit 1; }
done
