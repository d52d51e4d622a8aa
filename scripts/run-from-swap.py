#!/usr/bin/python3
"""Marks a linked program to be run from the swap file when started from a removable or
a network disk, so that taking the disk out while it runs cannot crash it. The linker
has no option for these header flags. A checksum in the header is brought up to date;
the release signs the program afterwards.
    scripts/run-from-swap.py PROGRAM"""

import os
import sys

import pefile

RUN_FROM_SWAP = (pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP"]
                 | pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_NET_RUN_FROM_SWAP"])


def main(path):
    times = os.stat(path)
    image = pefile.PE(path, fast_load=True)
    image.FILE_HEADER.Characteristics |= RUN_FROM_SWAP
    if image.OPTIONAL_HEADER.CheckSum != 0:
        image.OPTIONAL_HEADER.CheckSum = image.generate_checksum()
    data = image.write()
    image.close()
    with open(path, "wb") as f:
        f.write(data)
    # The program keeps the link's time: the release check tells a stale link map by it.
    os.utime(path, ns=(times.st_atime_ns, times.st_mtime_ns))
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
