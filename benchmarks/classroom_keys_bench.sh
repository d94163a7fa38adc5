#!/usr/bin/env bash
# Keystroke to screen while the tutor sends a queue of 500 results to the class's server, beside
# the same run without a class: the sender's thread must not slow the keys.
#   benchmarks/classroom_keys_bench.sh [BUILD_DIR] [KEYS]
# Needs an X server in DISPLAY (a private Xvfb), PostgreSQL and python3.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
keys=${2:-300}
work=$(mktemp -d)
chmod 755 "$work" # the server runs as postgres
trap 'bash tests/classroom/pg_cluster.sh stop "$work/server" >/dev/null 2>&1; rm -rf "$work"' EXIT
eval "$(bash tests/classroom/pg_cluster.sh start "$work/server")"

run() { # kind, with a class or not
    local course="$work/$1" config="$work/config-$1"
    mkdir -p "$course" "$config/tipora"
    cp data/*.dat data/tipora.ini "$course/"
    if [ "$2" = class ]; then
        printf '[trida]\nserver=host=%s port=%s dbname=tipora user=student1\ntrida=3.B\n' \
            "$PGHOST" "$PGPORT" >"$config/tipora/trida.conf"
        # A history file with 500 results waiting, as after a week with the server away.
        python3 - "$course/vysledky.sqlite" <<'PY'
import json, sqlite3, sys, uuid
db = sqlite3.connect(sys.argv[1])
db.executescript("""
CREATE TABLE results (id INTEGER PRIMARY KEY, recorded_at TEXT NOT NULL, lesson INTEGER NOT NULL,
 caption TEXT NOT NULL, keyboard_type INTEGER NOT NULL, seconds INTEGER NOT NULL,
 keystrokes INTEGER NOT NULL, errors INTEGER NOT NULL, lines INTEGER NOT NULL,
 keystrokes_per_minute INTEGER NOT NULL, errors_per_line REAL NOT NULL, finished INTEGER NOT NULL,
 kind TEXT NOT NULL DEFAULT 'course');
CREATE INDEX results_by_time ON results (recorded_at, id);
CREATE TABLE key_figures (result_id INTEGER NOT NULL REFERENCES results (id), expected TEXT NOT NULL,
 typed TEXT, strokes INTEGER NOT NULL, errors INTEGER NOT NULL, timed INTEGER NOT NULL,
 total_ms INTEGER NOT NULL);
CREATE INDEX key_figures_by_result ON key_figures (result_id);
CREATE INDEX key_figures_by_key ON key_figures (expected, typed, strokes, errors, timed, total_ms);
CREATE TABLE exam_figures (result_id INTEGER NOT NULL REFERENCES results (id), minutes INTEGER NOT NULL,
 minutes_used REAL NOT NULL, penalty INTEGER NOT NULL, gross_strokes INTEGER NOT NULL,
 errors INTEGER NOT NULL, net_strokes INTEGER NOT NULL, net_per_minute REAL NOT NULL,
 error_rate REAL NOT NULL, grade INTEGER);
CREATE TABLE outbox (uid TEXT PRIMARY KEY, payload TEXT NOT NULL, sent_at TEXT, problem TEXT);
PRAGMA user_version = 5;
""")
keys = [{"expected": c, "typed": None, "strokes": 40, "errors": 1, "timed": 38, "total_ms": 7000}
        for c in "asdfjklůghqwertzuiopyxcvbnm,.-ěščřžýáíé "]
for i in range(500):
    uid = str(uuid.uuid4())
    payload = {"uid": uid, "class": "3.B", "name": "Jana", "recorded_at": "2026-12-01T10:00:00Z",
               "kind": "course", "lesson": 1 + i % 50, "caption": "Lekce", "keyboard_type": 1,
               "seconds": 300, "keystrokes": 1200, "errors": 12, "lines": 20,
               "keystrokes_per_minute": 240, "errors_per_line": 0.6, "finished": True,
               "keys": keys, "exam": None}
    db.execute("INSERT INTO outbox (uid, payload) VALUES (?, ?)", (uid, json.dumps(payload)))
db.commit()
PY
    fi
    (cd "$course" && XDG_CONFIG_HOME="$config" "$build/benchmarks/bench_desktop" --kind "$1" \
        --enter --lesson --keys "$keys" -- "$build/src/tipora" 2>/dev/null)
    echo
    if [ "$2" = class ]; then
        python3 -c "import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); print('still queued:', c.execute('SELECT count(*) FROM outbox WHERE sent_at IS NULL').fetchone()[0])" "$course/vysledky.sqlite"
        psql -X -At -U teacher -c "SELECT 'on the server: ' || count(*) FROM tipora.results"
    fi
}
run alone none
run sending class
