"""A shipped PE image as the loader reads it, through pefile, for the release checks of
the program (check_hiscores.py) and of the plug-in (tests/nsistumbra/win/check_binaries.py):
what every image must meet (its size ceiling, a subsystem version every supported Windows
accepts, ASLR and DEP with the relocations ASLR needs, no TLS directory, the mark of C
runtime start-up code, a valid checksum where one is set, and on i686 code of the 486's
instructions only and the mark of an image without exception handlers where it has none),
its imports, exports and resources."""

import os

import capstone
import pefile
from capstone import x86

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
CODE_SECTION = pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_CNT_CODE"]
# Capstone's groups that say no more than the kind of instruction; any other names an
# extension of the instruction set (conditional moves, MMX, SSE, 3DNow! and later).
BASE_GROUPS = {"branch_relative", "call", "fpu", "int", "iret", "jump", "mode32",
               "not64bitmode", "privilege", "ret"}
# Instructions of the Pentium and later that capstone puts in none of the extensions.
AFTER_486 = {"cmpxchg8b", "cpuid", "endbr32", "fcomi", "fcomip", "fisttp", "fucomi", "fucomip",
             "fxrstor", "fxsave", "lzcnt", "movbe", "popcnt", "rdmsr", "rdpmc", "rdrand", "rdtsc",
             "rdtscp", "rsm", "syscall", "sysenter", "sysexit", "sysret", "wrmsr", "xgetbv"}
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


def code(image):
    """Every instruction of an i686 image's code sections, decoded in one sweep with its
    operands; bytes that decode to no instruction come as one of id 0."""
    decoder = capstone.Cs(capstone.CS_ARCH_X86, capstone.CS_MODE_32)
    decoder.detail = decoder.skipdata = True
    for section in image.sections:
        if section.Characteristics & CODE_SECTION:
            yield from decoder.disasm(section.get_data()[:section.Misc_VirtualSize],
                                      image.OPTIONAL_HEADER.ImageBase + section.VirtualAddress)


def uses_fs_0(instruction):
    """Reads or writes fs:[0], the head of the thread's exception handler chain."""
    return any(operand.type == x86.X86_OP_MEM and operand.mem.segment == x86.X86_REG_FS
               and not (operand.mem.base or operand.mem.index or operand.mem.disp)
               for operand in instruction.operands)


def lacks_486(instruction):
    """An instruction that first came with a later processor than the 486."""
    groups = {instruction.group_name(group) for group in instruction.groups}
    return (bool(groups - BASE_GROUPS) or instruction.mnemonic in AFTER_486
            # The multi-byte NOP (0f 1f) came with the Pentium Pro.
            or instruction.mnemonic == "nop" and bool(instruction.op_str))


def instruction_problems(instructions):
    """Every processor from the 486 on runs the code only if it holds no instruction that
    came later. The constructor lists at the end of .text are data, which decodes to none."""
    later = [f"{i.mnemonic} at {i.address:#x}" for i in instructions if i.id and lacks_486(i)]
    return [f"{len(later)} instructions a 486 lacks: {', '.join(later)}"] if later else []


def seh_problems(image, instructions):
    """An i686 image registers its exception handlers in its load configuration, and code
    puts one in the thread's chain through fs:0. Marked NO_SEH, Windows dispatches to none
    of its handlers, so the mark belongs on exactly the images that have none."""
    config = getattr(image, "DIRECTORY_ENTRY_LOAD_CONFIG", None)
    registered = getattr(config.struct, "SEHandlerCount", 0) if config else 0
    chained = [hex(i.address) for i in instructions if i.id and uses_fs_0(i)]
    marked = bool(image.OPTIONAL_HEADER.DllCharacteristics & NO_SEH)
    if registered or chained:
        return [f"marked NO_SEH with {registered} handlers registered and fs:0 used at "
                f"{chained}"] if marked else []
    return [] if marked else ["no exception handler of its own, yet not marked NO_SEH"]


def code_problems(image):
    """What an i686 image's code must meet: the 486's instructions, and the NO_SEH mark."""
    if image.FILE_HEADER.Machine != I386:
        return []
    instructions = list(code(image))
    return instruction_problems(instructions) + seh_problems(image, instructions)


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
