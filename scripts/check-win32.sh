#!/usr/bin/env bash
# check-win32.sh BUILD_DIR: the shipped 32-bit programs and the skin library need no MinGW
# DLL beside them, the program carries its icon, manifest, skin library and skins, and it
# finds its empty library beside itself.
set -euo pipefail
build=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
status=0
shopt -s nullglob
while IFS= read -r exe; do
  dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  bad=$(echo "$dlls" | grep -E 'libgcc|libstdc|libwinpthread|zlib' || true)
  if [ -n "$bad" ]; then echo "$exe imports $bad"; status=1; fi
  i686-w64-mingw32-objdump -f "$exe" | grep -q 'file format pei-i386' || { echo "$exe is not 32-bit"; status=1; }
done < <(find "$build" \( -name "*.exe" -o -name "*.dll" \) -not -path "*/CMakeFiles/*")
for name in moyan.exe Code.edb Code.EDT; do
  [ -f "$build/$name" ] || { echo "$build/$name is missing"; status=1; }
done
if [ -f "$build/moyan.exe" ]; then
  i686-w64-mingw32-objdump -h "$build/moyan.exe" | grep -q '\.rsrc' ||
    { echo "$build/moyan.exe has no resource section"; status=1; }
  python3 "$root/scripts/check_program_resources.py" "$build/moyan.exe" \
    "$build/src/app/art/program.ico" || status=1
  python3 "$root/scripts/check_carried_skin.py" "$build/moyan.exe" \
    "$build/src/skin/shipped/SkinH_EL.dll" "$build/skins" || status=1
fi
[ $status = 0 ] && echo "win32: every program and library is 32-bit and self-contained; moyan.exe carries its icon, manifest, skin library and skins; the library lies beside it"
exit $status
