#!/usr/bin/python3
"""Measures, side by side in one run under one persistent wineserver, in the private
namespace of the test rig (tests/rig):

- a silent run of the x86_64 hiscores.exe (no records; and an upload to a local server)
  against a bare start of a do-nothing program, as a ratio of medians;
- the needdxver answer time of the amd64-unicode plug-in with the DirectX diagnostic
  provider on and off;
- the sizes of the shipped binaries.

Started by bench/run.sh, which builds everything and runs it through scripts/with-rig.sh
with the paths in the environment: DO_NOTHING_EXE, NEEDDXVER_TIMER_EXE, PLUGIN_DLL and
the win32 and win64 build folders, WIN32_BUILD and WIN64_BUILD.
"""

import os
import re
import statistics
import time

import release_files
from rig import environment, namespace, registry, servers, wine

ROUNDS = 5
RUNS_PER_ROUND = 3
NEEDDXVER_PROCESSES = 5
NEEDDXVER_CALLS = 5
REQUIREMENT = "90003"
GAMES = [("Alpha", [b"alpha 100 Ann", b"alpha 90 Bob"]), ("Beta", [b"beta 7 Cy"])]


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


def needdxver_times(**extra_env):
    """Per process: its wall time, the first call's time and the later calls' median,
    in seconds, and the verdicts seen."""
    process_times, first_calls, later_calls, verdicts = [], [], [], set()
    for _ in range(NEEDDXVER_PROCESSES):
        seconds, (code, errors) = timed(
            wine.run, [os.environ["NEEDDXVER_TIMER_EXE"], os.environ["PLUGIN_DLL"], REQUIREMENT,
                       str(NEEDDXVER_CALLS)], **extra_env)
        calls = re.findall(r"^call (\d+) (\d+) (\S*)\r?$", errors, re.M)
        if code != 0 or len(calls) != NEEDDXVER_CALLS:
            raise RuntimeError("needdxver timer failed (%d): %s" % (code, errors[-500:]))
        process_times.append(seconds)
        first_calls.append(int(calls[0][1]) / 1e6)
        later_calls.extend(int(microseconds) / 1e6 for _, microseconds, _ in calls[1:])
        verdicts.update(verdict for _, _, verdict in calls)
    return (statistics.median(process_times), statistics.median(first_calls),
            statistics.median(later_calls), "/".join(sorted(verdicts)))


def milliseconds(seconds):
    return "%.1f ms" % (seconds * 1000)


def print_table(title, header, rows):
    widths = [max(len(str(row[column])) for row in [header] + rows) for column in range(len(header))]
    print("\n" + title)
    for row in [header, ["-" * width for width in widths]] + rows:
        print("  " + "  ".join(str(cell).ljust(width) for cell, width in zip(row, widths)).rstrip())


def measure():
    exe = environment.program()
    do_nothing = os.environ["DO_NOTHING_EXE"]
    # One start of each first warms the caches; then rounds, so that a slow spell of
    # the machine hits all three alike.
    start_times(do_nothing, runs=1)
    silent_times(exe, [], runs=1)
    silent_times(exe, GAMES, runs=1)
    bare, no_records, upload = [], [], []
    for _ in range(ROUNDS):
        bare += start_times(do_nothing)
        no_records += silent_times(exe, [])
        upload += silent_times(exe, GAMES)
    bare_median = statistics.median(bare)
    rows = [["bare start (do-nothing x86_64)", milliseconds(bare_median), "1.00"]]
    for name, times in (("hiscores.exe send, no records (exit 1)", no_records),
                        ("hiscores.exe send, upload to local server (exit 0)", upload)):
        median = statistics.median(times)
        rows.append([name, milliseconds(median), "%.2f" % (median / bare_median)])
    print_table("Silent run against a bare Wine process start (median of %d, persistent "
                "wineserver)" % len(bare), ["run", "wall time", "ratio"], rows)

    rows = []
    for name, env in (("provider on", {}), ("provider off (dxdiagn=d)",
                                             {"WINEDLLOVERRIDES": "dxdiagn=d"})):
        process, first, later, verdicts = needdxver_times(**env)
        rows.append([name, milliseconds(first), milliseconds(later), milliseconds(process),
                     verdicts])
    print_table("needdxver %s, amd64-unicode plug-in (median of %d processes x %d calls)"
                % (REQUIREMENT, NEEDDXVER_PROCESSES, NEEDDXVER_CALLS),
                ["DirectX diagnostic provider", "first call", "later calls", "whole process",
                 "verdict"], rows)

    rows = []
    builds = {"win32": os.environ["WIN32_BUILD"], "win64": os.environ["WIN64_BUILD"]}
    for name, path in release_files.located(builds):
        size = os.path.getsize(path)
        rows.append([name, str(size), "%.1f" % (size / 1024)])
    print_table("Shipped binaries", ["file", "bytes", "KiB"], rows)
    return 0


if __name__ == "__main__":
    namespace.run_in_namespace(measure)
