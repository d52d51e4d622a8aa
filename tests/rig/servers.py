"""Stand-ins on the namespace's loopback: a recording upload server and a real proxy."""

import contextlib
import os
import re
import socket
import subprocess
import threading
import time

from rig import environment, namespace

OK_REPLY = b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nOK"


class RecordingServer(contextlib.AbstractContextManager):
    """An HTTP stand-in on 127.0.0.1: records every request byte for byte and answers
    each with reply_pieces, sent pause seconds apart. With
    read_request False it answers as soon as the connection is accepted; with reset
    True it resets the connection instead of answering; with stall True it falls silent
    after its reply pieces until the client gives up; with connections N it stops
    listening once it has taken N connections, so that later ones are refused. Leaving
    its with-block waits until it has recorded the last request, which it does only after
    answering."""

    def __init__(self, port=80, reply_pieces=(OK_REPLY,), read_request=True, reset=False,
                 stall=False, pause=0.02, connections=None):
        self.connections = connections
        self.reply_pieces = list(reply_pieces)
        self.pause = pause
        self.read_request = read_request
        self.reset = reset
        self.stall = stall
        self.requests = []
        self._listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._listener.bind(("127.0.0.1", port))
        self._listener.listen(8)
        self._thread = threading.Thread(target=self._serve, daemon=True)
        self._thread.start()

    def __exit__(self, *_):
        # shutdown wakes the thread blocked in accept, which close alone does not.
        with contextlib.suppress(OSError):
            self._listener.shutdown(socket.SHUT_RDWR)
        self._listener.close()
        self._thread.join(5)

    def _serve(self):
        taken = 0
        while taken != self.connections:
            try:
                connection, _ = self._listener.accept()
            except OSError:
                return
            taken += 1
            if taken == self.connections:
                self._listener.close()
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
        with contextlib.suppress(OSError):
            for piece in self.reply_pieces:
                connection.sendall(piece)
                time.sleep(self.pause)
        if not self.read_request:
            data = self._read(connection)
        self.requests.append(data)
        if self.stall:
            connection.settimeout(None)
            while connection.recv(4096):
                pass

    @staticmethod
    def _read(connection):
        data = b""
        with contextlib.suppress(OSError):
            while parse_request(data) is None:
                chunk = connection.recv(65536)
                if not chunk:
                    break
                data += chunk
        return data


class UnansweringPort(contextlib.AbstractContextManager):
    """A port on 127.0.0.1 where connection attempts go unanswered, as behind a firewall
    that drops them: its listener accepts nothing, and one connection of its own fills
    the queue."""

    def __init__(self, port=80):
        self._listener = socket.create_server(("127.0.0.1", port), backlog=0)
        self._filler = socket.create_connection(("127.0.0.1", port))

    def __exit__(self, *_):
        self._filler.close()
        self._listener.close()


def parse_request(data):
    """The request in data as its head (the request line and the header lines) and its
    body, or None while the head or the body its Content-Length announces is incomplete."""
    head, blank_line, body = data.partition(b"\r\n\r\n")
    length = re.search(rb"^Content-Length: *(\d+)", head, re.I | re.M)
    if not blank_line or len(body) < (int(length.group(1)) if length else 0):
        return None
    return head.decode("latin-1"), body


def expected_request(body, via_proxy=False):
    host = environment.server_host()
    target = ("http://" + host if via_proxy else "") + "/rekordy/dopisz.php"
    return (("POST %s HTTP/1.0\r\nHost: %s\r\nUser-Agent: SalonTumbraRekordy\r\n"
             "Content-Length: %d\r\n\r\n") % (target, host, len(body))).encode() + body


class TinyProxy(contextlib.AbstractContextManager):
    """A real proxy that, unlike the program, can resolve the server's host name: it
    runs in a nested mount namespace with its own hosts file."""

    def __init__(self, port=3128):
        hosts = os.path.join(namespace.work_dir(), "proxy-hosts")
        namespace.map_server_host(True, hosts)
        config = os.path.join(namespace.work_dir(), "tinyproxy.conf")
        with open(config, "w") as f:
            f.write("Port %d\nListen 127.0.0.1\nTimeout 20\nAllow 127.0.0.1\n"
                    "LogLevel Connect\nMaxClients 4\nUser root\nGroup root\n" % port)
        self._process = subprocess.Popen(
            ["unshare", "-m", "--", "sh", "-c",
             'mount --bind "$0" /etc/hosts && exec tinyproxy -d -c "$1"', hosts, config],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(200):
            with socket.socket() as probe:
                if probe.connect_ex(("127.0.0.1", port)) == 0:
                    break
            time.sleep(0.05)
        else:
            raise RuntimeError("nothing listens on port %d" % port)

    def __exit__(self, *_):
        self._process.terminate()
        self._process.wait()

