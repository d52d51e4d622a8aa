#!/usr/bin/python3
"""Writes the release zip from the built binaries and the repository's pages.

The zip depends only on the files' bytes: every entry gets the same time stamp
(SOURCE_DATE_EPOCH when set, else 1980-01-01), the same permissions and a fixed place
in a fixed order, so building it twice from the same commit gives the same bytes.

    make-zip.py --source DIR --win32 DIR --win64 DIR --output FILE
"""

import argparse
import hashlib
import os
import sys
import time
import zipfile

import release_files

CHECKSUMS = "SHA256SUMS"
EARLIEST_ZIP_TIME = 315532800  # 1980-01-01 00:00:00 UTC, where zip time begins


def entry_time():
    epoch = max(int(os.environ.get("SOURCE_DATE_EPOCH", EARLIEST_ZIP_TIME)), EARLIEST_ZIP_TIME)
    return time.gmtime(epoch)[:6]


def entry(name, date_time):
    info = zipfile.ZipInfo(name, date_time)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 3  # Unix, so that the permission bits below are read
    info.external_attr = 0o100644 << 16
    return info


def read_bundle(roots):
    contents = []
    for name, path in release_files.located(roots):
        with open(path, "rb") as f:
            contents.append((name, f.read()))
    return contents


def checksums(contents):
    return "".join("%s  %s\n" % (hashlib.sha256(data).hexdigest(), name)
                   for name, data in contents).encode()


def write_zip(output, contents):
    date_time = entry_time()
    partial = output + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for name, data in contents + [(CHECKSUMS, checksums(contents))]:
            archive.writestr(entry(name, date_time), data, compresslevel=9)
    os.replace(partial, output)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--source", required=True, help="the repository")
    parser.add_argument("--win32", required=True, help="the win32 preset's build folder")
    parser.add_argument("--win64", required=True, help="the win64 preset's build folder")
    parser.add_argument("--output", required=True)
    arguments = parser.parse_args()
    roots = {"source": arguments.source, "win32": arguments.win32, "win64": arguments.win64}
    write_zip(arguments.output, read_bundle(roots))
    return 0


if __name__ == "__main__":
    sys.exit(main())
