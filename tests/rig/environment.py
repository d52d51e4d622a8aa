"""What the rig takes from its environment, read here only: the program under test and
whether it is the shipping i686 build, the Wine launcher and prefix with the factor its
route puts on every wait, the upload server's host name the program was built with, and
a DLL to plant beside the program.
scripts/with-rig.sh sets them from the build folder's rig.env (tests/e2e/CMakeLists.txt)
for the end-to-end tests, the demo, the screenshot and the benchmark; the plug-in's
installer tests take only the Wine, from ctest (cmake/testing.cmake)."""

import os

WINE = os.environ.get("WINE", "wine")
WINESERVER = os.environ.get("WINESERVER", "wineserver")
TIME_FACTOR = float(os.environ.get("TUMBRA_WINE_TIME_FACTOR", "1"))


def scaled(seconds):
    """A wait that holds on 64-bit Wine, stretched for this Wine: a 32-bit one under the
    emulator starts every process 5 to 15 times slower."""
    return seconds * TIME_FACTOR


# Each is read when called, so a script that needs none of them runs without them.
def _required(name):
    def read():
        if not os.environ.get(name):
            raise SystemExit("%s is not set: run this through scripts/with-rig.sh" % name)
        return os.environ[name]
    return read


program = _required("HISCORES_EXE")
# i686 for the shipping build.
processor = _required("HISCORES_PROCESSOR")
prefix = _required("WINEPREFIX")
server_host = _required("HISCORES_SERVER_HOST")
# A DLL that, when loaded, leaves an empty file named after itself plus ".loaded" beside
# itself (tests/e2e/planted_dll.c).
planted_dll = _required("PLANTED_DLL")
