#!/usr/bin/env bash
# Installs what is missing, builds the tutor and runs every test. Needs no display: widget tests
# draw offscreen. Extra arguments go to CMake (the CI passes the sanitizer switch this way).
set -euo pipefail
cd "$(dirname "$0")/.."
# The real-keyboard tests type at the window on a private X server with the Czech layout and
# send it the window manager's close request through xcb; the recording test plays the beeps
# into a private sound server and records them; the result sheet is read back from its PDF; the
# classroom tests start a private PostgreSQL server of their own.
TIPORA_EXTRA_PACKAGES="xvfb xdotool x11-xkb-utils libxcb1-dev pulseaudio pulseaudio-utils aspell aspell-cs poppler-utils postgresql libqt6sql6-psql ${TIPORA_EXTRA_PACKAGES:-}"
source scripts/deps.sh
build_dir="${TIPORA_BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir"
ctest --test-dir "$build_dir" --output-on-failure
