#!/usr/bin/python3
"""Real installers built with makensis against the freshly built plug-in.

compile: the example script builds for each flavour given; makensis refuses a call to
         a function the DLL does not export, so this checks the export names too.
run:     the probe installer (amd64-unicode) runs silently under Wine, with the DirectX
         diagnostic provider and without it, and writes the plug-in's answers to a file.
"""

import argparse
import os
import shutil
import subprocess
import sys

PROVIDER_ON = {
    "needdxver 90003": "ok",
    "needdxver 90004": "sorry",
    "needdxver 90000": "ok",
    "needdxver2 90003": "1",
    "needdxver2 90004": "0",
    "needdxver2 90000": "1",
    "one-entry": "err empty",
    "thisiswinnt2": "1",
}

# Without the provider the file table answers 9.0 from Wine's system files.
PROVIDER_OFF = dict(PROVIDER_ON, **{
    "needdxver 90003": "sorry",
    "needdxver2 90003": "0",
})


def makensis(work, flavour, plugins, script, *defines):
    command = ["makensis", "-V2", "-NOCD", f"-XTarget {flavour}",
               f"-X!addplugindir /{flavour} {os.path.join(plugins, flavour)}",
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


def parse_results(text):
    answers = {}
    for line in text.splitlines():
        words = line.split(" ")
        if words[0] in ("needdxver", "needdxver2"):
            answers[" ".join(words[:2])] = " ".join(words[2:])
        else:
            answers[words[0]] = " ".join(words[1:])
    return answers


def run_installer(arguments):
    (flavour,) = arguments.flavours
    work = os.path.join(arguments.work, flavour)
    fresh_directory(work)
    if not makensis(work, flavour, arguments.plugins, arguments.probe,
                    f"OUTFILE={os.path.join(work, 'probe.exe')}", "RESULTS=$EXEDIR\\results.txt"):
        return 1
    failed = False
    for title, overrides, expected in (("provider on", None, PROVIDER_ON),
                                       ("provider off", "dxdiagn=d", PROVIDER_OFF)):
        results = os.path.join(work, "results.txt")
        if os.path.exists(results):
            os.remove(results)
        environment = dict(os.environ)
        if overrides:
            environment["WINEDLLOVERRIDES"] = overrides
        subprocess.run(["wine", "probe.exe", "/S"], cwd=work, env=environment,
                       capture_output=True, timeout=120, check=False)
        text = open(results, encoding="latin-1").read() if os.path.exists(results) else ""
        answers = parse_results(text)
        print(f"{title}: {answers}")
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
    return compile_example(arguments) if arguments.mode == "compile" else run_installer(arguments)


if __name__ == "__main__":
    sys.exit(main())
