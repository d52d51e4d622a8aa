"""hiscores.exe under Wine, silent or in window mode, with the texts of the message boxes
it showed, as Wine's +msgbox trace gives them."""

import os
import pathlib
import re
import time
import types

from rig import environment, namespace, sources, wine

_TRACE = "-all,+msgbox"


def message_boxes(trace):
    return [sources.unescape(text) for text in re.findall(r'MSGBOX_OnInit L"(.*)"', trace)]


def run(args=("send",), timeout=60, trace=_TRACE):
    """Runs the program to its end: its exit code, the texts of its message boxes and
    Wine's trace of the channels named by trace (a WINEDEBUG setting)."""
    code, errors = wine.run([environment.program(), *args], timeout=timeout, WINEDEBUG=trace)
    return types.SimpleNamespace(code=code, message_boxes=message_boxes(errors), trace=errors)


class Window:
    """The program started in window mode, by default as built, or by the Windows command
    line given, with Wine's environment extended by extra_env; its error output goes to
    a file so that a full pipe can never block it."""

    def __init__(self, command=None, trace=_TRACE, **extra_env):
        self._log_path = os.path.join(namespace.work_dir(), "hiscores-%d.log" % time.monotonic_ns())
        self._log = open(self._log_path, "wb")
        self.process = wine.start(command or [environment.program()], self._log,
                                  WINEDEBUG=trace, **extra_env)

    def wait(self, timeout=20):
        try:
            return self.process.wait(environment.scaled(timeout))
        finally:
            self._log.close()

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
        self.wait()

    def trace(self):
        """Wine's trace so far."""
        return pathlib.Path(self._log_path).read_bytes().decode("utf-8", "replace")

    def message_boxes(self):
        """Texts of the message boxes shown so far, in order."""
        return message_boxes(self.trace())
