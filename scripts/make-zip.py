#!/usr/bin/python3
"""Writes the release zip from the built binaries and the repository's pages.

The zip depends only on the files' bytes: every entry gets the same time stamp
(SOURCE_DATE_EPOCH when set, else 1980-01-01), the same permissions and a fixed place
in a fixed order, so building it twice from the same commit gives the same bytes.

Given a certificate and its key, it signs the built files with Authenticode first
(osslsigncode), timestamped when a timestamp server's URL is given too. A signature
holds the time of signing, so signed zips are never the same bytes twice. SHA256SUMS
lists the files as they are in the zip, signed or not.

    make-zip.py --source DIR --win32 DIR --win64 DIR --output FILE
                [--sign-cert FILE --sign-key FILE [--timestamp-url URL]]
"""

import argparse
import hashlib
import os
import subprocess
import sys
import tempfile
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


def sign(contents, certificate, key, timestamp_url):
    """contents with every built file signed with SHA-256 digests (Windows no longer
    trusts SHA-1 ones), timestamped by the RFC 3161 server at timestamp_url if given."""
    timestamp = ["-ts", timestamp_url] if timestamp_url else []
    signed = []
    with tempfile.TemporaryDirectory() as work:
        for number, (name, data) in enumerate(contents):
            if name in release_files.built():
                unsigned, output = (os.path.join(work, "%d.%s" % (number, kind))
                                    for kind in ("in", "out"))
                with open(unsigned, "wb") as f:
                    f.write(data)
                subprocess.run(["osslsigncode", "sign", "-certs", certificate, "-key", key,
                                "-h", "sha256", *timestamp, "-in", unsigned, "-out", output],
                               check=True, stdout=subprocess.DEVNULL)
                with open(output, "rb") as f:
                    data = f.read()
            signed.append((name, data))
    return signed


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
    parser.add_argument("--sign-cert", help="a code signing certificate (PEM or DER)")
    parser.add_argument("--sign-key", help="its private key")
    parser.add_argument("--timestamp-url", help="an RFC 3161 timestamp server")
    arguments = parser.parse_args()
    if bool(arguments.sign_cert) != bool(arguments.sign_key):
        parser.error("--sign-cert and --sign-key go together")
    if arguments.timestamp_url and not arguments.sign_cert:
        parser.error("--timestamp-url needs --sign-cert and --sign-key")
    roots = {"source": arguments.source, "win32": arguments.win32, "win64": arguments.win64}
    contents = read_bundle(roots)
    if arguments.sign_cert:
        contents = sign(contents, arguments.sign_cert, arguments.sign_key,
                        arguments.timestamp_url)
    write_zip(arguments.output, contents)
    return 0


if __name__ == "__main__":
    sys.exit(main())
