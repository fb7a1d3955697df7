#!/usr/bin/env bash
# check-win32.sh BUILD_DIR: the shipped 32-bit programs need no MinGW DLL beside them.
set -euo pipefail
build=$1
status=0
shopt -s nullglob
for exe in "$build"/*.exe "$build"/*/*.exe; do
  dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  bad=$(echo "$dlls" | grep -E 'libgcc|libstdc|libwinpthread|zlib' || true)
  if [ -n "$bad" ]; then echo "$exe imports $bad"; status=1; fi
  i686-w64-mingw32-objdump -f "$exe" | grep -q 'file format pei-i386' || { echo "$exe is not 32-bit"; status=1; }
done
exit $status
