#!/usr/bin/env python3
"""Reads the suite's raw JSON lines, prints one table and writes the figures as JSON.

usage: bench_report.py RAW.jsonl RESULTS.json MACHINE-NOTE PEER-NAME [EARLIER-RESULTS.json]
Start-up and memory are medians over the interleaved rounds; the tutor's start-up and memory
count as differences to the floor measured in the same run.
"""
import json
import statistics
import sys

raw_path, results_path, machine, peer_name = sys.argv[1:5]
earlier = None
if len(sys.argv) > 5:
    with open(sys.argv[5], encoding="utf-8") as f:
        earlier = json.load(f)

rows = []
problems = []
with open(raw_path, encoding="utf-8") as f:
    for line in f:
        line = line.strip()
        if not line:
            continue
        try:
            rows.append(json.loads(line))
        except json.JSONDecodeError:
            problems.append("unreadable line: " + line[:120])
for row in rows:
    if "error" in row:
        problems.append("%s: %s" % (row.get("kind"), row["error"]))


def of(kind):
    return [r for r in rows if r.get("kind") == kind and "error" not in r]


def median(kind, key):
    values = [r[key] for r in of(kind) if key in r and r[key] is not None and r[key] >= 0]
    return statistics.median(values) if values else None


def single(kind, key, **match):
    for r in of(kind):
        if key in r and all(r.get(k) == v for k, v in match.items()):
            return r[key]
    return None


results = {"machine": machine, "peer": peer_name or None, "figures": {}}
figures = results["figures"]
table = []


def add(section, name, unit, floor, tipora, peer=None, target=None, ok=None):
    figures[name] = {"unit": unit, "floor": floor, "tipora": tipora, "peer": peer,
                     "target": target, "met": ok}
    table.append((section, name, unit, floor, tipora, peer, target, ok))


def mb(kb):
    return None if kb is None else kb / 1024.0


# Start-up.
runs = len(of("tipora"))
first = (median("floor", "first_window_ms"), median("tipora", "first_window_ms"),
         median("peer", "first_window_ms"))
add("start-up", "exec to first window", "ms", *first, target="floor + 10",
    ok=None if None in first[:2] else first[1] <= first[0] + 10)
main = (median("floor", "main_window_ms"), median("tipora", "main_window_ms"))
add("start-up", "Enter to main window", "ms", *main, target="< 40",
    ok=None if main[1] is None else main[1] < 40)
drawn = (median("floor", "lesson_first_damage_ms"), median("tipora", "lesson_first_damage_ms"))
add("start-up", "lesson chosen to first drawing", "ms", *drawn, target="< 30",
    ok=None if drawn[1] is None else drawn[1] < 30)
settled = (median("floor", "lesson_settled_ms"), median("tipora", "lesson_settled_ms"))
add("start-up", "lesson chosen to last drawing", "ms", *settled)

# Memory.
for key, label in (("rss_kb_main", "VmRSS, main window up"), ("pss_kb_main", "Pss, main window up"),
                   ("hwm_kb_main", "VmHWM, main window up"),
                   ("rss_kb_lesson", "VmRSS, lesson chosen")):
    values = (mb(median("floor", key)), mb(median("tipora", key)), mb(median("peer", key)))
    if key == "rss_kb_main":
        add("memory", label, "MB", *values, target="floor + 3",
            ok=None if None in values[:2] else values[1] <= values[0] + 3)
    else:
        add("memory", label, "MB", *values)
typed = (mb(single("tipora_keys", "rss_kb_lesson")), mb(single("tipora_keys", "rss_kb_typed")))
add("memory", "VmRSS after the keystroke run", "MB", None, typed[1])
add("memory", "VmHWM after the keystroke run", "MB", None,
    mb(single("tipora_keys", "hwm_kb_typed")))
if typed[0] is not None and typed[1] is not None:
    add("memory", "growth over the keystroke run", "MB", None, typed[1] - typed[0])
growth = single("in_process", "rss_kb_growth_ten_lessons")
add("memory", "growth, lesson 1 to lesson 10 (in-process)", "MB", None, mb(growth),
    target="0 (< 0.1)", ok=None if growth is None else growth < 100)

# Keystroke to screen.
p99 = single("tipora_keys", "key_to_screen_ms_p99")
add("keys", "key to screen, median", "ms", None, single("tipora_keys", "key_to_screen_ms_median"))
add("keys", "key to screen, p99", "ms", None, p99, target="< 4",
    ok=None if p99 is None else p99 < 4)
add("keys", "key to screen, max", "ms", None, single("tipora_keys", "key_to_screen_ms_max"))
add("keys", "keys never drawn", "", None, single("tipora_keys", "keys_not_drawn"))
cost = single("in_process", "press_us_p99")
add("keys", "in-process press, median", "us", None, single("in_process", "press_us_median"))
add("keys", "in-process press, p99", "us", None, cost, target="< 50",
    ok=None if cost is None else cost < 50)
cpu = single("in_process", "press_cpu_us_p99")
add("keys", "in-process press, thread CPU, median", "us", None,
    single("in_process", "press_cpu_us_median"))
add("keys", "in-process press, thread CPU, p99", "us", None, cpu, target="< 50",
    ok=None if cpu is None else cpu < 50)
add("keys", "in-process release, p99", "us", None, single("in_process", "release_us_p99"))

add("idle", "clock tick, in-process thread CPU", "us", None,
    single("in_process", "clock_tick_cpu_us_median"))
# Idle.
for state in ("main", "metronome", "paused"):
    cpu = (single("floor_idle", "idle_%s_cpu_s_per_10s" % state),
           single("tipora_idle", "idle_%s_cpu_s_per_10s" % state),
           single("peer_idle", "idle_%s_cpu_s_per_10s" % state))
    target = {"main": "<= 0.005", "paused": "<= 0.005"}.get(state)
    ok = None if cpu[1] is None or target is None else cpu[1] <= 0.005
    add("idle", "CPU, %s" % state, "s/10s", *cpu, target=target, ok=ok)
    own = (single("floor_idle", "idle_%s_main_thread_cpu_s_per_10s" % state),
           single("tipora_idle", "idle_%s_main_thread_cpu_s_per_10s" % state),
           single("peer_idle", "idle_%s_main_thread_cpu_s_per_10s" % state))
    add("idle", "CPU of the window's thread, %s" % state, "s/10s", *own)
    wake = (single("floor_idle", "idle_%s_wakeups_per_s" % state),
            single("tipora_idle", "idle_%s_wakeups_per_s" % state),
            single("peer_idle", "idle_%s_wakeups_per_s" % state))
    add("idle", "wake-ups, %s" % state, "/s", *wake)
    sound = (single("floor_idle", "idle_%s_sound_server_cpu_s_per_10s" % state),
             single("tipora_idle", "idle_%s_sound_server_cpu_s_per_10s" % state),
             single("peer_idle", "idle_%s_sound_server_cpu_s_per_10s" % state))
    add("idle", "sound server CPU, %s" % state, "s/10s", *sound)

# What a bare window spends on a clock label rewritten once a second, beside the tutor's clock.
add("idle", "CPU, main, floor with a ticking clock", "s/10s",
    single("floor_clock_idle", "idle_main_cpu_s_per_10s"),
    single("tipora_idle", "idle_main_cpu_s_per_10s"))
add("idle", "CPU of the window's thread, main, floor with a ticking clock", "s/10s",
    single("floor_clock_idle", "idle_main_main_thread_cpu_s_per_10s"),
    single("tipora_idle", "idle_main_main_thread_cpu_s_per_10s"))

# The beat.
for kind, source in (("beat_timer", "timer"), ("beat_recorded", "recording")):
    for r in of(kind):
        tempo = r["tempo"]
        add("beat", "%d bpm %s: mean period error" % (tempo, source), "ms", None,
            r.get("mean_error_ms"))
        add("beat", "%d bpm %s: p99 jitter" % (tempo, source), "ms", None, r.get("p99_jitter_ms"))
        if "lost" in r:
            add("beat", "%d bpm recording: lost/late clicks" % tempo, "", None,
                r["lost"] + r["late"])


def cell(value, unit):
    if value is None:
        return "-"
    if isinstance(value, bool):
        return str(value)
    if unit in ("ms", "us", "/s") or unit == "":
        if abs(value) < 10:
            return "%.2f" % value
        return "%.1f" % value if abs(value) < 1000 else "%.0f" % value
    if unit == "MB":
        return "%.2f" % value
    return "%.4f" % value


peer_title = peer_name or "peer (absent)"
header = ("", "unit", "floor", "tipora", "- floor", peer_title[:14], "target", "met")
if earlier:
    header += ("earlier",)
lines = [header]
section_seen = None
for section, name, unit, floor, tipora, peer, target, ok in table:
    if section != section_seen:
        lines.append(("[%s]" % section,) + ("",) * (len(header) - 1))
        section_seen = section
    diff = tipora - floor if floor is not None and tipora is not None else None
    line = ("  " + name, unit, cell(floor, unit), cell(tipora, unit), cell(diff, unit),
            cell(peer, unit), target or "", {True: "yes", False: "NO", None: ""}[ok])
    if earlier:
        old = earlier.get("figures", {}).get(name, {}).get("tipora")
        line += (cell(old, unit),)
    lines.append(line)
widths = [max(len(str(line[i])) for line in lines) for i in range(len(header))]
print()
print("Tipora benchmark: %s; start-up and memory are medians of %d interleaved rounds" %
      (machine, runs))
print("peer: %s" % (peer_name or "TIPP10 is not installed (apt-get install tipp10); no peer column"))
for line in lines:
    print("  ".join(str(v).ljust(widths[i]) if i == 0 else str(v).rjust(widths[i])
                    for i, v in enumerate(line)))
for problem in problems:
    print("problem: " + problem)
results["problems"] = problems
results["runs"] = runs
with open(results_path, "w", encoding="utf-8") as f:
    json.dump(results, f, indent=1)
print("figures written to %s" % results_path)
