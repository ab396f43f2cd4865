#!/usr/bin/env bash
# Starts a program on a virtual display of its own, with a private session bus
# and the accessibility bus on, and checks the tree a screen reader sees there
# (atspi_dump.py against atspi_expected.tsv); the dump is printed either way.
# Needs no display. Exits 77 (skipped) when a tool it needs is missing.
# Usage: atspi_dump_test.sh PROGRAM   (build/tests/tools/all_windows)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [[ "${1:-}" != --inside ]]; then
  [[ $# -eq 1 ]] || { echo "usage: $0 PROGRAM" >&2; exit 2; }
  missing=()
  for tool in xvfb-run xauth dbus-run-session; do
    command -v "$tool" >/dev/null || missing+=("$tool")
  done
  [[ -x /usr/libexec/at-spi-bus-launcher ]] || missing+=(at-spi-bus-launcher)
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
  if ((${#missing[@]})); then
    echo "skipped: ${missing[*]} missing (scripts/setup installs them)"
    exit 77
  fi
  program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  exec dbus-run-session -- xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$program"
fi

program=$2
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=C.UTF-8 "$program" &
app=$!
cleanup() {
  kill "$app" "$launcher" 2>/dev/null || true
  wait "$app" "$launcher" 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT

# The program registers on the bus shortly after it starts: ask until it is
# there with its windows, for at most 30 s.
for _ in $(seq 60); do
  status=0
  /usr/bin/python3 "$here/atspi_dump.py" "$(basename "$program")" "$here/atspi_expected.tsv" || status=$?
  [[ $status -eq 3 ]] || exit "$status"
  kill -0 "$app" 2>/dev/null || { echo "FAIL: $program ended before it was on the bus"; exit 1; }
  sleep 0.5
done
echo "FAIL: $(basename "$program") did not show its windows on the accessibility bus within 30 s"
exit 1
