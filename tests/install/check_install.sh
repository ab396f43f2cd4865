#!/usr/bin/env bash
# The install check: `cmake --install` into a temporary prefix, and what lands there.
#
# Usage: check_install.sh BUILD_DIR SOURCE_DIR
# Checks that exactly the programs (with the chart helper of nimbara-calc), the menu entry and the icon are installed,
# that the menu entry is valid and names what was installed, and that the
# installed calculator runs.
set -euo pipefail
build=$1
source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null

# Nothing else: tests, benchmarks and tools stay in the build.
expected=$(printf '%s\n' \
  bin/nimbara \
  bin/nimbara-calc \
  libexec/nimbara/nimbara-calc-chart \
  share/applications/nimbara.desktop \
  share/icons/hicolor/48x48/apps/nimbara.png | sort)
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
[[ "$actual" == "$expected" ]] || fail "installed files differ from the expected set:
$(diff <(echo "$expected") <(echo "$actual") || true)"

for program in bin/nimbara bin/nimbara-calc libexec/nimbara/nimbara-calc-chart; do
  [[ -x "$prefix/$program" ]] || fail "$program is not executable"
done
cmp -s "$source/shell/resources/nimbara.png" "$prefix/share/icons/hicolor/48x48/apps/nimbara.png" \
  || fail "the installed icon is not the program's icon"

desktop="$prefix/share/applications/nimbara.desktop"
if [[ -f "$desktop" ]]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
  # The value of KEY in the [Desktop Entry] group ('' when absent).
  value() { awk -F= -v k="$1" '/^\[/ { g = ($0 == "[Desktop Entry]") } g && $1 == k { sub(/^[^=]*=/, ""); print; exit }' "$desktop"; }
  [[ "$(value Type)" == Application ]] || fail "Type is '$(value Type)'"
  [[ "$(value Terminal)" == false ]] || fail "Terminal is '$(value Terminal)'"
  [[ "$(value Exec)" == nimbara ]] || fail "Exec is '$(value Exec)'"
  [[ "$(value Icon)" == nimbara ]] || fail "Icon is '$(value Icon)'"
  [[ "$(value Categories)" =~ (^|;)(Science|Education|Engineering)(;|$) ]] \
    || fail "Categories is '$(value Categories)'"
  for key in Name Comment; do
    [[ -n "$(value "$key")" ]] || fail "$key is missing"
    # The Chinese name and comment must carry Chinese text, not a copy of the English.
    zh=$(value "$key[zh_CN]")
    LC_ALL=C.UTF-8 grep -qP '\p{Han}' <<<"$zh" || fail "$key[zh_CN] has no Chinese text: '$zh'"
  done
else
  fail "no menu entry"
fi

# The installed calculator works from the prefix, away from the build tree.
out=$(cd / && "$prefix/bin/nimbara-calc" -t 27 --rh 46.37) || fail "installed nimbara-calc failed"
grep -q '湿球温度 ts=19.03℃' <<<"$out" || fail "installed nimbara-calc printed: $out"
# It finds its chart helper in the installed place.
chart="$prefix/chart.svg"
out=$(cd / && "$prefix/bin/nimbara-calc" -t 27 --rh 46.37 --chart "$chart" 2>&1) \
  || fail "installed nimbara-calc --chart failed: $out"
grep -q '焓' "$chart" 2>/dev/null || fail "installed nimbara-calc --chart wrote no chart"
rm -f "$chart"

[[ $failures -eq 0 ]] && echo "install layout ok"
exit $(( failures > 0 ))
