#!/usr/bin/env bash
# Runs each fuzz target for a bounded time over a copy of its seed corpus and prints one line
# per target. A crash, a broken property, a leak, an input that takes over a second or memory
# over 2 GiB fails the run; the offending input is printed (base64) so it can be replayed:
#   base64 -d > input && build-sanitize/tests/fuzz/<target> input
# Needs a build configured with clang and -DTIPORA_FUZZ=ON (the CI's sanitizer build).
# TIPORA_FUZZ_SECONDS (default 40) bounds each target; TIPORA_FUZZ_TARGETS picks some of them;
# TIPORA_FUZZ_TIMEOUT (default 1 s) is the time one input may take (wall clock: on a machine
# shared with busy neighbours a long run may need more).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${TIPORA_BUILD_DIR:-build-sanitize}"
seconds="${TIPORA_FUZZ_SECONDS:-40}"
timeout="${TIPORA_FUZZ_TIMEOUT:-1}"
targets="${TIPORA_FUZZ_TARGETS:-fuzz_lesson_file fuzz_settings fuzz_key_events fuzz_numeric_box}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/.ci/lsan.supp:print_suppressions=0}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
for target in $targets; do
    executable="$build_dir/tests/fuzz/$target"
    if [ ! -x "$executable" ]; then
        echo "$target: not built (configure with clang++ and -DTIPORA_FUZZ=ON)"
        status=1
        continue
    fi
    mkdir -p "$work/$target/corpus" "$work/$target/found"
    cp tests/fuzz/corpus/"$target"/* "$work/$target/corpus/"
    log="$work/$target/log"
    start=$SECONDS
    result=ok
    if ! "$executable" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$work/$target/found/" \
        "$work/$target/corpus" >"$log" 2>&1; then
        result=FAILED
        status=1
    fi
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    printf '%-17s %s: %s executions in %d s, corpus %s -> %s inputs\n' "$target" "$result" \
        "${runs:-?}" $((SECONDS - start)) "$(ls tests/fuzz/corpus/"$target" | wc -l)" \
        "$(ls "$work/$target/corpus" | wc -l)"
    if [ "$result" != ok ]; then
        grep -v -E '^#[0-9]+|^INFO:|^"' "$log" | tail -n 60
        for input in "$work/$target"/found/*; do
            [ -f "$input" ] || continue
            echo "--- $(basename "$input") ($(stat -c %s "$input") bytes), base64:"
            head -c 65536 "$input" | base64
        done
    fi
done
exit $status
