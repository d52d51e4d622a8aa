"""A shipped PE image as the loader reads it, through pefile, for the release checks of
the program (check_hiscores.py) and of the plug-in (tests/nsistumbra/win/check_binaries.py):
what every image must meet (its size ceiling, a subsystem version every supported Windows
accepts, ASLR and DEP with the relocations ASLR needs, no TLS directory, the mark of C
runtime start-up code, a valid checksum where one is set, and on i686 the mark of an image
without exception handlers where it has none), its imports, exports and resources."""

import os
import re
import subprocess

import pefile

# The system DLLs the images may import. Windows maps a KnownDLL (None here) from the
# system folder whatever the search order, so no DLL planted beside the image can stand in
# for it; any other is found through the search order, and only the image named may
# import it.
SYSTEM_DLLS = {
    **dict.fromkeys(["advapi32.dll", "comdlg32.dll", "gdi32.dll", "imm32.dll", "kernel32.dll",
                     "msvcrt.dll", "ole32.dll", "oleaut32.dll", "rpcrt4.dll", "shell32.dll",
                     "shlwapi.dll", "user32.dll", "ws2_32.dll"]),
    # The program's manifest binds it to the side-by-side common controls 6.
    "comctl32.dll": "hiscores.exe",
    # The installer that loads the plug-in restricts its own DLL search.
    "version.dll": "nsistumbra.dll",
}
# The subsystem version each architecture's images have always carried.
SUBSYSTEM_VERSIONS = {pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]: (4, 0),
                      pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]: (5, 2)}
I386 = pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]
NO_SEH = pefile.DLL_CHARACTERISTICS["IMAGE_DLLCHARACTERISTICS_NO_SEH"]
ASLR_AND_DEP = (pefile.DLL_CHARACTERISTICS["IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE"]
                | pefile.DLL_CHARACTERISTICS["IMAGE_DLLCHARACTERISTICS_NX_COMPAT"])


def loader_problems(image, path, max_bytes):
    problems = []
    size = os.path.getsize(path)
    if size > max_bytes:
        problems.append(f"{size} bytes, more than {max_bytes}")
    header = image.OPTIONAL_HEADER
    version = (header.MajorSubsystemVersion, header.MinorSubsystemVersion)
    expected = SUBSYSTEM_VERSIONS.get(image.FILE_HEADER.Machine)
    if version != expected:
        problems.append(f"subsystem version {version}, expected {expected}")
    if header.DllCharacteristics & ASLR_AND_DEP != ASLR_AND_DEP:
        problems.append(f"DllCharacteristics {header.DllCharacteristics:#x} lacks ASLR or DEP")
    directories = [entry.Size for entry in header.DATA_DIRECTORY]
    if directories[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]] == 0:
        problems.append("no relocations, so ASLR cannot move it")
    if directories[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_TLS"]] != 0:
        problems.append("a TLS directory: C runtime start-up code came in")
    if header.CheckSum and header.CheckSum != image.generate_checksum():
        problems.append(f"checksum {header.CheckSum:#x} does not match the image")
    return problems


def seh_problems(image, path, objdump):
    """An i686 image registers its exception handlers in its load configuration, and code
    puts one in the thread's chain through fs:0. Marked NO_SEH, Windows dispatches to none
    of its handlers, so the mark belongs on exactly the images that have none."""
    if image.FILE_HEADER.Machine != I386:
        return []
    config = getattr(image, "DIRECTORY_ENTRY_LOAD_CONFIG", None)
    registered = getattr(config.struct, "SEHandlerCount", 0) if config else 0
    listing = subprocess.run([objdump, "-d", path], check=True, capture_output=True,
                             text=True).stdout
    chained = re.findall(r"^ *([0-9a-f]+):.*%fs:0x0\b", listing, re.M)
    marked = bool(image.OPTIONAL_HEADER.DllCharacteristics & NO_SEH)
    if registered or chained:
        return [f"marked NO_SEH with {registered} handlers registered and fs:0 used at "
                f"{chained}"] if marked else []
    return [] if marked else ["no exception handler of its own, yet not marked NO_SEH"]


def imports(image):
    """{dll name as written: [(ordinal or None, name or None)]}; an import by ordinal
    carries no name in the image."""
    return {entry.dll.decode(): [(i.ordinal, None) if i.import_by_ordinal
                                 else (None, i.name.decode()) for i in entry.imports]
            for entry in getattr(image, "DIRECTORY_ENTRY_IMPORT", [])}


def import_problems(image, path):
    """Every imported DLL a KnownDLL or one allowed to this image by its file name."""
    dlls = imports(image)
    problems = [] if dlls else ["no imports found: not a PE program?"]
    for dll in dlls:
        if SYSTEM_DLLS.get(dll.lower(), "") not in (None, os.path.basename(path)):
            problems.append(f"imports {dll}, which is no KnownDLL nor allowed to this image")
    return problems


def exports(image):
    """[(name, RVA)] in the export table's order."""
    directory = getattr(image, "DIRECTORY_ENTRY_EXPORT", None)
    return [(symbol.name.decode(), symbol.address) for symbol in directory.symbols] \
        if directory else []


def resource(image, type_id, name_id):
    """The bytes of a resource in its first language, or None: the resource directory's
    three levels (type, name, language) as the loader walks them."""
    directory = getattr(image, "DIRECTORY_ENTRY_RESOURCE", None)
    names = next((kind.directory.entries for kind in (directory.entries if directory else [])
                  if kind.id == type_id), [])
    languages = next((name.directory.entries for name in names if name.id == name_id), [])
    if not languages:
        return None
    data = languages[0].data.struct
    return image.get_data(data.OffsetToData, data.Size)
