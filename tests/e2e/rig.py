"""The end-to-end rig: the real hiscores.exe under Wine, in a private network and mount
namespace where the upload server's host name leads to a recording server on
127.0.0.1:80.

A test file calls rig.main(), which re-runs it as root inside `unshare -mn`, brings up
the namespace's loopback, bind-mounts its own /etc/hosts and an empty resolv.conf (so
names the test did not map fail at once), starts a display and runs the tests.

Environment: HISCORES_EXE (the x86_64 build of the program), WINEPREFIX (a prefix made
beforehand with scripts/wine-prefix.sh), HISCORES_SERVER_HOST (the build's host).
"""

import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest

SERVER_HOST = os.environ.get("HISCORES_SERVER_HOST", "www.tumbragames.com")
PRODUCT_KEY = r"HKEY_LOCAL_MACHINE\Software\Tumbra"
INTERNET_SETTINGS = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings"
OK_REPLY = b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nOK"
NAMESPACE_FLAG = "TUMBRA_E2E_NAMESPACE"

_work = None
_hosts = None
_display = None


def reexec_in_namespace():
    """Runs this script again, as it was started, in a new network and mount namespace."""
    env = dict(os.environ, **{NAMESPACE_FLAG: "1"})
    os.execvpe("unshare", ["unshare", "-mn", "--", sys.executable] + sys.argv, env)


def main():
    """Runs the calling test module's tests inside a private namespace."""
    if os.environ.get(NAMESPACE_FLAG) != "1":
        reexec_in_namespace()
    try:
        enter_namespace()
        program = unittest.main(module="__main__", verbosity=2, exit=False)
    finally:
        leave_namespace()
    sys.exit(0 if program.result.wasSuccessful() else 1)


def enter_namespace():
    global _work, _hosts
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    _work = tempfile.mkdtemp(prefix="tumbra-e2e-")
    _hosts = os.path.join(_work, "hosts")
    map_server_host(True)
    subprocess.run(["mount", "--bind", _hosts, "/etc/hosts"], check=True)
    resolv = os.path.join(_work, "resolv.conf")
    open(resolv, "w").close()
    subprocess.run(["mount", "--bind", resolv, "/etc/resolv.conf"], check=True)
    stop_wine()
    start_display()
    # One wineserver for the whole run: starting it anew for each program costs seconds.
    subprocess.run(["wineserver", "-p"], env=wine_env(), check=True)
    wine(["wineboot", "-i"], timeout=120)


def leave_namespace():
    stop_wine()
    if _display is not None:
        # Terminated, not killed, so that it removes its socket and lock files.
        _display.terminate()
        _display.wait()
    shutil.rmtree(_work, ignore_errors=True)


def work_dir():
    return _work


def map_server_host(reachable, hosts_file=None):
    """Makes the server's host name resolve to 127.0.0.1, or not at all. The file is
    rewritten in place, since it is bind-mounted."""
    lines = "127.0.0.1 localhost\n"
    if reachable:
        lines += "127.0.0.1 %s\n" % SERVER_HOST
    with open(hosts_file or _hosts, "w") as f:
        f.write(lines)


def start_display():
    global _display
    read_end, write_end = os.pipe()
    _display = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    os.environ["DISPLAY"] = ":" + number.decode().strip()


# Wine ------------------------------------------------------------------------------

def wine_env(**extra):
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    env.update(extra)
    return env


def stop_wine():
    subprocess.run(["wineserver", "-k"], env=wine_env(), stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], env=wine_env(), stderr=subprocess.DEVNULL)


def wine(args, timeout=60, **extra_env):
    """Runs a Wine command and returns its exit code and its error output as text.
    The output goes through a file: Wine's background processes inherit the
    descriptors, and a pipe would stay open as long as they live."""
    return _run_wine(args, timeout, subprocess.DEVNULL, extra_env)


def wine_output(args, timeout=60, **extra_env):
    """Like wine(), but the text holds the standard output too, interleaved with the
    error output."""
    return _run_wine(args, timeout, None, extra_env)


def _run_wine(args, timeout, stdout, extra_env):
    """stdout None sends the standard output to the same file as the error output."""
    with tempfile.TemporaryFile() as output:
        process = subprocess.run(["wine"] + list(args), env=wine_env(**extra_env),
                                 stdout=output if stdout is None else stdout, stderr=output,
                                 timeout=timeout)
        output.seek(0)
        return process.returncode, output.read().decode("utf-8", "replace")


def map_drive(letter, folder):
    """Makes the prefix's drive letter (such as "a") lead to folder, which need not
    exist."""
    link = os.path.join(os.environ["WINEPREFIX"], "dosdevices", letter.lower() + ":")
    if os.path.lexists(link):
        os.unlink(link)
    os.symlink(folder, link)


def _hex_bytes(data):
    return ",".join("%02x" % b for b in data)


def import_registry(text):
    """Imports a REGEDIT4 text in one Wine process."""
    path = os.path.join(_work, "import.reg")
    with open(path, "w", newline="\r\n") as f:
        f.write("REGEDIT4\n\n" + text)
    code, errors = wine(["regedit", "/S", path])
    assert code == 0, errors


def records_text(games):
    """REGEDIT4 text that replaces the games' records: games is a list of (game key
    name, [record bytes]), written as REG_SZ values "_rek_1", "_rek_2", ... in order."""
    text = "[-%s]\n[%s]\n" % (PRODUCT_KEY, PRODUCT_KEY)
    for name, records in games:
        text += "[%s\\%s]\n" % (PRODUCT_KEY, name)
        for number, record in enumerate(records, start=1):
            text += '"_rek_%d"=hex(1):%s\n' % (number, _hex_bytes(record + b"\0"))
    return text


def proxy_text(server, enable):
    return '[%s]\n"ProxyServer"="%s"\n"ProxyEnable"=dword:%08x\n' % (INTERNET_SETTINGS, server,
                                                                       enable)


def set_records(games):
    import_registry(records_text(games))


def set_proxy(server, enable):
    import_registry(proxy_text(server, enable))


class Run:
    def __init__(self, code, errors):
        self.code = code
        self.stderr = errors
        self.message_boxes = re.findall(r'MSGBOX_OnInit L"(.*)"', errors)


def run_hiscores(args=("send",), timeout=60, exe=None):
    """Runs the program and returns its exit code and the texts of the message boxes
    it showed."""
    return Run(*wine([exe or os.environ["HISCORES_EXE"]] + list(args), timeout=timeout,
                     WINEDEBUG="-all,+msgbox"))


# Servers ---------------------------------------------------------------------------

class RecordingServer:
    """An HTTP stand-in on 127.0.0.1: records every request byte for byte and answers
    each with reply_pieces, sent with a short pause between them. With
    read_request False it answers as soon as the connection is accepted; with reset
    True it resets the connection instead of answering."""

    def __init__(self, port=80, reply_pieces=(OK_REPLY,), read_request=True, reset=False):
        self.reply_pieces = list(reply_pieces)
        self.read_request = read_request
        self.reset = reset
        self.requests = []
        self._listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._listener.bind(("127.0.0.1", port))
        self._listener.listen(8)
        self.port = self._listener.getsockname()[1]
        self._thread = threading.Thread(target=self._serve, daemon=True)
        self._thread.start()

    def _serve(self):
        while True:
            try:
                connection, _ = self._listener.accept()
            except OSError:
                return
            with connection:
                self._answer(connection)

    def _answer(self, connection):
        connection.settimeout(10)
        data = self._read(connection) if self.read_request else b""
        if self.reset:
            # Reset only once the request is in: earlier, the client could still be
            # connecting and would see a refusal instead.
            connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\1\0\0\0\0\0\0\0")
            self.requests.append(data)
            return
        try:
            for piece in self.reply_pieces:
                connection.sendall(piece)
                time.sleep(0.02)
        except OSError:
            pass
        if not self.read_request:
            data = self._read(connection)
        self.requests.append(data)

    @staticmethod
    def _read(connection):
        data = b""
        try:
            while True:
                head_end = data.find(b"\r\n\r\n")
                if head_end >= 0:
                    length = re.search(rb"Content-Length: *(\d+)", data[:head_end], re.I)
                    if len(data) >= head_end + 4 + (int(length.group(1)) if length else 0):
                        return data
                chunk = connection.recv(65536)
                if not chunk:
                    return data
                data += chunk
        except OSError:
            return data

    def close(self):
        # shutdown wakes the thread blocked in accept, which close alone does not.
        try:
            self._listener.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        self._listener.close()
        self._thread.join(5)


def split_request(data):
    """The request's head (request line and headers) and its body."""
    head, _, body = data.partition(b"\r\n\r\n")
    return head.decode("latin-1"), body


def expected_request(body, via_proxy=False):
    target = ("http://" + SERVER_HOST if via_proxy else "") + "/rekordy/dopisz.php"
    return (("POST %s HTTP/1.0\r\nHost: %s\r\nUser-Agent: SalonTumbraRekordy\r\n"
             "Content-Length: %d\r\n\r\n") % (target, SERVER_HOST, len(body))).encode() + body


class TinyProxy:
    """A real proxy that, unlike the program, can resolve the server's host name: it
    runs in a nested mount namespace with its own hosts file."""

    def __init__(self, port=3128):
        self.port = port
        hosts = os.path.join(_work, "proxy-hosts")
        map_server_host(True, hosts)
        config = os.path.join(_work, "tinyproxy.conf")
        with open(config, "w") as f:
            f.write("Port %d\nListen 127.0.0.1\nTimeout 20\nAllow 127.0.0.1\n"
                    "LogLevel Connect\nMaxClients 4\nUser root\nGroup root\n" % port)
        self._process = subprocess.Popen(
            ["unshare", "-m", "--", "sh", "-c",
             'mount --bind "$0" /etc/hosts && exec tinyproxy -d -c "$1"', hosts, config],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_port(port)

    def close(self):
        self._process.terminate()
        self._process.wait()


def wait_for_port(port, timeout=10):
    deadline = time.time() + timeout
    while time.time() < deadline:
        with socket.socket() as probe:
            if probe.connect_ex(("127.0.0.1", port)) == 0:
                return
        time.sleep(0.05)
    raise RuntimeError("nothing listens on port %d" % port)


class WineTestCase(unittest.TestCase):
    """Starts every test with no records, no proxy and the server's name resolving."""

    def setUp(self):
        map_server_host(True)
        import_registry(proxy_text("", 0) + records_text([]))
