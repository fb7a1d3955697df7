#!/usr/bin/env bash
# wine-session.sh COMMAND [ARGS...]
# Runs COMMAND with a private 64-bit Wine prefix in build/wineprefix, a running Wine
# server and an X display (scripts/x-display.sh: a private Xvfb when none is given), then
# ends them.
# Callers start Windows programs with "$WINE program.exe" (exported below).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[ -n "${MOYAN_DISPLAY_PRIVATE:-}" ] || exec "$root/scripts/x-display.sh" "$0" "$@"

export WINEPREFIX="${MOYAN_WINEPREFIX:-$root/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko install prompts, no menu entries, no browser started by ShellExecute.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=;winebrowser.exe=d"
# ANSI and OEM code page 936; LANG alone does not choose it. The glibc locale must exist
# (scripts/setup.sh generates it), or Wine hands Chinese arguments on as other bytes.
export LC_ALL=zh_CN.UTF-8
if ! locale -a 2>/dev/null | grep -qix 'zh_CN\.utf-\?8'; then
  echo "wine-session: the zh_CN.UTF-8 locale is missing: run scripts/setup.sh" >&2
fi
# Debian's /usr/bin/wine prefers the 32-bit loader, which this kernel cannot run.
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver

trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  echo "wine-session: creating the Wine prefix (once)"
  "$WINE" wineboot -i </dev/null >/dev/null 2>&1
  "$WINESERVER" -w
  regfile="$WINEPREFIX/moyan-settings.reg"
  "$root/scripts/wine-settings.sh" >"$regfile"
  "$WINE" regedit /S "$(printf 'Z:%s' "$regfile" | tr / '\\')" </dev/null >/dev/null 2>&1
  "$WINESERVER" -w
fi

# A persistent server saves about a second per test process. Boot once right away so
# Wine's background processes don't inherit the first test's output pipe.
"$WINESERVER" -p
"$WINE" wineboot </dev/null >/dev/null 2>&1

# Without a window manager (a private Xvfb) Wine must draw frames itself and not wait for a
# manager's answer when a window is hidden or destroyed (about 2 s each time otherwise).
x11_key='HKCU\Software\Wine\X11 Driver'
if [ "$MOYAN_DISPLAY_PRIVATE" = 1 ]; then
  "$WINE" reg add "$x11_key" /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
else
  "$WINE" reg delete "$x11_key" /v Managed /f </dev/null >/dev/null 2>&1 || true
fi

"$@"
