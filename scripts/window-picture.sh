#!/usr/bin/env bash
# window-picture.sh OUT.png [PROGRAM [SECONDS [PID]]]
# Waits up to SECONDS (default 60) for the largest top-level window of the Windows program
# PROGRAM (default moyan.exe) on $DISPLAY, then until two pictures of it taken half a second
# apart are the same (it has finished painting), and saves the last one to OUT.png.
# Exits 1 when the window doesn't appear (or process PID, which runs the program, ends
# first) or never holds still.
set -euo pipefail
out=$1 program=${2:-moyan.exe} seconds=${3:-60} runner=${4:-}
deadline=$((SECONDS + seconds))

window=""
while [ -z "$window" ]; do
  # Wine names every X window of a program by the program's file name.
  window=$(xwininfo -root -tree 2>/dev/null |
    awk -v class="(\"$program\" \"$program\")" 'index($0, class) {
         split($0, g, /\)  /); split(g[2], s, /[x+]/);
         if (s[1] * s[2] > best) { best = s[1] * s[2]; id = $1 } } END { print id }')
  [ -n "$window" ] && break
  if [ $SECONDS -ge $deadline ]; then
    echo "window-picture: no window of $program appeared in $seconds s" >&2
    exit 1
  fi
  if [ -n "$runner" ] && ! kill -0 "$runner" 2>/dev/null; then
    echo "window-picture: $program ended without showing a window" >&2
    exit 1
  fi
  sleep 0.2
done

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
last=""
for i in $(seq 1000); do
  sleep 0.5
  import -silent -window "$window" "$dir/$i.png" 2>/dev/null || continue
  if [ -n "$last" ] && [ "$(compare -metric AE "$last" "$dir/$i.png" null: 2>&1)" = 0 ]; then
    mv "$dir/$i.png" "$out"
    exit 0
  fi
  last=$dir/$i.png
  [ $SECONDS -lt $deadline ] || break
done
echo "window-picture: the window of $program kept changing for $seconds s" >&2
exit 1
