#!/usr/bin/python3
"""Checks the shipped plug-in DLLs as a loader and NSIS see them: exactly the three
export names, OLEAUT32 imported by ordinal only, nothing but Windows system DLLs
imported, each flavour loadable where it always was within its size ceiling
(tests/release/pe_image.py), and on i686 exports that return with a plain `ret` (the
caller removes the arguments)."""

import argparse
import os
import re
import subprocess
import sys

import pe_image

EXPORTS = ["needdxver", "needdxver2", "thisiswinnt2"]
OLEAUT32_ORDINALS = {7, 8, 9}
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "version.dll"}
MAX_BYTES = {"x86-ansi": 12 * 1024, "x86-unicode": 12 * 1024, "amd64-unicode": 14 * 1024}


def objdump(tool, *args):
    return subprocess.run([tool, *args], check=True, capture_output=True, text=True).stdout


def export_table(headers):
    """Export names with their RVAs."""
    rvas = [int(m.group(1), 16) for m in
            re.finditer(r"^\s*\[\s*\d+\] \+base\[\s*\d+\]\s+([0-9a-f]+) Export RVA", headers, re.M)]
    section = headers.split("[Ordinal/Name Pointer] Table", 1)[1].split("\n\n", 1)[0]
    names = re.findall(r"^\s*\[\s*\d+\] (\S+)$", section, re.M)
    return names, rvas


def imports(headers):
    """{dll name: [(ordinal or None, name or None)]}."""
    table = {}
    current = None
    for line in headers.splitlines():
        dll = re.match(r"^\s*DLL Name: (\S+)", line)
        if dll:
            current = table.setdefault(dll.group(1), [])
            continue
        entry = re.match(r"^\s*([0-9a-f]+)\s+(\d+)\s+(\S+)", line)
        if current is not None and entry and not line.strip().startswith("vma"):
            # The top bit of a 32- or 64-bit thunk marks an import by ordinal.
            by_ordinal = entry.group(1)[0] in "89abcdef" and len(entry.group(1)) in (8, 16)
            current.append((int(entry.group(2)) if by_ordinal else None,
                            None if entry.group(3) == "<none>" else entry.group(3)))
        elif not line.strip():
            current = None
    return table


def first_return(tool, dll, address, hops=4):
    """The first return instruction met from address, following direct tail jumps."""
    listing = objdump(tool, "-d", f"--start-address={address:#x}", f"--stop-address={address + 512:#x}", dll)
    for line in listing.splitlines():
        instruction = re.match(r"^\s*[0-9a-f]+:\s+(?:[0-9a-f]{2} )+\s*(\S+)\s*(.*)$", line)
        if not instruction:
            continue
        mnemonic, operands = instruction.groups()
        if mnemonic.startswith("ret"):
            return (mnemonic + " " + operands).strip()
        tail = re.match(r"^(0x[0-9a-f]+)", operands)
        if mnemonic == "jmp" and tail and hops > 0:
            return first_return(tool, dll, int(tail.group(1), 16), hops - 1)
    return None


def check(tool, dll):
    headers = pe_image.headers(tool, dll)
    flavour = os.path.basename(os.path.dirname(dll))
    problems = pe_image.loader_problems(headers, dll, MAX_BYTES[flavour])
    names, rvas = export_table(headers)
    if sorted(names) != EXPORTS:
        problems.append(f"exports {names}, expected {EXPORTS}")

    table = imports(headers)
    for name in table:
        if name.lower() not in SYSTEM_DLLS:
            problems.append(f"imports from {name}")
    oleaut32 = next((entries for name, entries in table.items() if name.lower() == "oleaut32.dll"), [])
    if {ordinal for ordinal, _ in oleaut32} != OLEAUT32_ORDINALS or any(n for _, n in oleaut32):
        problems.append(f"OLEAUT32 imports {oleaut32}, expected ordinals 7, 8, 9 without names")

    if "file format pei-i386" in headers:
        image_base = int(re.search(r"^ImageBase\s+([0-9a-f]+)", headers, re.M).group(1), 16)
        for name, rva in zip(names, rvas):
            ret = first_return(tool, dll, image_base + rva)
            if ret != "ret":
                problems.append(f"{name} returns with {ret!r}, expected a plain ret (cdecl)")
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("dlls", nargs="+")
    arguments = parser.parse_args()
    failed = False
    for dll in arguments.dlls:
        problems = check(arguments.objdump, dll)
        print(f"{dll}: {os.path.getsize(dll)} bytes, {'ok' if not problems else 'FAILED'}")
        for problem in problems:
            print(f"  {problem}")
        failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
