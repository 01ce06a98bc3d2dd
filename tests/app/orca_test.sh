#!/usr/bin/env bash
# The real program as Orca speaks it: on an X display and a D-Bus session of its own, with a
# home and settings of its own (so nothing of the user's is touched) and no synthesizer,
# orca_check.py runs a window manager, Orca and the program, drives it from the keyboard and
# checks what Orca says.
# Usage: orca_test.sh <path of the built tarvane executable> <its four-part version>
set -euo pipefail

executable=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3 # the system's, which Orca runs on
# A copy of its own in $work, so the preferences file is this test's.
source "$here/program_harness.sh"
require_tools Xvfb xdotool dbus-run-session openbox orca "$python"
locale -a | grep -qix 'fr_FR.utf-\?8' || { echo "SKIP: the fr_FR.UTF-8 locale is not generated"; exit 77; }

start_display

mkdir -m 700 "$work/home" "$work/runtime"
status=0
env -i PATH="$PATH" DISPLAY="$DISPLAY" LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 \
    HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
    XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/runtime" GSETTINGS_BACKEND=memory \
    LSAN_OPTIONS="${LSAN_OPTIONS:-}" ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
    dbus-run-session -- "$python" "$here/orca_check.py" "$work/tarvane" "$work" "$version" ||
    status=$?
[[ $status -eq 0 ]] || cat "$work/program.log" >&2
exit $status
