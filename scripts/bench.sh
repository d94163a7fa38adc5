#!/usr/bin/env bash
# Measures the tutor as a learner and a desktop feel it, side by side with a bare Qt Widgets
# program (the floor) and, when it is installed, the peer typing tutor TIPP10: keystroke to
# screen, start-up, memory, idle CPU and the metronome's beat. Not part of the test run: it
# takes about a quarter of an hour and its figures depend on the machine.
# Prints one table and writes every figure as JSON (<build>/bench-results/<time>/results.json);
# `scripts/bench.sh --compare OLD.json` adds the earlier run's figures beside the new ones.
# Settings through the environment: BENCH_RUNS (start-up rounds, 7), BENCH_KEYS (2000),
# BENCH_IDLE_SECONDS (60), BENCH_BEAT_SECONDS (60), BENCH_TEMPOS ("60 120 1000"),
# BENCH_RECORDED (1: also the clicks recorded from the sound card, where pulseaudio runs).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

compare=""
if [ "${1:-}" = "--compare" ]; then
    compare=$(realpath "$2")
fi

# The peer comes from Debian where the distribution has it.
peer_package=""
if apt-cache show tipp10 >/dev/null 2>&1; then
    peer_package=tipp10
fi
TIPORA_EXTRA_PACKAGES="xvfb x11-xkb-utils xdotool libx11-dev libxtst-dev libxdamage-dev
    libxcb1-dev pulseaudio pulseaudio-utils python3 $peer_package ${TIPORA_EXTRA_PACKAGES:-}"
source scripts/deps.sh

build_dir="${TIPORA_BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" --target tipora bench_desktop bench_floor bench_keystroke_cost \
    bench_metronome bench_beep_recording
bench="$root/$build_dir/benchmarks"
tipora="$root/$build_dir/src/tipora"

runs=${BENCH_RUNS:-7}
keys=${BENCH_KEYS:-2000}
idle=${BENCH_IDLE_SECONDS:-60}
beat=${BENCH_BEAT_SECONDS:-60}
tempos=${BENCH_TEMPOS:-60 120 1000}
out="${TIPORA_BENCH_OUT:-$root/$build_dir/bench-results/$(date +%Y%m%d-%H%M%S)}"
mkdir -p "$out"
raw="$out/raw.jsonl"
: >"$raw"

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A private X server with the Czech layout and no window manager, and a private sound server
# whose only output is a silent sink: the tutor opens its sound stream as on a desktop.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"
setxkbmap cz
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
mkdir -p "$HOME"
unset DBUS_SESSION_BUS_ADDRESS PULSE_SINK
export PULSE_SERVER="unix:$work/runtime/native"
sound_pid=""
if command -v pulseaudio >/dev/null; then
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --system=false --use-pid-file=no \
        -L "module-null-sink sink_name=bench rate=44100" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$work/runtime/native" \
        >"$work/pulseaudio.log" 2>&1 &
    sound_pid=$!
    pids+=("$sound_pid")
    for _ in $(seq 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
fi

# The tutor runs in a course folder of its own, as a teacher's folder is used.
course="$work/course"
mkdir -p "$course"
cp data/*.dat "$course/"
cp -r data/opisy "$course/"
printf ' 100  1  0  0 \r\n' >"$course/tipora.ini"

peer=""
if command -v tipp10 >/dev/null; then
    peer=$(command -v tipp10)
fi

note() { printf '%s\n' "$*" >&2; }
desktop() {
    (cd "$course" && "$bench/bench_desktop" "$@" 2>>"$work/programs.log") >>"$raw" ||
        note "bench_desktop $* failed (see $raw)"
}

# One round of each, untimed: the libraries are read from the disk once, for all alike.
note "warming up"
(cd "$course" && "$bench/bench_desktop" --kind warmup --enter -- "$tipora" >/dev/null 2>&1) || true
(cd "$course" && "$bench/bench_desktop" --kind warmup --enter -- "$bench/bench_floor" \
    >/dev/null 2>&1) || true
[ -n "$peer" ] && { (cd "$course" && "$bench/bench_desktop" --kind warmup --enter -- "$peer" \
    >/dev/null 2>&1) || true; }

note "start-up and memory: $runs interleaved rounds"
for round in $(seq "$runs"); do
    desktop --kind floor --enter --lesson -- "$bench/bench_floor"
    desktop --kind tipora --enter --lesson --smaps "$out/tipora.smaps" -- "$tipora"
    [ -n "$peer" ] && desktop --kind peer --enter --smaps "$out/peer.smaps" -- "$peer"
    note "  round $round done"
done

note "keystroke to screen: $keys keys"
desktop --kind tipora_keys --enter --lesson --keys "$keys" -- "$tipora"
desktop --kind tipora_exam_keys --enter --exam --keys "$keys" -- "$tipora"
(cd "$course" && QT_QPA_PLATFORM=offscreen "$bench/bench_keystroke_cost" "$keys" 2>/dev/null |
    tail -n 1 | sed 's/^{/{"kind": "in_process", /') >>"$raw" || note "bench_keystroke_cost failed"

note "idle CPU: ${idle}s per state"
export BENCH_ALSO_PID="$sound_pid"
desktop --kind floor_idle --enter --idle "$idle" -- "$bench/bench_floor"
desktop --kind floor_clock_idle --enter --idle "$idle" -- "$bench/bench_floor" --clock
desktop --kind tipora_idle --enter --lesson --idle "$idle" -- "$tipora"
[ -n "$peer" ] && desktop --kind peer_idle --enter --idle "$idle" -- "$peer"
unset BENCH_ALSO_PID

note "beat from the timer: ${beat}s at each of $tempos"
for tempo in $tempos; do
    QT_QPA_PLATFORM=offscreen "$bench/bench_metronome" "$beat" "$tempo" 2>/dev/null | tail -n 1 |
        sed 's/^{/{"kind": "beat_timer", /' >>"$raw" || true
done
if [ "${BENCH_RECORDED:-1}" = 1 ] && command -v pulseaudio >/dev/null; then
    note "beat from the recorded clicks: ${beat}s at each of $tempos"
    for tempo in $tempos; do
        "$bench/bench_beep_recording" "$tempo" "$beat" >"$work/recorded.txt" 2>/dev/null || true
        python3 "$root/benchmarks/recorded_beat.py" "$tempo" <"$work/recorded.txt" >>"$raw"
    done
fi

machine="$(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg) at the end"
python3 "$root/benchmarks/bench_report.py" "$raw" "$out/results.json" "$machine" \
    "${peer:+$(dpkg-query -W -f='TIPP10 ${Version}' tipp10 2>/dev/null || echo TIPP10)}" $compare
