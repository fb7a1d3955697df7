# Sourced by scripts/wine32-tree.sh and scripts/wine32.sh: where the 32-bit Wine tree lives.
#
# One tree per machine and user, outside every work tree, so each clone and work tree on the
# machine uses the same one (MOYAN_WINE32_DIR chooses another place):
#   tree/         a private Debian 12 tree (amd64 with i386 added) holding Wine 8's 32-bit half
#   qemu-i386     the static user-mode emulator that runs the tree's i386 programs
#   ready         written last by the set-up; holds the recipe it was built by
#   lock          held while the tree is built
wine32_base=${MOYAN_WINE32_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/moyan-wine32}
wine32_tree=$wine32_base/tree
wine32_qemu=$wine32_base/qemu-i386
# Bumped whenever the tree's contents change, so an older tree is built again.
wine32_recipe="bookworm wine32 8.0, trixie qemu-i386, win32 prefix, recipe 2"
# Inside the tree: the booted prefix that every run starts from, and where a run mounts its
# own writable copy of it.
wine32_prefix_base=/opt/moyan/prefix-base
wine32_prefix=/opt/moyan/prefix

wine32_ready() {
  [ -f "$wine32_base/ready" ] && [ "$(cat "$wine32_base/ready")" = "$wine32_recipe" ]
}
