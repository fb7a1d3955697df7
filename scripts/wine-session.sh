#!/usr/bin/env bash
# wine-session.sh COMMAND [ARGS...]
# Runs COMMAND with a private 64-bit Wine prefix in build/wineprefix, a running Wine
# server and an X display (a private Xvfb when none is given), then ends them.
# Callers start Windows programs with "$WINE program.exe" (exported below).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

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

xvfb_pid=""
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] || [ "${MOYAN_PRIVATE_DISPLAY:-0}" = 1 ]; then
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  echo "wine-session: creating the Wine prefix (once)"
  "$WINE" wineboot -i </dev/null >/dev/null 2>&1
  "$WINESERVER" -w
  # A crash dialog would block an unattended run.
  "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    </dev/null >/dev/null 2>&1
  # Chinese fonts the program asks for by name are drawn with the installed CJK font.
  regfile="$WINEPREFIX/moyan-fonts.reg"
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for f in 宋体 新宋体 黑体 微软雅黑 SimSun NSimSun SimHei "Microsoft YaHei"; do
      printf '"%s"="WenQuanYi Micro Hei"\r\n' "$f"
    done
  } | iconv -f UTF-8 -t GBK >"$regfile"
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
if [ -n "$xvfb_pid" ]; then
  "$WINE" reg add "$x11_key" /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
else
  "$WINE" reg delete "$x11_key" /v Managed /f </dev/null >/dev/null 2>&1 || true
fi

"$@"
