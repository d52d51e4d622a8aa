"""What the rig takes from its environment, read here only: the program under test, the
Wine launcher and prefix, and the upload server's host name the program was built with.
ctest sets them from the build, and scripts/with-rig.sh for the demo, the screenshot
and the benchmark."""

import os

WINE = os.environ.get("WINE", "wine")
WINESERVER = os.environ.get("WINESERVER", "wineserver")


def _required(name):
    value = os.environ.get(name)
    if not value:
        raise SystemExit("%s is not set: run this through ctest or scripts/with-rig.sh" % name)
    return value


def program():
    return _required("HISCORES_EXE")


def prefix():
    return _required("WINEPREFIX")


def server_host():
    return _required("HISCORES_SERVER_HOST")
