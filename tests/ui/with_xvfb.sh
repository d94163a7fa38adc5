#!/usr/bin/env bash
# Runs a test program on a private X server with a Czech keyboard layout.
#   with_xvfb.sh "LAYOUT" PROGRAM [ARGS...]     (LAYOUT e.g. "cz" or "cz qwerty")
# Exits 77 (skipped) where Xvfb, setxkbmap or xdotool are missing.
set -u
layout=$1
shift
for tool in Xvfb setxkbmap xdotool; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
fd_file=$(mktemp)
# -noreset: without it the server resets when its last client leaves, and the layout with it.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fd_file" </dev/null \
    >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; rm -f "$fd_file"' EXIT
for _ in $(seq 200); do [ -s "$fd_file" ] && break; sleep 0.05; done
[ -s "$fd_file" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(tr -d '[:space:]' <"$fd_file")"
# shellcheck disable=SC2086
setxkbmap $layout || exit 1
export QT_QPA_PLATFORM=xcb TIPORA_TEST_LAYOUT="$layout"
"$@"
