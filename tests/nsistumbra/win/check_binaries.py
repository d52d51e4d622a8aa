#!/usr/bin/python3
"""Checks the shipped plug-in DLLs as a loader and NSIS see them: exactly the export
names of the table, OLEAUT32 imported by ordinal only, nothing but KnownDLLs and the
version library imported, each flavour loadable where it always was within its size
ceiling (tests/release/pe_image.py), and on i686 made of the 486's instructions alone and
marked as free of exception handlers.
The exports' calling convention is the compiler's to check (plugin_exports_win32.cpp)."""

import argparse
import os
import sys

import pefile

import pe_image

# Every function an installer calls, each with cdecl linkage.
EXPORTS = ["dxversion", "needdxver", "needdxver2", "thisiswinnt2"]
OLEAUT32_ORDINALS = {7, 8, 9}
MAX_BYTES = {"x86-ansi": 12 * 1024, "x86-unicode": 12 * 1024, "amd64-unicode": 14 * 1024}


def check(dll):
    image = pefile.PE(dll)
    flavour = os.path.basename(os.path.dirname(dll))
    problems = (pe_image.loader_problems(image, dll, MAX_BYTES[flavour])
                + pe_image.import_problems(image, dll) + pe_image.code_problems(image))
    exports = pe_image.exports(image)
    if sorted(name for name, _ in exports) != sorted(EXPORTS):
        problems.append(f"exports {[name for name, _ in exports]}, expected {EXPORTS}")

    oleaut32 = next((entries for name, entries in pe_image.imports(image).items()
                     if name.lower() == "oleaut32.dll"), [])
    if {ordinal for ordinal, _ in oleaut32} != OLEAUT32_ORDINALS or any(n for _, n in oleaut32):
        problems.append(f"OLEAUT32 imports {oleaut32}, expected ordinals 7, 8, 9 without names")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("dlls", nargs="+")
    arguments = parser.parse_args()
    failed = 0
    for dll in arguments.dlls:
        problems = check(dll)
        print(f"{dll}: {os.path.getsize(dll)} bytes, {'FAILED' if problems else 'ok'}")
        print("".join(f"  {problem}\n" for problem in problems), end="")
        failed |= bool(problems)
    return failed


if __name__ == "__main__":
    sys.exit(main())
