#!/usr/bin/env bash
# with_standin.sh COMMAND [ARGS...]
# Runs COMMAND with the stand-in web running on a free port, named to it by
# MOYAN_STANDIN_PORT; stops the stand-in afterwards, whatever COMMAND's outcome.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
stop() {
  python3 "$here/standin_web.py" stop --pid-file "$work/pid" --port-file "$work/port" >/dev/null || true
  rm -rf "$work"
}
trap stop EXIT
python3 "$here/standin_web.py" start --port-file "$work/port" --pid-file "$work/pid" \
  --lifetime "${MOYAN_STANDIN_LIFETIME:-3600}" >/dev/null
MOYAN_STANDIN_PORT=$(cat "$work/port")
export MOYAN_STANDIN_PORT
"$@"
