#!/usr/bin/env bash
# Installs what is missing, builds the tutor and starts it with the bundled course; arguments
# go to the program (tipora --help).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
# A folder that holds a course is used with its own tipora.ini, as a teacher's folder would be.
cd data
exec ../build/src/tipora "$@"
