#!/usr/bin/python3
"""Real installers built with makensis against the freshly built plug-in.

    makensis_test.py compile|run SCRIPT --plugins DIR --work DIR FLAVOUR...

compile: the example SCRIPT builds for each flavour given; makensis refuses a call to
         a function the DLL does not export, so this checks the export names too.
run:     the probe installer SCRIPT of each flavour given runs silently under the build's
         Wine (the rig's runner), with the DirectX diagnostic provider, without it, and
         with Wine reporting Windows 98, and writes the plug-in's answers to a file.
"""

import argparse
import os
import shutil
import subprocess
import sys
from pathlib import Path

from rig import wine

# Each call's answer, in the probe's order.
PROVIDER_ON = {
    "DirectXAtLeast 90003": "true", "IsWindowsNT": "true",
    "needdxver 90003": "ok", "needdxver 90004": "sorry", "needdxver 90000": "ok",
    "needdxver2 90003": "1", "needdxver2 90004": "0", "needdxver2 90000": "1",
    "dxversion": "9.0c below", "DirectXVersion": "9.0c below",
    "one-entry": "err empty", "thisiswinnt2": "1",
}

# Without the provider the file table answers 9.0 from Wine's system files.
PROVIDER_OFF = dict(PROVIDER_ON, **{
    "DirectXAtLeast 90003": "false", "needdxver 90003": "sorry", "needdxver2 90003": "0",
    "dxversion": "9.0 below", "DirectXVersion": "9.0 below"})

WINDOWS_98 = dict(PROVIDER_ON, thisiswinnt2="0", IsWindowsNT="false")

# Wine reports Windows 98 to the program of this name only (its AppDefaults key), so
# the other tests of the shared prefix keep seeing an NT system.
WINDOWS_98_PROBE = "probe98.exe"

# (title, Wine's environment, the installer's file name, the answers expected)
ROWS = [
    ("provider on", {}, "probe.exe", PROVIDER_ON),
    ("provider off", {"WINEDLLOVERRIDES": "dxdiagn=d"}, "probe.exe", PROVIDER_OFF),
    ("Windows 98", {}, WINDOWS_98_PROBE, WINDOWS_98),
]


# Where the example and the probe find nsistumbra.nsh: the plug-in's sources.
HEADER_FOLDER = os.path.abspath(os.path.join(__file__, "..", "..", "..", "..", "nsistumbra"))


def makensis(arguments, flavour, work, *defines):
    """Compiles the script for the flavour in the fresh folder work; true when makensis
    succeeds."""
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    command = ["makensis", "-V2", "-NOCD", f"-XTarget {flavour}",
               f"-X!addplugindir /{flavour} {os.path.join(arguments.plugins, flavour)}",
               f"-X!addincludedir {HEADER_FOLDER}",
               *[f"-D{define}" for define in defines], arguments.script]
    result = subprocess.run(command, cwd=work, capture_output=True, text=True)
    if result.returncode != 0:
        print(" ".join(command))
        print(result.stdout, result.stderr)
    else:
        print(f"{flavour}: {os.path.basename(arguments.script)} compiled")
    return result.returncode == 0


def run_probes(arguments, flavour, work):
    """Builds the flavour's probe and runs it for each row; true when every answer is
    right."""
    if not makensis(arguments, flavour, work, f"OUTFILE={os.path.join(work, 'probe.exe')}",
                    "RESULTS=$EXEDIR\\results.txt"):
        return False
    shutil.copy(os.path.join(work, "probe.exe"), os.path.join(work, WINDOWS_98_PROBE))
    results = Path(work, "results.txt")
    passed = True
    for title, environment, installer, expected in ROWS:
        results.unlink(missing_ok=True)
        wine.run([os.path.join(work, installer), "/S"], timeout=120, **environment)
        text = results.read_text(encoding="latin-1") if results.exists() else ""
        answers = dict(line.partition(": ")[::2] for line in text.splitlines())
        print(f"{flavour}, {title}: {answers}")
        if answers != expected:
            print(f"  expected {expected}")
            passed = False
    return passed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["compile", "run"])
    parser.add_argument("script")
    parser.add_argument("--plugins", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("flavours", nargs="+")
    arguments = parser.parse_args()
    check = run_probes if arguments.mode == "run" else makensis
    failed = arguments.mode == "run" and 0 != wine.run([
        "reg", "add", r"HKCU\Software\Wine\AppDefaults\%s" % WINDOWS_98_PROBE,
        "/v", "Version", "/t", "REG_SZ", "/d", "win98", "/f"])[0]
    for flavour in arguments.flavours:
        failed |= not check(arguments, flavour, os.path.join(arguments.work, flavour))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
