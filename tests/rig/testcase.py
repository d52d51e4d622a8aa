"""The end-to-end tests' base class and entry point."""

import contextlib
import subprocess
import time
import unittest
from typing import NamedTuple

from rig import namespace, program, registry, servers


class SilentRun(NamedTuple):
    code: int
    requests: list  # as the recording server received them, byte for byte
    seconds: float

    @property
    def bodies(self):
        return [servers.parse_request(request)[1] for request in self.requests]


def _program_processes():
    """The run's own: the rig's PID namespace holds only the processes it started."""
    listing = subprocess.run(["ps", "-eo", "args"], capture_output=True, text=True).stdout
    return [line for line in listing.splitlines() if "hiscores.exe" in line]


class WineTestCase(unittest.TestCase):
    """Starts every test with no records, no proxy and the server's name resolving."""

    def setUp(self):
        namespace.map_server_host(True)
        registry.import_registry(registry.proxy_text("", 0) + registry.records_text([]))

    def run_silent(self, games=None, server=None, args=("send",), timeout=60):
        """Runs the program silently: with the games' records (registry.set_records)
        unless games is None, and with a RecordingServer of the options in server ({}
        for one that accepts), or another stand-in at the server's address such as an
        UnansweringPort, unless server is None. A silent run shows no message box and
        leaves no process behind."""
        if games is not None:
            registry.set_records(games)
        if isinstance(server, dict):
            server = servers.RecordingServer(**server)
        with server or contextlib.nullcontext() as recorder:
            started = time.monotonic()
            run = program.run(args, timeout)
            seconds = time.monotonic() - started
        self.assertEqual(run.message_boxes, [], "a silent run showed a message box")
        self.assertEqual(_program_processes(), [])
        return SilentRun(run.code, getattr(recorder, "requests", []), seconds)


def main():
    """Runs the calling test module's tests in the rig's namespace."""
    def tests():
        result = unittest.main(module="__main__", verbosity=2, exit=False).result
        return 0 if result.wasSuccessful() else 1
    namespace.run_in_namespace(tests)
