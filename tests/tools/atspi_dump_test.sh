#!/usr/bin/env bash
# The AT-SPI tree test: the program on a private virtual display, its tree checked as Orca reads it.
#
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
  # A display number of its own, away from :99 where other runs of xvfb-run -a
  # start looking and where one that is shutting down still answers. Two runs
  # on one machine can still pick the same number at the same moment: then the
  # program cannot connect (exit 75 from inside) and another number is tried.
  for attempt in 1 2 3; do
    status=0
    dbus-run-session -- xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24" \
      "$0" --inside "$program" || status=$?
    [[ $status -eq 75 ]] || exit "$status"
    echo "the virtual display was taken (attempt $attempt); trying another"
  done
  exit 1
fi

program=$2
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
# In a sanitizer build: libxkbcommon-x11 hands strndup an X atom name that is
# not NUL-terminated, and AddressSanitizer's strict string checks then check
# up to a terminator strndup never reads to. Only this test runs on X.
asan=${ASAN_OPTIONS:+$ASAN_OPTIONS:strict_string_checks=0}
ASAN_OPTIONS=$asan QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=C.UTF-8 \
  "$program" 2>"$runtime/program.log" &
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
  # Still running once read: a sanitizer report would have ended it.
  if ! kill -0 "$app" 2>/dev/null; then
    if grep -q "could not connect to display" "$runtime/program.log"; then
      cat "$runtime/program.log"
      exit 75
    fi
    echo "FAIL: $program ended while its tree was being read; it wrote:"
    cat "$runtime/program.log"
    exit 1
  fi
  [[ $status -eq 3 ]] || exit "$status"
  sleep 0.5
done
echo "FAIL: $(basename "$program") did not show its windows on the accessibility bus within 30 s"
exit 1
