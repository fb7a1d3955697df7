#!/usr/bin/env bash
# window_pictures.sh [OUT_FOLDER]: the skinned program's pictures, as PNG files in
# OUT_FOLDER (default build/pictures): skinN_pageP.png (skins 13, 2 and 32, pages 0 to 2),
# menu_button_menu.png, list_menu.png and download_question.png. Builds window_pictures in
# build/win64 and runs it on a private display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
out=$(realpath -m "${1:-build/pictures}")
mkdir -p "$out"
[ -f build/win64/CMakeCache.txt ] || cmake --preset win64 -Wno-dev >/dev/null
cmake --build build/win64 -j2 --target window_pictures >/dev/null
tool_dir=build/win64/tools/skins
# The program writes its skin library beside itself only when none is there.
rm -f "$tool_dir/SkinH_EL.dll"
MOYAN_PRIVATE_DISPLAY=1 ./scripts/wine-session.sh bash -c \
  "cd '$tool_dir' && \$WINE window_pictures.exe 'Z:${out//\//\\}'"
while read -r name left top width height; do
  convert "$out/$name.bmp" -crop "${width}x${height}+${left}+${top}" +repage "$out/$name.png"
  rm -f "$out/$name.bmp"
done <"$out/pictures.txt"
rm -f "$out/pictures.txt"
echo "window_pictures: pictures in $out"
