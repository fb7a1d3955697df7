#!/usr/bin/env bash
# run.sh: builds the program as it ships (32-bit) and starts it under the 32-bit Wine
# (scripts/wine32.sh; the tree is set up once per machine), with an empty library beside it.
# Where the machine can't run 32-bit Wine it says why and runs the 64-bit build under 64-bit
# Wine instead. With a display it runs until the user closes it. Without one it runs on a
# private Xvfb, saves a screenshot of the window to build/screenshot.png (or
# $MOYAN_SCREENSHOT), and ends.
#   MOYAN_BUILD_DIR   build folder (default build/win32, build/win64 without 32-bit Wine;
#                     build/demo with --demo)
#   MOYAN_WINEPREFIX  the 64-bit Wine's prefix (default build/wineprefix)
#
# run.sh --demo: the same, offline: starts the stand-in web on 127.0.0.1 and runs a build
# of the program whose search engine and source site are the stand-in, so a web search and
# a download work without the internet. The stand-in ends with the program.
#   MOYAN_DEMO_PORT   the stand-in's port (default 8931; the build is made for it)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"

if [ "${1:-}" = "--inside-session" ]; then
  # Runs with $DISPLAY set (and $WINE for the 64-bit Wine); MOYAN_START starts a program.
  cd "$MOYAN_BUILD_DIR"
  if [ "$MOYAN_START" = 64 ]; then
    start=("$WINE")
    # Without a window manager Wine draws the window's frame and caption itself when the
    # window is "unmanaged"; with one, the window manager does.
    key='HKCU\Software\Wine\AppDefaults\moyan.exe\X11 Driver'
    if [ "$MOYAN_DISPLAY_PRIVATE" = 0 ]; then
      "$WINE" reg delete "$key" /f </dev/null >/dev/null 2>&1 || true
    else
      "$WINE" reg add "$key" /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    fi
  else
    start=("$root/scripts/wine32.sh")
    [ "$MOYAN_DISPLAY_PRIVATE" = 0 ] && export MOYAN_WINE32_X11_MANAGED=1
  fi
  [ "$MOYAN_DISPLAY_PRIVATE" = 0 ] && exec "${start[@]}" moyan.exe
  "${start[@]}" moyan.exe >/dev/null 2>&1 &
  program=$!
  status=0
  if "$root/scripts/window-picture.sh" "$root/$MOYAN_SCREENSHOT" moyan.exe 120 "$program"; then
    echo "run.sh: screenshot saved to $MOYAN_SCREENSHOT"
  else
    echo "run.sh: the window did not appear" >&2
    status=1
  fi
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  exit $status
fi

demo=0
[ "${1:-}" = "--demo" ] && demo=1
./scripts/setup.sh
if ./scripts/wine32-tree.sh; then
  bits=32 preset=win32
else
  echo "run.sh: running the 64-bit build under 64-bit Wine instead of the program as it ships"
  bits=64 preset=win64
fi
if [ $demo = 1 ]; then
  build=${MOYAN_BUILD_DIR:-build/demo}
  shot=${MOYAN_SCREENSHOT:-build/demo-screenshot.png}
else
  build=${MOYAN_BUILD_DIR:-build/$preset}
  shot=${MOYAN_SCREENSHOT:-build/screenshot.png}
fi

if [ $demo = 1 ]; then
  port=${MOYAN_DEMO_PORT:-8931}
  # The addresses are built into the program: configured every time, so a changed port
  # gives a program that asks the stand-in on it.
  # shellcheck disable=SC2046
  cmake --preset "$preset" -B "$build" -Wno-dev -DMOYAN_TESTS=OFF -DMOYAN_BENCH=OFF \
    $(python3 tools/standin/standin_web.py config --port "$port") >/dev/null
elif [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset "$preset" -B "$build" -Wno-dev >/dev/null
fi
cmake --build "$build" -j2 --target moyan

if [ $demo = 1 ]; then
  standin=(python3 tools/standin/standin_web.py)
  stop_standin() {
    "${standin[@]}" stop --pid-file "$build/standin.pid" --port-file "$build/standin.port" >/dev/null
  }
  trap stop_standin EXIT
  if ! "${standin[@]}" start --port "$port" --port-file "$build/standin.port" \
      --pid-file "$build/standin.pid" >/dev/null; then
    echo "run.sh: the stand-in web could not start on port $port (in use? set MOYAN_DEMO_PORT)" >&2
    exit 1
  fi
  cat <<EOF
run.sh: the stand-in web answers on 127.0.0.1:$port for the search engine and the source site.
  On the search page (源码搜索) type a keyword: 批量 finds 250 entries on three result pages,
  模块 a handful; tick 网络搜索 and press 源码搜索. The caption tells how far the search is;
  rows appear in the list and in the library beside the program ($build/Code.edb).
  Double-click a row to download its package into $build.
  (Remove $build/Code.edb and Code.EDT to start again with an empty library.)
EOF
fi

# The library beside the program: an empty Code.edb with its Code.EDT.
for name in Code.edb Code.EDT; do
  for source in tools/codelib/empty/"$name"; do
    if [ -f "$source" ] && [ ! -f "$build/$name" ]; then cp "$source" "$build/$name"; fi
  done
done
if [ ! -f "$build/Code.edb" ]; then
  echo "run.sh: no empty library found; the program starts without Code.edb"
fi

mkdir -p "$(dirname "$shot")"
session=./scripts/x-display.sh
[ $bits = 64 ] && session=./scripts/wine-session.sh
MOYAN_START=$bits MOYAN_BUILD_DIR=$build MOYAN_SCREENSHOT=$shot "$session" "$0" --inside-session
