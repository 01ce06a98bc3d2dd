#!/usr/bin/env bash
# The real program as a screen reader sees it: on an X display and a D-Bus session of its
# own, atspi_check.py starts it with accessibility on, walks its windows through AT-SPI,
# types into box 1 with xdotool and reads box 2 back.
# Usage: accessibility_test.sh <path of the built tarvane executable> <its four-part version>
set -euo pipefail

executable=$1
version=$2
here=$(dirname "$0")
python=/usr/bin/python3 # the system's, which has the AT-SPI bindings
# A copy of its own in $work, so the preferences file is this test's.
source "$here/program_harness.sh"
require_tools Xvfb xdotool dbus-run-session "$python"
[[ -f /usr/share/dbus-1/services/org.a11y.Bus.service ]] ||
    { echo "SKIP: at-spi2-core is not installed"; exit 77; }
"$python" -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }
locale -a | grep -qix 'fr_FR.utf-\?8' || { echo "SKIP: the fr_FR.UTF-8 locale is not generated"; exit 77; }

start_display

# Everything below runs on the private session bus, which starts the accessibility bus and
# its registry when they are first asked for.
status=0
env -i PATH="$PATH" HOME="$work" DISPLAY="$DISPLAY" LC_ALL=fr_FR.UTF-8 \
    LSAN_OPTIONS="${LSAN_OPTIONS:-}" ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
    dbus-run-session -- "$python" "$here/atspi_check.py" "$work/tarvane" "$work/program.log" "$version" ||
    status=$?
[[ $status -eq 0 ]] || cat "$work/program.log" >&2
exit $status
