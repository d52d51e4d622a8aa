#!/usr/bin/python3
"""Checks the shipped plug-in DLLs as a loader and NSIS see them: exactly the export
names of the table, OLEAUT32 imported by ordinal only, nothing but KnownDLLs and the
version library imported, each flavour loadable where it always was within its size
ceiling (tests/release/pe_image.py), and on i686 marked as free of exception handlers
and with exports that return with a plain `ret` (the caller removes the arguments), read
from objdump's disassembly."""

import argparse
import os
import re
import subprocess
import sys

import pefile

import pe_image

# Every function an installer calls, each with cdecl linkage.
EXPORTS = ["dxversion", "needdxver", "needdxver2", "thisiswinnt2"]
OLEAUT32_ORDINALS = {7, 8, 9}
MAX_BYTES = {"x86-ansi": 12 * 1024, "x86-unicode": 12 * 1024, "amd64-unicode": 14 * 1024}


def first_return(tool, dll, address, hops=4):
    """The first return instruction met from address, following direct tail jumps."""
    listing = subprocess.run(
        [tool, "-d", f"--start-address={address:#x}", f"--stop-address={address + 512:#x}", dll],
        check=True, capture_output=True, text=True).stdout
    for mnemonic, operands in re.findall(
            r"^[ \t]*[0-9a-f]+:[ \t]+(?:[0-9a-f]{2} )+[ \t]*(\S+)[ \t]*(.*)$", listing, re.M):
        if mnemonic.startswith("ret"):
            return (mnemonic + " " + operands).strip()
        tail = re.match(r"^(0x[0-9a-f]+)", operands)
        if mnemonic == "jmp" and tail and hops > 0:
            return first_return(tool, dll, int(tail.group(1), 16), hops - 1)
    return None


def check(tool, dll):
    image = pefile.PE(dll)
    flavour = os.path.basename(os.path.dirname(dll))
    problems = (pe_image.loader_problems(image, dll, MAX_BYTES[flavour])
                + pe_image.import_problems(image, dll) + pe_image.seh_problems(image, dll, tool))
    exports = pe_image.exports(image)
    if sorted(name for name, _ in exports) != sorted(EXPORTS):
        problems.append(f"exports {[name for name, _ in exports]}, expected {EXPORTS}")

    oleaut32 = next((entries for name, entries in pe_image.imports(image).items()
                     if name.lower() == "oleaut32.dll"), [])
    if {ordinal for ordinal, _ in oleaut32} != OLEAUT32_ORDINALS or any(n for _, n in oleaut32):
        problems.append(f"OLEAUT32 imports {oleaut32}, expected ordinals 7, 8, 9 without names")

    if image.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        for name, rva in exports:
            ret = first_return(tool, dll, image.OPTIONAL_HEADER.ImageBase + rva)
            if ret != "ret":
                problems.append(f"{name} returns with {ret!r}, expected a plain ret (cdecl)")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True, help="disassembles the i686 images")
    parser.add_argument("dlls", nargs="+")
    arguments = parser.parse_args()
    failed = 0
    for dll in arguments.dlls:
        problems = check(arguments.objdump, dll)
        print(f"{dll}: {os.path.getsize(dll)} bytes, {'FAILED' if problems else 'ok'}")
        print("".join(f"  {problem}\n" for problem in problems), end="")
        failed |= bool(problems)
    return failed


if __name__ == "__main__":
    sys.exit(main())
