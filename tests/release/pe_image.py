"""What a loader asks of a shipped PE image, read from `objdump -p`: its size ceiling,
a subsystem version every supported Windows accepts, ASLR and DEP with the relocations
ASLR needs, and no TLS directory (the mark of C runtime start-up code)."""

import os
import re
import subprocess

DYNAMIC_BASE = 0x40
NX_COMPAT = 0x100
# The subsystem version each architecture's images have always carried.
SUBSYSTEM_VERSIONS = {"pei-i386": (4, 0), "pei-x86-64": (5, 2)}


def headers(objdump, path):
    return subprocess.run([objdump, "-p", path], check=True, capture_output=True,
                          text=True).stdout


def directory_size(text, name):
    entry = re.search(r"^Entry [0-9a-f] [0-9a-f]+ ([0-9a-f]+) " + name, text, re.M)
    return int(entry.group(1), 16) if entry else 0


def loader_problems(text, path, max_bytes):
    problems = []
    size = os.path.getsize(path)
    if size > max_bytes:
        problems.append(f"{size} bytes, more than {max_bytes}")
    image_format = re.search(r"file format (\S+)", text).group(1)
    version = tuple(int(re.search(r"^%sSubsystemVersion\s+(\d+)" % part, text, re.M).group(1))
                    for part in ("Major", "Minor"))
    if version != SUBSYSTEM_VERSIONS.get(image_format):
        problems.append(f"subsystem version {version}, expected "
                        f"{SUBSYSTEM_VERSIONS.get(image_format)}")
    characteristics = int(re.search(r"^DllCharacteristics\s+([0-9a-f]+)", text, re.M).group(1), 16)
    if characteristics & (DYNAMIC_BASE | NX_COMPAT) != DYNAMIC_BASE | NX_COMPAT:
        problems.append(f"DllCharacteristics {characteristics:#x} lacks ASLR or DEP")
    if directory_size(text, "Base Relocation Directory") == 0:
        problems.append("no relocations, so ASLR cannot move it")
    if directory_size(text, "Thread Storage Directory") != 0:
        problems.append("a TLS directory: C runtime start-up code came in")
    return problems
