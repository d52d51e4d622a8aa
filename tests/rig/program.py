"""hiscores.exe under Wine, silent or in window mode, with the texts of the message boxes
it showed, as Wine's +msgbox trace gives them."""

import os
import re
import time
import types

from rig import environment, namespace, sources, wine

_TRACE = "-all,+msgbox"


def message_boxes(trace):
    return [sources.unescape(text) for text in re.findall(r'MSGBOX_OnInit L"(.*)"', trace)]


def run(args=("send",), timeout=60):
    """Runs the program to its end: its exit code and the texts of its message boxes."""
    code, errors = wine.run([environment.program(), *args], timeout=timeout, WINEDEBUG=_TRACE)
    return types.SimpleNamespace(code=code, message_boxes=message_boxes(errors))


class Window:
    """The program started in window mode, by default as built, or by the Windows command
    line given, with Wine's environment extended by extra_env; its error output goes to
    a file so that a full pipe can never block it."""

    def __init__(self, command=None, **extra_env):
        self._log_path = os.path.join(namespace.work_dir(), "hiscores-%d.log" % time.monotonic_ns())
        self._log = open(self._log_path, "wb")
        self.process = wine.start(command or [environment.program()], self._log,
                                  WINEDEBUG=_TRACE, **extra_env)

    def wait(self, timeout=20):
        try:
            return self.process.wait(environment.scaled(timeout))
        finally:
            self._log.close()

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
        self.wait()

    def message_boxes(self):
        """Texts of the message boxes shown so far, in order."""
        with open(self._log_path, "rb") as log:
            return message_boxes(log.read().decode("utf-8", "replace"))
