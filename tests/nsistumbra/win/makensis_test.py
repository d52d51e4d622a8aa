#!/usr/bin/python3
"""Real installers built with makensis against the freshly built plug-in.

compile: the example script builds for each flavour given; makensis refuses a call to
         a function the DLL does not export, so this checks the export names too.
run:     the probe installer of each flavour given runs silently under the build's Wine
         (the rig's runner), with the DirectX diagnostic provider, without it, and with
         Wine reporting Windows 98, and writes the plug-in's answers to a file.
"""

import argparse
import os
import shutil
import subprocess
import sys

from rig import wine

PROVIDER_ON = {
    "dxversion": "9.0c below",
    "DirectXVersion": "9.0c below",
    "needdxver 90003": "ok",
    "needdxver 90004": "sorry",
    "needdxver 90000": "ok",
    "needdxver2 90003": "1",
    "needdxver2 90004": "0",
    "needdxver2 90000": "1",
    "one-entry": "err empty",
    "thisiswinnt2": "1",
    "DirectXAtLeast 90003": "true",
    "IsWindowsNT": "true",
}

# Without the provider the file table answers 9.0 from Wine's system files.
PROVIDER_OFF = dict(PROVIDER_ON, **{
    "dxversion": "9.0 below",
    "DirectXVersion": "9.0 below",
    "needdxver 90003": "sorry",
    "needdxver2 90003": "0",
    "DirectXAtLeast 90003": "false",
})

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


def makensis(work, flavour, plugins, script, *defines):
    command = ["makensis", "-V2", "-NOCD", f"-XTarget {flavour}",
               f"-X!addplugindir /{flavour} {os.path.join(plugins, flavour)}",
               f"-X!addincludedir {HEADER_FOLDER}",
               *[f"-D{define}" for define in defines], script]
    result = subprocess.run(command, cwd=work, capture_output=True, text=True)
    if result.returncode != 0:
        print(" ".join(command))
        print(result.stdout, result.stderr)
    return result.returncode == 0


def fresh_directory(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)


def compile_example(arguments):
    failed = []
    for flavour in arguments.flavours:
        work = os.path.join(arguments.work, flavour)
        fresh_directory(work)
        if makensis(work, flavour, arguments.plugins, arguments.example):
            print(f"{flavour}: example compiled")
        else:
            failed.append(flavour)
    return 1 if failed else 0


def run_installers(arguments):
    fresh_directory(arguments.work)
    failed = 0 != wine.run([
        "reg", "add", r"HKCU\Software\Wine\AppDefaults\%s" % WINDOWS_98_PROBE,
        "/v", "Version", "/t", "REG_SZ", "/d", "win98", "/f"])[0]
    for flavour in arguments.flavours:
        work = os.path.join(arguments.work, flavour)
        os.makedirs(work)
        if not makensis(work, flavour, arguments.plugins, arguments.probe,
                        f"OUTFILE={os.path.join(work, 'probe.exe')}",
                        "RESULTS=$EXEDIR\\results.txt"):
            failed = True
            continue
        shutil.copy(os.path.join(work, "probe.exe"), os.path.join(work, WINDOWS_98_PROBE))
        for title, environment, installer, expected in ROWS:
            results = os.path.join(work, "results.txt")
            if os.path.exists(results):
                os.remove(results)
            wine.run([os.path.join(work, installer), "/S"], timeout=120, **environment)
            text = open(results, encoding="latin-1").read() if os.path.exists(results) else ""
            answers = dict(line.partition(": ")[::2] for line in text.splitlines())
            print(f"{flavour}, {title}: {answers}")
            if answers != expected:
                print(f"  expected {expected}")
                failed = True
    return 1 if failed else 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["compile", "run"])
    parser.add_argument("--example")
    parser.add_argument("--probe")
    parser.add_argument("--plugins", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("flavours", nargs="+")
    arguments = parser.parse_args()
    return compile_example(arguments) if arguments.mode == "compile" else run_installers(arguments)


if __name__ == "__main__":
    sys.exit(main())
