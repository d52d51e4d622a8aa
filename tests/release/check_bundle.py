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

import release_files

CHECKSUMS = "SHA256SUMS"


def build(cmake, source, preset, binary_dir, server_host):
    shutil.rmtree(binary_dir, ignore_errors=True)
    subprocess.run([cmake, "-S", source, "--preset", preset, "-B", binary_dir,
                    "-DHISCORES_SERVER_HOST=" + server_host],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run([cmake, "--build", binary_dir, "-j2", "--target",
                    *release_files.targets(preset)], check=True, stdout=subprocess.DEVNULL)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def first_difference(a, b):
    return next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))


def compare_builds(preset, tested, rebuilt):
    problems = []
    for (_, first), (_, second) in zip(release_files.located({preset: tested}),
                                       release_files.located({preset: rebuilt})):
        a, b = read(first), read(second)
        if a != b:
            problems.append(f"{second}: a second build differs from byte"
                            f" {first_difference(a, b):#x} ({len(a)} and {len(b)} bytes)")
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


def make_zip(make_zip_script, roots, output, *signing):
    os.makedirs(os.path.dirname(output), exist_ok=True)
    subprocess.run(["/usr/bin/python3", make_zip_script, "--source", roots["source"],
                    "--win32", roots["win32"], "--win64", roots["win64"], "--output", output,
                    *signing], check=True)
    return read(output)


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

    for name, path in expected.items():
        if name in contents and contents[name] != read(path):
            problems.append(f"{name} is not {path}")
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
    for name, digest in listed.items():
        if name in contents and hashlib.sha256(contents[name]).hexdigest() != digest:
            problems.append(f"{CHECKSUMS}: wrong digest for {name}")
    return problems


def check_signed(make_zip_script, roots, work):
    certificate, key = os.path.join(work, "signer.pem"), os.path.join(work, "signer-key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                    "-subj", "/CN=Tumbra release test", "-keyout", key, "-out", certificate],
                   check=True, capture_output=True)
    signed_zip = os.path.join(work, "signed", "tumbra.zip")
    make_zip(make_zip_script, roots, signed_zip, "--sign-cert", certificate, "--sign-key", key)
    names, contents, problems = read_zip(signed_zip)
    for name in release_files.built():
        path = os.path.join(work, "signed", name.replace("/", "_"))
        with open(path, "wb") as f:
            f.write(contents.get(name, b""))
        verify = subprocess.run(["osslsigncode", "verify", "-CAfile", certificate, "-in", path],
                                capture_output=True, text=True)
        if verify.returncode != 0:
            problems.append(f"signed {name} does not verify: {verify.stdout}{verify.stderr}")
    return problems + checksum_problems(names, contents)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--win32", required=True, help="the tested win32 build folder")
    parser.add_argument("--server-host", required=True)
    parser.add_argument("--work", required=True)
    arguments = parser.parse_args()
    source, work = arguments.source, arguments.work
    make_zip_script = os.path.join(source, "scripts", "make-zip.py")
    shutil.rmtree(work, ignore_errors=True)

    # The win32 preset's tests run before any win64 build exists: build the amd64
    # plug-in twice here, and the i686 binaries once more.
    rebuilt = {name: os.path.join(work, "build-" + name) for name in
               ("win32", "win64-first", "win64-second")}
    build(arguments.cmake, source, "win32", rebuilt["win32"], arguments.server_host)
    build(arguments.cmake, source, "win64", rebuilt["win64-first"], arguments.server_host)
    build(arguments.cmake, source, "win64", rebuilt["win64-second"], arguments.server_host)
    problems = compare_builds("win32", arguments.win32, rebuilt["win32"])
    problems += compare_builds("win64", rebuilt["win64-first"], rebuilt["win64-second"])

    first_roots = {"source": source, "win32": arguments.win32, "win64": rebuilt["win64-first"]}
    second_roots = staged_copy({"source": source, "win32": rebuilt["win32"],
                                "win64": rebuilt["win64-second"]}, os.path.join(work, "staged"))
    first_zip = os.path.join(work, "first", "tumbra.zip")
    second_zip = os.path.join(work, "second", "tumbra.zip")
    first = make_zip(make_zip_script, first_roots, first_zip)
    second = make_zip(make_zip_script, second_roots, second_zip)
    if first != second:
        problems.append("two zips of the same sources differ:")
        problems += [f"  {a} / {b}" for a, b in zip(describe(first_zip), describe(second_zip))
                     if a != b]
    problems += check_contents(first_zip, first_roots)
    problems += check_signed(make_zip_script, first_roots, work)

    print(f"zip: {len(first)} bytes, sha256 {hashlib.sha256(first).hexdigest()}")
    for problem in problems:
        print(problem)
    if not problems:
        shutil.rmtree(work)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
