#!/usr/bin/python3
"""Measures one Windows build on its own Wine, in the private namespace of the test rig
(tests/rig) under one persistent wineserver, and prints the measurements of several
builds side by side:

- silent runs of hiscores.exe (no records; an upload to a local server) against a bare
  start of a do-nothing program and against a do-nothing program that imports the same
  system DLLs, as ratios of medians;
- the needdxver answer time of the build's Unicode plug-in with the DirectX diagnostic
  provider on and off, against the raw diagnostic query alone;
- the sizes of the shipped binaries.

    bench.py measure --helpers DIR --plugin DLL --build NAME --wine NAME --output FILE
        (through scripts/with-rig.sh, which names the program, the Wine and the prefix)
    bench.py report --win32 BUILD --win64 BUILD FILE...

bench/run.sh builds everything and runs both.
"""

import argparse
import json
import os
import re
import statistics
import sys
import time

import release_files
from rig import environment, namespace, registry, servers, wine

ROUNDS = 5
RUNS_PER_ROUND = 3
TIMER_PROCESSES = 5
TIMER_CALLS = 5
REQUIREMENT = "90003"
GAMES = [("Alpha", [b"alpha 100 Ann", b"alpha 90 Bob"]), ("Beta", [b"beta 7 Cy"])]
PROVIDER_OFF = {"WINEDLLOVERRIDES": "dxdiagn=d"}


def timed(function, *args, **kwargs):
    start = time.perf_counter()
    result = function(*args, **kwargs)
    return time.perf_counter() - start, result


def start_times(program, args=(), expected_code=0, runs=RUNS_PER_ROUND):
    """Wall times of runs starts of program, each checked for its exit code."""
    times = []
    for _ in range(runs):
        seconds, (code, errors) = timed(wine.run, [program, *args])
        if code != expected_code:
            raise RuntimeError("%s exited with %d, expected %d: %s"
                               % (program, code, expected_code, errors[-500:]))
        times.append(seconds)
    return times


def silent_times(exe, games, runs=RUNS_PER_ROUND):
    """Silent runs: with no records (exit code 1), or uploading to a local server."""
    registry.set_records(games)
    if not games:
        return start_times(exe, ["send"], expected_code=1, runs=runs)
    with servers.RecordingServer():
        return start_times(exe, ["send"], expected_code=0, runs=runs)


def call_times(command, **extra_env):
    """A timer program's calls, per process: its wall time, the first call's time and
    the later calls' median, in seconds, and the answers seen."""
    process_times, first_calls, later_calls, answers = [], [], [], set()
    for _ in range(TIMER_PROCESSES):
        seconds, (code, errors) = timed(wine.run, command, **extra_env)
        calls = re.findall(r"^call (\d+) (\d+) (\S*)\r?$", errors, re.M)
        if code != 0 or len(calls) != TIMER_CALLS:
            raise RuntimeError("%s failed (%d): %s" % (command[0], code, errors[-500:]))
        process_times.append(seconds)
        first_calls.append(int(calls[0][1]) / 1e6)
        later_calls.extend(int(microseconds) / 1e6 for _, microseconds, _ in calls[1:])
        answers.update(answer for _, _, answer in calls)
    return {"process": statistics.median(process_times), "first": statistics.median(first_calls),
            "later": statistics.median(later_calls), "answer": "/".join(sorted(answers))}


def measure(arguments):
    exe = environment.program()
    bare = os.path.join(arguments.helpers, "do_nothing.exe")
    importing = os.path.join(arguments.helpers, "do_nothing_imports.exe")
    # One start of each first warms the caches; then rounds, so that a slow spell of
    # the machine hits all alike.
    start_times(bare, runs=1)
    start_times(importing, runs=1)
    silent_times(exe, [], runs=1)
    silent_times(exe, GAMES, runs=1)
    runs = {"bare": [], "imports": [], "no records": [], "upload": []}
    for _ in range(ROUNDS):
        runs["bare"] += start_times(bare)
        runs["imports"] += start_times(importing)
        runs["no records"] += silent_times(exe, [])
        runs["upload"] += silent_times(exe, GAMES)

    raw = [os.path.join(arguments.helpers, "dxdiag_timer.exe"), str(TIMER_CALLS)]
    needdxver = [os.path.join(arguments.helpers, "needdxver_timer.exe"), arguments.plugin,
                 REQUIREMENT, str(TIMER_CALLS)]
    results = {
        "build": arguments.build, "wine": arguments.wine,
        "plugin": os.path.basename(os.path.dirname(arguments.plugin)),
        "starts": {name: statistics.median(times) for name, times in runs.items()},
        "start count": len(runs["bare"]),
        "raw query": call_times(raw),
        "needdxver on": call_times(needdxver),
        "needdxver off": call_times(needdxver, **PROVIDER_OFF),
    }
    with open(arguments.output, "w") as f:
        json.dump(results, f, indent=1)
    return 0


def milliseconds(seconds):
    return "%.1f ms" % (seconds * 1000)


def print_table(title, header, rows):
    widths = [max(len(str(row[column])) for row in [header] + rows) for column in range(len(header))]
    print("\n" + title)
    for row in [header, ["-" * width for width in widths]] + rows:
        print("  " + "  ".join(str(cell).ljust(width) for cell, width in zip(row, widths)).rstrip())


def report(arguments):
    measured = []
    for path in arguments.results:
        with open(path) as f:
            measured.append(json.load(f))

    rows = []
    for m in measured:
        starts = m["starts"]
        for name, key in (("do-nothing program (bare start)", "bare"),
                          ("do-nothing, importing hiscores.exe's DLLs", "imports"),
                          ("hiscores.exe send, no records (exit 1)", "no records"),
                          ("hiscores.exe send, upload to local server (exit 0)", "upload")):
            rows.append([name, m["build"], m["wine"], milliseconds(starts[key]),
                         "%.2f" % (starts[key] / starts["bare"]),
                         "%.2f" % (starts[key] / starts["imports"])])
    print_table("Silent run against bare Wine process starts (median of %d each, persistent "
                "wineserver)" % measured[0]["start count"],
                ["run", "build", "Wine", "wall time", "/ bare", "/ importing"], rows)

    rows = []
    for m in measured:
        raw = m["raw query"]
        for name, key in (("raw diagnostic query alone", "raw query"),
                          ("needdxver, provider on", "needdxver on"),
                          ("needdxver, provider off (dxdiagn=d)", "needdxver off")):
            calls = m[key]
            label = name if key == "raw query" else "%s (%s)" % (name, m["plugin"])
            rows.append([label, m["build"], m["wine"], milliseconds(calls["first"]),
                         milliseconds(calls["later"]), milliseconds(calls["process"]),
                         "%.2f / %.2f" % (calls["first"] / raw["first"],
                                          calls["later"] / raw["later"]), calls["answer"]])
    print_table("needdxver %s against the raw diagnostic query (median of %d processes x %d "
                "calls)" % (REQUIREMENT, TIMER_PROCESSES, TIMER_CALLS),
                ["calls", "build", "Wine", "first call", "later calls", "whole process",
                 "/ raw (first / later)", "answer"], rows)

    rows = []
    for name, path in release_files.located({"win32": arguments.win32, "win64": arguments.win64}):
        size = os.path.getsize(path)
        rows.append([name, str(size), "%.1f" % (size / 1024)])
    print_table("Shipped binaries", ["file", "bytes", "KiB"], rows)
    return 0


def main():
    parser = argparse.ArgumentParser()
    modes = parser.add_subparsers(dest="mode", required=True)
    one = modes.add_parser("measure")
    for option in ("--helpers", "--plugin", "--build", "--wine", "--output"):
        one.add_argument(option, required=True)
    both = modes.add_parser("report")
    both.add_argument("--win32", required=True)
    both.add_argument("--win64", required=True)
    both.add_argument("results", nargs="+")
    arguments = parser.parse_args()
    if arguments.mode == "report":
        return report(arguments)
    namespace.run_in_namespace(lambda: measure(arguments))
    return 0


if __name__ == "__main__":
    sys.exit(main())
