#!/usr/bin/env bash
# wine32-tree.sh: sets up, once per machine, the tree in which scripts/wine32.sh runs 32-bit
# Windows programs (the program as it ships); a later call finds it ready at once.
# Exits 0 when the tree is ready, 2 when this machine can't run it (the reason is printed),
# 1 when setting it up failed.
#
# This kernel runs no 32-bit Linux code, and Debian 12's 64-bit Wine has no 32-bit half of
# its own. So the tree is a private Debian 12 (bookworm) tree with Wine 8's 32-bit half
# (wine32:i386), whose i386 programs run under qemu-i386 as Debian 13 (trixie) builds it:
# bookworm's own qemu takes a minute and more to start each 32-bit program. Everything comes
# from Debian's archive, fetched with apt in folders of the set-up's own; nothing on the
# machine changes (no apt source, no package, no binfmt entry: each run of wine32.sh
# registers qemu-i386 in a user namespace of its own).
#   MOYAN_WINE32_DIR      where the tree lives (default ~/.cache/moyan-wine32)
#   MOYAN_DEBIAN_MIRROR   the Debian archive (default http://deb.debian.org/debian)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=scripts/wine32-env.sh
source "$here/wine32-env.sh"
mirror=${MOYAN_DEBIAN_MIRROR:-http://deb.debian.org/debian}

skip() {  # skip REASON: this machine can't run the tree
  echo "wine32: skipped because $*"
  exit 2
}

if wine32_ready; then
  echo "wine32: the 32-bit Wine tree is ready ($wine32_base)"
  exit 0
fi

# What the machine must allow, checked before anything is fetched.
[ "$(id -u)" = 0 ] || skip "building the 32-bit Wine tree needs root (its packages' files belong to several users)"
if ! unshare --user --map-root-user --mount --pid --kill-child \
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null; then
  skip "this kernel (Linux $(uname -r)) gives no user namespace a binfmt_misc of its own (Linux 6.7 and later do), or user namespaces are turned off"
fi
mkdir -p "$wine32_base"
free_mb=$(df -Pm "$wine32_base" | awk 'NR == 2 { print $4 }')
[ "$free_mb" -ge 3000 ] || skip "$wine32_base has $free_mb MB free; the tree needs about 3000"

exec 9>"$wine32_base/lock"
if ! flock -n 9; then
  echo "wine32: waiting for another set-up of the tree"
  flock 9
fi
if wine32_ready; then
  echo "wine32: the 32-bit Wine tree is ready ($wine32_base)"
  exit 0
fi
started=$SECONDS
phase() { echo "wine32: $* (at $((SECONDS - started)) s)"; }
phase "setting up the 32-bit Wine tree in $wine32_base (once per machine)"
rm -f "$wine32_base/ready"
work=$wine32_base/setup
new=$wine32_base/tree.new
rm -rf "$work" "$new" "$wine32_tree"
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/debs"

# The set-up's own apt: its own sources, lists and cache; the machine's dpkg is only read.
cat >"$work/sources.list" <<EOF
deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror bookworm main
deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror trixie main
EOF
apt_options=(-o "Dir::Etc::SourceList=$work/sources.list" -o "Dir::Etc::SourceParts=/nonexistent"
  -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache"
  -o "APT::Architectures=amd64" -o "Acquire::Languages=none"
  -o 'Acquire::Check-Valid-Until=false' -o "APT::Sandbox::User=root")
phase "fetching mmdebstrap and qemu-i386"
apt-get -qq "${apt_options[@]}" update
# mmdebstrap of the machine's own release builds the tree with the machine's apt and dpkg.
(cd "$work/debs" && apt-get -qq "${apt_options[@]}" download mmdebstrap/bookworm qemu-user/trixie)
dpkg-deb -x "$work"/debs/mmdebstrap_*.deb "$work/mmdebstrap"
# Only the one static emulator is needed of trixie's qemu.
dpkg-deb --fsys-tarfile "$work"/debs/qemu-user_*.deb | tar -x -O ./usr/bin/qemu-i386 >"$wine32_qemu.new"
chmod 755 "$wine32_qemu.new"
mv "$wine32_qemu.new" "$wine32_qemu"

# Wine's 32-bit half and what it loads at run time for windows, text and fonts, with their
# dependencies, only unpacked: the tree runs nothing but Wine, so the packages' own set-up
# is left out (it takes most of the time) but for what Wine needs of it, made below.
packages=(wine32:i386 libxrender1:i386 libxcomposite1:i386 libxcursor1:i386 libxfixes3:i386
  libxi6:i386 libxinerama1:i386 libxrandr2:i386 libxxf86vm1:i386 fonts-wqy-microhei
  bash dash coreutils gzip libc-bin locales)
phase "building the tree with Wine's 32-bit half"
# Wine's own set-up gives it the zlib library it loads as a built-in one.
PATH=$work/mmdebstrap/usr/bin:$PATH mmdebstrap --mode=root --variant=extract \
  --architectures=amd64,i386 --include="$(IFS=,; echo "${packages[*]}")" \
  --aptopt='Acquire::Check-Valid-Until "false"' --aptopt='APT::Install-Recommends "false"' \
  --extract-hook='dpkg-deb -e "$1"/var/cache/apt/archives/libwine_*_i386.deb "$1/run/libwine"
    chroot "$1" /bin/sh /run/libwine/postinst configure && rm -r "$1/run/libwine"' \
  --quiet bookworm "$new" "$mirror"
printf 'root:x:0:0:root:/root:/bin/bash\n' >"$new/etc/passwd"
printf 'root:x:0:\n' >"$new/etc/group"
chroot "$new" /sbin/ldconfig
# The locale that gives Chinese command-line arguments their bytes.
chroot "$new" /usr/bin/localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
# Text drawn as on this machine (and fontconfig's own default): slight hinting, no bitmaps.
for conf in 10-hinting-slight 70-no-bitmaps; do
  ln -sf "/usr/share/fontconfig/conf.avail/$conf.conf" "$new/etc/fonts/conf.d/$conf.conf"
done

# Wine's server of the same version built for amd64: the 32-bit one would run under the
# emulator too, and every program waits on the server.
(cd "$work/debs" && apt-get -qq "${apt_options[@]}" download wine64/bookworm)
dpkg-deb --fsys-tarfile "$work"/debs/wine64_*.deb |
  tar -x -O ./usr/lib/wine/wineserver64 >"$new/usr/lib/wine/wineserver64"
chmod 755 "$new/usr/lib/wine/wineserver64"

# The prefix every run starts from: booted once, with the test settings; the private
# display has no window manager.
phase "booting the prefix"
mkdir -p "$new$wine32_prefix_base" "$new$wine32_prefix" "$new/run/moyan-call"
"$here/wine-settings.sh" --unmanaged >"$new/run/moyan-settings.reg"
MOYAN_WINE32_SETUP_TREE=$new "$here/wine32.sh" /bin/bash -c '
  "$WINE" wineboot -i </dev/null >/dev/null 2>&1
  "$WINESERVER" -w
  "$WINE" regedit /S "Z:\\run\\moyan-settings.reg" </dev/null >/dev/null 2>&1
  "$WINESERVER" -w'
rm "$new/run/moyan-settings.reg"
grep -q 'WenQuanYi Micro Hei' "$new$wine32_prefix_base/user.reg" || {
  echo "wine32: the prefix did not boot"
  exit 1
}
# The prefix holds copies of Wine's built-in libraries: share their bytes with the originals.
builtins=$new/usr/lib/i386-linux-gnu/wine/i386-windows
for f in "$new$wine32_prefix_base"/drive_c/windows/system32/*; do
  original=$builtins/$(basename "$f")
  [ -f "$original" ] && cmp -s "$f" "$original" && ln -f "$original" "$f"
done

mv "$new" "$wine32_tree"
rm -rf "$work"
echo "$wine32_recipe" >"$wine32_base/ready"
echo "wine32: the 32-bit Wine tree is ready ($wine32_base, $(du -sh "$wine32_tree" | cut -f1), set up in $((SECONDS - started)) s)"
