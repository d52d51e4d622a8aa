#!/usr/bin/python3
"""The release: every file of the zip, where it comes from, and the build targets that
make the built ones. Read by make-zip.py, dist.sh, the release check
(tests/release/check_bundle.py) and the benchmark (bench/).

    release_files.py targets BUILD    the targets to build in the win32 or win64 folder
"""

import os
import sys

# (name in the zip, where it comes from, path there, the target that builds it), in the
# order of the zip. The plug-in part mirrors an NSIS folder, so it can be unpacked into
# one.
FILES = [
    ("hiscores.exe", "win32", "hiscores/app/hiscores.exe", "hiscores"),
    ("PLAYING.md", "source", "docs/PLAYING.md", None),
    ("Plugins/x86-ansi/nsistumbra.dll", "win32", "nsistumbra/x86-ansi/nsistumbra.dll",
     "nsistumbra_x86-ansi"),
    ("Plugins/x86-unicode/nsistumbra.dll", "win32", "nsistumbra/x86-unicode/nsistumbra.dll",
     "nsistumbra_x86-unicode"),
    ("Plugins/amd64-unicode/nsistumbra.dll", "win64",
     "nsistumbra/amd64-unicode/nsistumbra.dll", "nsistumbra_amd64-unicode"),
    ("Include/nsistumbra.nsh", "source", "nsistumbra/nsistumbra.nsh", None),
    ("Docs/nsistumbra/USAGE.md", "source", "nsistumbra/USAGE.md", None),
    ("Examples/nsistumbra/example.nsi", "source", "nsistumbra/example.nsi", None),
    ("LICENSE", "source", "LICENSE", None),
]


def targets(build):
    return [target for _, root, _, target in FILES if root == build]


def built():
    """The names of the built files: the Windows program and DLLs, which a release may
    sign."""
    return [name for name, _, _, target in FILES if target]


def located(roots):
    """(name in the zip, file) of every release file from the folders roots names:
    "source", "win32" and "win64" mapped to the repository and the two build folders."""
    return [(name, os.path.join(roots[root], path)) for name, root, path, _ in FILES
            if root in roots]


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] != "targets":
        sys.exit(__doc__)
    print(" ".join(targets(sys.argv[2])))
