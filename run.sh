#!/usr/bin/env bash
# run.sh: builds the 64-bit program and starts it under Wine with an empty library beside it.
# With a display it runs until the user closes it. Without one it runs on a private Xvfb,
# saves a screenshot of the window to build/screenshot.png (or $MOYAN_SCREENSHOT), and ends.
#   MOYAN_BUILD_DIR   build folder (default build/win64)
#   MOYAN_WINEPREFIX  Wine prefix (default build/wineprefix)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"
build=${MOYAN_BUILD_DIR:-build/win64}
shot=${MOYAN_SCREENSHOT:-build/screenshot.png}

if [ "${1:-}" = "--inside-wine-session" ]; then
  # Runs inside wine-session.sh: $WINE and $DISPLAY are set.
  cd "$build"
  # Without a window manager Wine draws the window's frame and caption itself when the
  # window is "unmanaged"; with one, the window manager does.
  key='HKCU\Software\Wine\AppDefaults\moyan.exe\X11 Driver'
  if [ "${MOYAN_HEADLESS:-0}" = 0 ]; then
    "$WINE" reg delete "$key" /f </dev/null >/dev/null 2>&1 || true
    exec "$WINE" moyan.exe
  fi
  "$WINE" reg add "$key" /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
  "$WINE" moyan.exe >/dev/null 2>&1 &
  program=$!
  window=""
  for _ in $(seq 150); do
    # The program's largest top-level X window (its title may not be printable here).
    window=$(xwininfo -root -tree 2>/dev/null |
      awk '/\("moyan.exe" "moyan.exe"\)/ { split($0, g, /\)  /); split(g[2], s, /[x+]/);
           if (s[1] * s[2] > best) { best = s[1] * s[2]; id = $1 } } END { print id }')
    [ -n "$window" ] && break
    sleep 0.2
  done
  if [ -z "$window" ]; then
    echo "run.sh: the window did not appear" >&2
    kill "$program" 2>/dev/null || true
    exit 1
  fi
  sleep 2  # let it paint
  import -window "$window" "$root/$shot"
  echo "run.sh: screenshot saved to $shot"
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  exit 0
fi

./scripts/setup.sh
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset win64 -B "$build" -Wno-dev >/dev/null
fi
cmake --build "$build" -j2 --target moyan

# The library beside the program: an empty Code.edb with its Code.EDT.
for name in Code.edb Code.EDT; do
  for source in tools/codelib/empty/"$name"; do
    if [ -f "$source" ] && [ ! -f "$build/$name" ]; then cp "$source" "$build/$name"; fi
  done
done
if [ ! -f "$build/Code.edb" ]; then
  echo "run.sh: no empty library found; the program starts without Code.edb"
fi

headless=0
[ -z "${DISPLAY:-}" ] && headless=1
mkdir -p "$(dirname "$shot")"
MOYAN_HEADLESS=$headless MOYAN_BUILD_DIR=$build MOYAN_SCREENSHOT=$shot \
  ./scripts/wine-session.sh "$0" --inside-wine-session
