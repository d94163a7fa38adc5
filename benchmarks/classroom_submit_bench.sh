#!/bin/bash
# Thirty students submitting to the classroom server at once, against a private PostgreSQL server
# started for the run in a temporary folder: builds bench_classroom_submit, makes the logins
# bench01 … bench30 it connects as, runs it and removes the server again. Exits as the
# benchmark does (1 when a result went missing or the median missed its target), 77 when the
# PostgreSQL server is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${TIPORA_BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target bench_classroom_submit

work=$(mktemp -d)
trap 'tests/classroom/pg_cluster.sh stop "$work" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
env=$(tests/classroom/pg_cluster.sh start "$work") || exit $?
eval "$env"
for n in $(seq -w 1 30); do
    echo "CREATE ROLE bench$n LOGIN PASSWORD 'heslo-bench$n' IN ROLE tipora_student;"
    echo "*:*:*:bench$n:heslo-bench$n" >>"$PGPASSFILE"
done | psql -X -q -v ON_ERROR_STOP=1 -U postgres
"$build_dir/benchmarks/bench_classroom_submit"
