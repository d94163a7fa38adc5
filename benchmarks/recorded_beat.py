#!/usr/bin/env python3
"""Turns bench_beep_recording's printout (on stdin) into one JSON line for the suite's table.

usage: recorded_beat.py TEMPO < printout
"""
import json
import re
import sys

text = sys.stdin.read()
row = {"kind": "beat_recorded", "tempo": int(sys.argv[1])}
beat = re.search(r"beat from the recording: mean ([\d.]+) ms \(error ([-+\d.]+) ms\).*?"
                 r"p99 \|interval - beat\| ([\d.]+) ms", text)
latency = re.search(r"latency tick to onset: mean ([\d.]+) ms, median ([\d.]+) ms.*?"
                    r"p99 ([\d.]+) ms", text)
lost = re.search(r"lost clicks: (\d+), late clicks: (\d+), extra clicks: (-?\d+)", text)
if beat:
    row.update(mean_error_ms=float(beat.group(2)), p99_jitter_ms=float(beat.group(3)))
if latency:
    row.update(click_latency_ms_median=float(latency.group(2)),
               click_latency_ms_p99=float(latency.group(3)))
if lost:
    row.update(lost=int(lost.group(1)), late=int(lost.group(2)), extra=int(lost.group(3)))
if not beat:
    row["error"] = (text.strip().splitlines() or ["no output"])[-1]
print(json.dumps(row))
