"""Xvfb, the X server of everything that opens windows under Wine.

As a script it starts and stops the one display that all Windows-side tests of a
build's shared prefix use (the ctest fixtures wine.display.start and .stop):
    python3 -m rig.display start|stop DISPLAY_NUMBER PIDFILE
"""

import os
import pathlib
import subprocess
import sys
import time


class Xvfb:
    """Xvfb on display :number, in a session of its own so that it may outlive its
    starter; ready once it answers."""

    def __init__(self, number, *options):
        self.name = ":%d" % number
        self.process = subprocess.Popen(
            ["Xvfb", self.name, "-screen", "0", "1024x768x24", "-nolisten", "tcp", *options],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        deadline = time.monotonic() + 10
        # A socket file may be left from a server that was killed; only an answer counts.
        while subprocess.run(["xdotool", "getdisplaygeometry"], stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL,
                             env=dict(os.environ, DISPLAY=self.name)).returncode:
            if self.process.poll() is not None or time.monotonic() > deadline:
                self.stop()
                raise RuntimeError("Xvfb did not come up on " + self.name)
            time.sleep(0.1)

    def stop(self):
        # Terminated, not killed, so that it removes its socket and lock files.
        self.process.terminate()
        self.process.wait()


def main(action, number, pidfile):
    if action not in ("start", "stop"):
        raise SystemExit(__doc__)
    # A server left over by an interrupted run of this build tree would hold the display.
    pidfile = pathlib.Path(pidfile)
    if pidfile.exists():
        subprocess.run(["kill", pidfile.read_text()], stderr=subprocess.DEVNULL)
        pidfile.unlink()
    if action == "start":
        pidfile.write_text(str(Xvfb(int(number)).process.pid))
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
