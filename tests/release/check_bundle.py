#!/usr/bin/python3
"""Checks that the release zip is reproducible and holds what it should.

Builds the shipped binaries again in fresh build folders (another path, a later
time), requires the same bytes as the tested build, then writes the zip twice: once
over the tested build, once over copies of the rebuilt files and the pages with other
times and permissions. The two zips must be the same bytes, hold exactly the
release's files, each equal to the file it comes from, and a SHA256SUMS that matches.
A third zip, signed with a self-signed certificate made for the run, must hold built
files whose signatures osslsigncode verifies, and a SHA256SUMS that matches them."""

import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import zipfile
from pathlib import Path

import release_files

CHECKSUMS = "SHA256SUMS"
MAKE_ZIP = os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "make-zip.py")


def build(arguments, preset, folder):
    binary_dir = os.path.join(arguments.work, "build-" + folder)
    for command in (["-S", arguments.source, "--preset", preset, "-B", binary_dir,
                     "-DHISCORES_SERVER_HOST=" + arguments.server_host],
                    ["--build", binary_dir, "-j2", "--target", *release_files.targets(preset)]):
        subprocess.run([arguments.cmake, *command], check=True, stdout=subprocess.DEVNULL)
    return binary_dir


def compare_builds(preset, tested, rebuilt):
    problems = []
    for (_, first), (_, second) in zip(release_files.located({preset: tested}),
                                       release_files.located({preset: rebuilt})):
        a, b = Path(first).read_bytes(), Path(second).read_bytes()
        if a != b:
            at = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
            problems.append(f"{second}: a second build differs from byte {at:#x}"
                            f" ({len(a)} and {len(b)} bytes)")
    return problems


def staged_copy(roots, staging):
    """Copies the release's files from their folders to staging, with other times and
    permissions; returns the staged folders."""
    staged = {}
    for number, (_, root, path, _) in enumerate(release_files.FILES):
        staged[root] = os.path.join(staging, root)
        target = os.path.join(staged[root], path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(os.path.join(roots[root], path), target)
        os.utime(target, (1_000_000_000 + number, 1_000_000_000 + number))
        os.chmod(target, 0o700 if number % 2 else 0o640)
    return staged


def make_zip(roots, output, *signing):
    os.makedirs(os.path.dirname(output), exist_ok=True)
    subprocess.run(["/usr/bin/python3", MAKE_ZIP, "--source", roots["source"],
                    "--win32", roots["win32"], "--win64", roots["win64"], "--output", output,
                    *signing], check=True)
    return Path(output).read_bytes()


def describe(zip_path):
    with zipfile.ZipFile(zip_path) as archive:
        return [(i.filename, i.date_time, oct(i.external_attr >> 16), i.CRC)
                for i in archive.infolist()]


def read_zip(zip_path):
    """The entries' names, their contents by name, and a problem if an entry is corrupt."""
    with zipfile.ZipFile(zip_path) as archive:
        names = archive.namelist()
        corrupt = archive.testzip()
        contents = {name: archive.read(name) for name in names}
    return names, contents, [] if corrupt is None else [f"corrupt entry {corrupt}"]


def check_contents(zip_path, roots):
    names, contents, problems = read_zip(zip_path)
    if len(names) != len(set(names)):
        problems.append(f"duplicate entries in {names}")
    expected = dict(release_files.located(roots))
    if set(names) != set(expected) | {CHECKSUMS}:
        problems.append(f"entries {sorted(names)}, expected {sorted(set(expected) | {CHECKSUMS})}")
    problems += [f"{name} is not {path}" for name, path in expected.items()
                 if name in contents and contents[name] != Path(path).read_bytes()]
    return problems + checksum_problems(names, contents)


def checksum_problems(names, contents):
    problems = []
    listed = {}
    for line in contents.get(CHECKSUMS, b"").decode("ascii", "replace").splitlines():
        entry = re.fullmatch(r"([0-9a-f]{64})  (\S+)", line)
        if not entry:
            problems.append(f"{CHECKSUMS}: malformed line {line!r}")
        elif entry.group(2) in listed:
            problems.append(f"{CHECKSUMS}: {entry.group(2)} listed twice")
        else:
            listed[entry.group(2)] = entry.group(1)
    if set(listed) != set(names) - {CHECKSUMS}:
        problems.append(f"{CHECKSUMS} lists {sorted(listed)}, the zip holds {sorted(names)}")
    return problems + [f"{CHECKSUMS}: wrong digest for {name}" for name, digest in listed.items()
                       if name in contents and hashlib.sha256(contents[name]).hexdigest() != digest]


def check_signed(roots, work):
    certificate, key = os.path.join(work, "signer.pem"), os.path.join(work, "signer-key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                    "-subj", "/CN=Tumbra release test", "-keyout", key, "-out", certificate],
                   check=True, capture_output=True)
    signed_zip = os.path.join(work, "signed", "tumbra.zip")
    make_zip(roots, signed_zip, "--sign-cert", certificate, "--sign-key", key)
    names, contents, problems = read_zip(signed_zip)
    for name in release_files.built():
        path = os.path.join(work, "signed", name.replace("/", "_"))
        Path(path).write_bytes(contents.get(name, b""))
        verify = subprocess.run(["osslsigncode", "verify", "-CAfile", certificate, "-in", path],
                                capture_output=True, text=True)
        if verify.returncode != 0:
            problems.append(f"signed {name} does not verify: {verify.stdout}{verify.stderr}")
    return problems + checksum_problems(names, contents)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    # --win32 names the tested win32 build folder.
    for option in ("--cmake", "--source", "--win32", "--server-host", "--work"):
        parser.add_argument(option, required=True)
    arguments = parser.parse_args()
    source, work = arguments.source, arguments.work
    shutil.rmtree(work, ignore_errors=True)

    # The win32 preset's tests run before any win64 build exists: build the amd64
    # plug-in twice here, and the i686 binaries once more.
    rebuilt = {folder: build(arguments, preset, folder) for preset, folder in
               (("win32", "win32"), ("win64", "win64-first"), ("win64", "win64-second"))}
    problems = compare_builds("win32", arguments.win32, rebuilt["win32"])
    problems += compare_builds("win64", rebuilt["win64-first"], rebuilt["win64-second"])

    first_roots = {"source": source, "win32": arguments.win32, "win64": rebuilt["win64-first"]}
    second_roots = staged_copy({"source": source, "win32": rebuilt["win32"],
                                "win64": rebuilt["win64-second"]}, os.path.join(work, "staged"))
    first_zip, second_zip = (os.path.join(work, run, "tumbra.zip") for run in ("first", "second"))
    first, second = make_zip(first_roots, first_zip), make_zip(second_roots, second_zip)
    if first != second:
        problems.append("two zips of the same sources differ:")
        problems += [f"  {a} / {b}" for a, b in zip(describe(first_zip), describe(second_zip))
                     if a != b]
    problems += check_contents(first_zip, first_roots)
    problems += check_signed(first_roots, work)

    print(f"zip: {len(first)} bytes, sha256 {hashlib.sha256(first).hexdigest()}")
    for problem in problems:
        print(problem)
    if not problems:
        shutil.rmtree(work)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
