#!/usr/bin/python3
"""Checks the shipped hiscores.exe as a player's system sees it: it imports only
KnownDLLs and the common controls its manifest binds, loads where it always has within
32 KiB and runs on a 486 (pe_image.py), runs from the swap file when started from a
removable or network disk, is terminal-server aware, carries the manifest Windows reads
at start-up (themed controls, system DPI awareness and no execution level, which would
switch off the registry virtualisation the records may live in), and no piece of the C
or C++ runtime's start-up code nor a static constructor.

The last two are read from the link map: the linker lists every archive member it
pulled in and every input section, so an object from the C++ library, its support
library, the unwinder or the runtime start-up shows up there even though the program
itself is stripped of symbols. Without the start-up code a static constructor would
never run."""

import argparse
import os
import pathlib
import re
import sys
from xml.etree import ElementTree

import pefile

import pe_image

RUN_FROM_SWAP = {flag: pefile.IMAGE_CHARACTERISTICS[flag] for flag in
                 ("IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP", "IMAGE_FILE_NET_RUN_FROM_SWAP")}
TERMINAL_SERVER_AWARE = pefile.DLL_CHARACTERISTICS[
    "IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE"]
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


def manifest_problems(image):
    text = pe_image.resource(image, RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID)
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
    return problems + [f"manifest: {element.tag} would switch off registry virtualisation"
                       for element in manifest.iter() if element.tag.rsplit("}", 1)[-1]
                       in ("trustInfo", "requestedExecutionLevel")]


def check(exe, link_map):
    image = pefile.PE(exe)
    problems = (pe_image.loader_problems(image, exe, MAX_BYTES) + manifest_problems(image)
                + pe_image.import_problems(image, exe)
                + pe_image.code_problems(image))
    for name, flag in RUN_FROM_SWAP.items():
        if not image.FILE_HEADER.Characteristics & flag:
            problems.append(f"{name} not set: taking the disk out would crash the program")
    if not image.OPTIONAL_HEADER.DllCharacteristics & TERMINAL_SERVER_AWARE:
        problems.append("not terminal-server aware: a terminal server would redirect it")

    # The linker writes the map after the program; an older map is left from a link
    # that no longer writes one, and would tell nothing about this program.
    if os.path.getmtime(link_map) < os.path.getmtime(exe):
        problems.append(f"{link_map} is older than the program")
    map_text = pathlib.Path(link_map).read_text(encoding="utf-8", errors="replace")
    members = pulled_archive_members(map_text)
    if members is None:
        problems.append(f"{link_map} lists no archive members: not a linker map?")
    problems += [f"runtime object linked in: {archive}({member})"
                 for archive, member in members or [] if archive in RUNTIME_ARCHIVES]
    problems += [f"static constructor that would never run: {section} of {source}"
                 for section, source in static_constructors(map_text)]
    return list(pe_image.imports(image)), os.path.getsize(exe), problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--map", required=True, help="the linker map of the program")
    parser.add_argument("exe")
    arguments = parser.parse_args()
    dlls, size, problems = check(arguments.exe, arguments.map)
    print(f"{arguments.exe}: {size} bytes, imports {', '.join(dlls)}")
    print("".join(f"  {problem}\n" for problem in problems), end="")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
