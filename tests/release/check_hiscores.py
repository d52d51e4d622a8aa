#!/usr/bin/python3
"""Checks the shipped hiscores.exe as a player's system sees it: it imports only
Windows system DLLs, loads where it always has (pe_image.py) within 32 KiB, carries the
manifest Windows reads at start-up (themed controls, system DPI awareness and no
execution level, which would switch off the registry virtualisation the records may
live in), and no piece of the C or C++ runtime's start-up code nor a static constructor.

The last two are read from the link map: the linker lists every archive member it
pulled in and every input section, so an object from the C++ library, its support
library, the unwinder or the runtime start-up shows up there even though the program
itself is stripped of symbols. Without the start-up code a static constructor would
never run."""

import argparse
import os
import re
import struct
import sys
from xml.etree import ElementTree

import pe_image

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "advapi32.dll",
               "ws2_32.dll", "wsock32.dll", "msvcrt.dll", "comctl32.dll", "comdlg32.dll",
               "ole32.dll", "oleaut32.dll", "version.dll", "winmm.dll"}
MAX_BYTES = 32 * 1024
RUNTIME_ARCHIVES = {"libstdc++.a", "libsupc++.a", "libgcc_eh.a", "libmingw32.a"}
RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID = 24, 1
ASM_V1, ASM_V3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
WINDOWS_SETTINGS = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
COMMON_CONTROLS_6 = {"type": "win32", "name": "Microsoft.Windows.Common-Controls",
                     "version": "6.0.0.0", "publicKeyToken": "6595b64144ccf1df"}


def pulled_archive_members(map_text):
    """(archive file name, member) for every archive member the link took in."""
    section = map_text.split("Archive member included to satisfy reference by file", 1)
    if len(section) != 2:
        return None
    listing = re.split(r"^(?:Discarded input sections|Allocating common symbols|"
                       r"Memory Configuration)", section[1], maxsplit=1, flags=re.M)[0]
    return [(os.path.basename(archive), member) for archive, member in
            re.findall(r"^(\S+\.a)\((\S+?)\)", listing, re.M)]


def static_constructors(map_text):
    """Input sections of constructor tables with something in them."""
    return re.findall(r"^ (\.(?:ctors|init_array)\S*)\s+0x[0-9a-f]+\s+0x0*[1-9a-f][0-9a-f]*\s+(\S+)",
                      map_text, re.M)


def resource(image, type_id, name_id):
    """The bytes of a resource of the PE image, in its first language, or None: the
    resource directory's three levels (type, name, language) as the loader walks them."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    count, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    data_directories = optional + (96 if struct.unpack_from("<H", image, optional)[0] == 0x10B
                                   else 112)
    sections = [struct.unpack_from("<12xIII", image, optional + optional_size + 40 * i)
                for i in range(count)]

    def offset(rva):
        return next(rva - address + raw for address, size, raw in sections
                    if address <= rva < address + size)

    root = offset(struct.unpack_from("<I", image, data_directories + 2 * 8)[0])
    entry = 0
    for wanted in (type_id, name_id, None):
        named, numbered = struct.unpack_from("<HH", image, root + entry + 12)
        entries = [struct.unpack_from("<II", image, root + entry + 16 + 8 * i)
                   for i in range(named + numbered)]
        entry = next((target & 0x7FFFFFFF for number, target in entries
                      if wanted in (None, number)), None)
        if entry is None:
            return None
    address, size = struct.unpack_from("<II", image, root + entry)
    return image[offset(address):offset(address) + size]


def manifest_problems(exe):
    with open(exe, "rb") as f:
        text = resource(f.read(), RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID)
    if text is None:
        return ["no manifest resource (type 24, id 1)"]
    manifest = ElementTree.fromstring(text)
    problems = []
    dependencies = manifest.iterfind(f"{ASM_V1}dependency/{ASM_V1}dependentAssembly/"
                                     f"{ASM_V1}assemblyIdentity")
    if not any(COMMON_CONTROLS_6.items() <= d.attrib.items() for d in dependencies):
        problems.append("manifest: no dependency on the common controls version 6")
    dpi = [e.text for e in manifest.iterfind(f"{ASM_V3}application/{ASM_V3}windowsSettings/"
                                             f"{WINDOWS_SETTINGS}dpiAware")]
    if dpi != ["true"]:
        problems.append(f"manifest: dpiAware {dpi}, expected ['true']")
    for element in manifest.iter():
        if element.tag.rsplit("}", 1)[-1] in ("trustInfo", "requestedExecutionLevel"):
            problems.append(f"manifest: {element.tag} would switch off registry virtualisation")
    return problems


def check(objdump, exe, link_map):
    headers = pe_image.headers(objdump, exe)
    problems = pe_image.loader_problems(headers, exe, MAX_BYTES) + manifest_problems(exe)
    dlls = re.findall(r"^\s*DLL Name: (\S+)", headers, re.M)
    if not dlls:
        problems.append("no imports found: not a PE program?")
    for dll in dlls:
        if dll.lower() not in SYSTEM_DLLS:
            problems.append(f"imports {dll}, which is not a Windows system DLL")

    # The linker writes the map after the program; an older map is left from a link
    # that no longer writes one, and would tell nothing about this program.
    if os.path.getmtime(link_map) < os.path.getmtime(exe):
        problems.append(f"{link_map} is older than the program")
    with open(link_map, encoding="utf-8", errors="replace") as f:
        map_text = f.read()
    members = pulled_archive_members(map_text)
    if members is None:
        problems.append(f"{link_map} lists no archive members: not a linker map?")
        members = []
    for archive, member in members:
        if archive in RUNTIME_ARCHIVES:
            problems.append(f"runtime object linked in: {archive}({member})")
    for section, source in static_constructors(map_text):
        problems.append(f"static constructor that would never run: {section} of {source}")
    return dlls, os.path.getsize(exe), problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--map", required=True, help="the linker map of the program")
    parser.add_argument("exe")
    arguments = parser.parse_args()
    dlls, size, problems = check(arguments.objdump, arguments.exe, arguments.map)
    print(f"{arguments.exe}: {size} bytes, imports {', '.join(dlls)}")
    for problem in problems:
        print(f"  {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
