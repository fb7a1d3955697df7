#!/usr/bin/env bash
# wine32.sh PROGRAM.exe [ARGS...]
# wine32.sh COMMAND [ARGS...]
# Runs a 32-bit Windows program under the 32-bit Wine of the tree that scripts/wine32-tree.sh
# sets up, or runs COMMAND inside that tree, where "$WINE" starts 32-bit programs; every
# program of one call shares one Wine server. The program's exit code, standard output and
# error are the call's; its windows go to $DISPLAY. Exits 77 when the tree is not set up.
#
# The kernel here runs no 32-bit code, so the tree's i386 programs run under qemu-i386. The
# call gets namespaces of its own: a user namespace whose own binfmt_misc hands i386 programs
# to qemu-i386 (nothing changes for the rest of the machine), a mount namespace in which the
# tree is the root and sees /dev, /sys, /tmp, this repository and the current folder, and a
# process namespace, so everything the call started ends with it: when the program returns,
# and when the call itself is killed (a test's time-out).
# Each call starts from the same booted prefix, with a writable layer of its own that is
# dropped at the end: calls side by side never see each other's registry or files.
#   MOYAN_WINE32_BIND         more folders to make visible, separated by ":"
#   MOYAN_WINE32_X11_MANAGED  1: leave the window frames to the display's window manager
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=scripts/wine32-env.sh
source "$here/wine32-env.sh"
# The set-up boots the prefix through this script: it names a tree that isn't ready yet and
# writes into the base prefix itself.
tree=${MOYAN_WINE32_SETUP_TREE:-$wine32_tree}

if [ "${1:-}" != --in-namespace ]; then
  [ $# -gt 0 ] || { echo "usage: wine32.sh PROGRAM.exe|COMMAND [ARGS...]" >&2; exit 2; }
  if [ -z "${MOYAN_WINE32_SETUP_TREE:-}" ] && ! wine32_ready; then
    echo "wine32: the 32-bit Wine tree is not set up (scripts/wine32-tree.sh)" >&2
    exit 77
  fi
  export MOYAN_WINE32_CWD=$PWD
  # The call runs in the namespaces' first process, a child of unshare, which dies with
  # unshare; unshare dies with this script (also when it is killed outright, as CTest ends a
  # test that runs out of time), and then the kernel ends every other process of the call.
  # unshare itself ignores TERM and INT while it waits: this script turns them into KILL.
  setpriv --pdeathsig KILL unshare --user --map-root-user --mount --pid --kill-child -- \
    "$BASH" "${BASH_SOURCE[0]}" --in-namespace "$@" <&0 &
  call=$!
  trap 'kill -KILL $call 2>/dev/null; wait $call || true; exit 143' TERM
  trap 'kill -KILL $call 2>/dev/null; wait $call || true; exit 130' INT
  trap 'kill -KILL $call 2>/dev/null; wait $call || true; exit 129' HUP
  status=0
  wait $call || status=$?
  exit $status
fi
shift

# Process 1 of the call's namespace, still seeing the machine's own files.
mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
# i386 ELF executables, as qemu's own table has them; F opens the emulator now, so it need
# not exist inside the tree.
echo -n ':i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$wine32_qemu"':F' \
  >/proc/sys/fs/binfmt_misc/register

mount -t proc proc "$tree/proc"
mount --rbind /dev "$tree/dev"
mount --rbind /sys "$tree/sys"
# /tmp is shared: the X server's socket, files a test hands over.
mount --bind /tmp "$tree/tmp"

bound=(/tmp)
bind() {  # bind FOLDER: the folder at the same path inside the tree
  local dir b
  dir=$(realpath -e "$1") || return 0
  for b in "${bound[@]}"; do
    case "$dir/" in "$b"/*) return 0 ;; esac
  done
  mkdir -p "$tree$dir"
  mount --rbind "$dir" "$tree$dir"
  bound+=("$dir")
}
bind "$(dirname "$here")"
bind "$MOYAN_WINE32_CWD"
IFS=: read -r -a extra <<<"${MOYAN_WINE32_BIND:-}"
for dir in "${extra[@]}"; do [ -n "$dir" ] && bind "$dir"; done

# The call's own files live in memory and go with it: its writable layer of the prefix, and
# its temporary folder, where Wine keeps its server's socket (no other call's server is ever
# found there).
layer=$tree/run/moyan-call
mount -t tmpfs -o mode=0755 call "$layer"
mkdir -m 700 "$layer/tmp"
if [ -z "${MOYAN_WINE32_SETUP_TREE:-}" ]; then
  mkdir -p "$layer/upper" "$layer/work"
  mount -t overlay overlay \
    -o "lowerdir=$tree$wine32_prefix_base,upperdir=$layer/upper,workdir=$layer/work" \
    "$tree$wine32_prefix"
  prefix=$wine32_prefix
  if [ "${MOYAN_WINE32_X11_MANAGED:-0}" = 1 ]; then
    sed -i '/^"Managed"="N"/d' "$tree$prefix/user.reg"
  fi
else
  prefix=$wine32_prefix_base
fi

# Process 1 ignores signals it has no handler for: end the call on the usual ones.
trap 'exit 143' TERM
trap 'exit 130' INT
trap 'exit 129' HUP
# The caller's environment goes in (a test's settings), with the tree's own paths and Wine's.
xauthority=${XAUTHORITY:-$HOME/.Xauthority}
if [ -f "$xauthority" ]; then
  cp "$xauthority" "$layer/xauthority"
  export XAUTHORITY=/run/moyan-call/xauthority
fi
export PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root USER=root LC_ALL=zh_CN.UTF-8
export TMPDIR=/run/moyan-call/tmp
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts, no menu entries, no browser started by ShellExecute.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=;winebrowser.exe=d"
export WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver
status=0
# One server for every program of the call, up until the call ends (the set-up instead waits
# for the server to end, when everything it did is saved).
persistent=1
[ -n "${MOYAN_WINE32_SETUP_TREE:-}" ] && persistent=0
chroot "$tree" /bin/bash -c '
    cd "$1" && shift
    [ "$1" = 0 ] || "$WINESERVER" -p
    shift
    case "$1" in
      *.exe | *.EXE) exec "$WINE" "$@" ;;
      *) exec "$@" ;;
    esac' call "$MOYAN_WINE32_CWD" $persistent "$@" <&0 &
wait $! || status=$?
exit $status
