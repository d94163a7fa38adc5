#!/usr/bin/env bash
# Installs what is missing, builds the tutor and starts it with the bundled course.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
# The program opens its lesson and settings files by their bare names.
cd data
exec ../build/src/tipora
