#!/usr/bin/env bash
# x-display.sh COMMAND [ARGS...]
# Runs COMMAND with an X display: the one in $DISPLAY, or else (or with
# MOYAN_PRIVATE_DISPLAY=1) a private Xvfb that ends with COMMAND. COMMAND finds
# MOYAN_DISPLAY_PRIVATE=1 when the display is a private one, which has no window manager.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && [ "${MOYAN_PRIVATE_DISPLAY:-0}" != 1 ]; then
  export MOYAN_DISPLAY_PRIVATE=0
  exec "$@"
fi
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" >/dev/null 2>&1 || true' EXIT
for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$fdfile")" MOYAN_DISPLAY_PRIVATE=1 MOYAN_PRIVATE_DISPLAY=0
rm -f "$fdfile"
status=0
"$@" || status=$?
exit $status
