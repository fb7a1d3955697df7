#!/usr/bin/env bash
# shipped_window_test.sh I686_PROGRAM X86_64_PROGRAM LIBRARY_DIR
# The shipped 32-bit program, started as a user starts it from a folder of its own (with the
# empty library of LIBRARY_DIR beside it) under the 32-bit Wine, shows the same window, pixel
# for pixel, as the 64-bit build of the same sources under 64-bit Wine; and it wrote its skin
# library beside itself. Runs inside scripts/wine-session.sh (the display, the 64-bit Wine);
# exits 77 (skipped) without the 64-bit program or outside a session.
set -euo pipefail
i686=$1 x86_64=$2 library=$3
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
if [ ! -f "$x86_64" ]; then
  echo "skipped: no 64-bit program at $x86_64 to compare with (build the win64 preset)"
  exit 77
fi
if [ -z "${WINE:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "skipped: run inside scripts/wine-session.sh"
  exit 77
fi

dir=$(mktemp -d)
runner=""
cleanup() {
  [ -n "$runner" ] && kill "$runner" 2>/dev/null && wait "$runner" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT

picture() {  # picture NAME PROGRAM RUNNER...: the program's window from a folder of its own
  local name=$1 program=$2
  shift 2
  mkdir "$dir/$name"
  cp "$program" "$dir/$name/moyan.exe"
  cp "$library/Code.edb" "$library/Code.EDT" "$dir/$name/"
  (cd "$dir/$name" && exec "$@" moyan.exe >/dev/null 2>&1) &
  runner=$!
  "$root/scripts/window-picture.sh" "$dir/$name.png" moyan.exe 120 "$runner" || return 1
  kill "$runner"
  wait "$runner" 2>/dev/null || true
  runner=""
  [ -f "$dir/$name/SkinH_EL.dll" ] || { echo "FAIL: $name wrote no SkinH_EL.dll beside itself"; return 1; }
}

picture i686 "$i686" "$root/scripts/wine32.sh" || { echo "FAIL: no picture of the i686 window"; exit 1; }
picture x86_64 "$x86_64" "$WINE" || { echo "FAIL: no picture of the x86_64 window"; exit 1; }
differing=$(compare -metric AE "$dir/i686.png" "$dir/x86_64.png" "$dir/difference.png" 2>&1) || true
if [ "$differing" != 0 ]; then
  keep=$PWD/shipped_window
  mkdir -p "$keep"
  cp "$dir"/*.png "$keep/"
  echo "FAIL: the i686 window differs from the x86_64 one in $differing pixels (pictures in $keep)"
  exit 1
fi
echo "the shipped i686 window matches the x86_64 one pixel for pixel ($(identify -format '%wx%h' "$dir/i686.png"))"
