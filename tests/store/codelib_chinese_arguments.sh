#!/usr/bin/env bash
# codelib_chinese_arguments.sh CODELIB.EXE: the Windows codelib under Wine, with Chinese
# paths on its command line as a shell hands them over (run with "$WINE" from
# scripts/wine-session.sh or scripts/wine32.sh, which choose the locale and code page 936).
set -euo pipefail
codelib=$1
wine=${WINE:-/usr/lib/wine/wine64}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
folder="$dir/目录"
mkdir "$folder"
status=0
fail() { echo "FAIL: $*"; status=1; }

"$wine" "$codelib" create "$folder/库.edb" || fail "create 库.edb"
[ -f "$folder/库.edb" ] && [ -f "$folder/库.EDT" ] || fail "库.edb and 库.EDT not made: $(ls "$folder")"
"$wine" "$codelib" create "$folder/仓" || fail "create 仓"
[ -f "$folder/仓.EDB" ] && [ -f "$folder/仓.EDT" ] || fail "仓.EDB and 仓.EDT not made: $(ls "$folder")"

# The shape line; the creation time follows it.
expected="records=0 fields=7 record_size=604 blocks=1 free_blocks=0"
for name in 库.edb 仓; do
  got=$("$wine" "$codelib" check "$folder/$name") || fail "check $name"
  [ "${got%%$'\n'*}" = "$expected" ] || fail "check $name printed: $got"
done

if got=$("$wine" "$codelib" dump "$folder/无.edb" 2>&1); then fail "dump of a missing 无.edb succeeded"; fi
case "$got" in
  *目录*无.edb*) ;;
  *) fail "the refusal doesn't name 目录/无.edb: $got" ;;
esac

# A name that GBK can't hold can't be a library's path inside the program: refused, named.
if got=$("$wine" "$codelib" create "$folder/😀.edb" 2>&1); then fail "create of 😀.edb succeeded"; fi
case "$got" in
  *😀.edb*outside\ GBK*) ;;
  *) fail "the refusal of 😀.edb says: $got" ;;
esac
[ ! -e "$folder/😀.edb" ] || fail "😀.edb was made"

[ $status = 0 ] && echo "codelib.exe takes Chinese paths from the command line"
exit $status
