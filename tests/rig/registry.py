"""The registry of the rig's prefix: the games' records and the user's proxy settings."""

import os
import pathlib

from rig import namespace, wine

PRODUCT_KEY = r"HKEY_LOCAL_MACHINE\Software\Tumbra"
INTERNET_SETTINGS = (r"HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion"
                     r"\Internet Settings")


def import_registry(text):
    """Imports a REGEDIT4 text in one Wine process."""
    path = os.path.join(namespace.work_dir(), "import.reg")
    pathlib.Path(path).write_text("REGEDIT4\n\n" + text, newline="\r\n")
    # Wine's errors are the only account of a failed import; on success they are dropped.
    code, output = wine.run(["regedit", "/S", path], WINEDEBUG="-all,err+all")
    assert code == 0, "regedit /S exited with %d:\n%s" % (code, output)


def records_text(games):
    """REGEDIT4 text that replaces the games' records: games is a list of (game key
    name, [record bytes]), written as REG_SZ values "_rek_1", "_rek_2", ... in order."""
    text = "[-%s]\n[%s]\n" % (PRODUCT_KEY, PRODUCT_KEY)
    for name, records in games:
        text += "[%s\\%s]\n" % (PRODUCT_KEY, name)
        for number, record in enumerate(records, start=1):
            text += '"_rek_%d"=hex(1):%s\n' % (number, ",".join("%02x" % b for b in record + b"\0"))
    return text


def proxy_text(server, enable):
    return '[%s]\n"ProxyServer"="%s"\n"ProxyEnable"=dword:%08x\n' % (INTERNET_SETTINGS, server,
                                                                       enable)


def set_records(games):
    import_registry(records_text(games))


def set_proxy(server, enable):
    import_registry(proxy_text(server, enable))
