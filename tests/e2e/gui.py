"""Driving Wine's windows on the rig's Xvfb display with xdotool.

There is no window manager: titles are read from the X windows, keys reach a window
after an explicit focus, and a message box that closes does not hand the keyboard back
to the dialog, so a click on an empty spot of the dialog has to.
"""

import os
import re
import subprocess
import time

import rig


def xdotool(*args):
    result = subprocess.run(["xdotool"] + [str(a) for a in args], capture_output=True, text=True)
    return result.stdout


def windows_named(pattern):
    """Top-level windows whose title matches the regular expression."""
    return [int(w) for w in xdotool("search", "--name", pattern).split()]


def wait_for(condition, timeout, what):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError("timed out waiting for " + what)


def wait_for_window(pattern, exclude=(), timeout=20):
    """The first window matching pattern that is not one of exclude."""
    def found():
        others = [w for w in windows_named(pattern) if w not in exclude]
        return others[0] if others else None
    return wait_for(found, timeout, "a window named %r" % pattern)


def wait_until_gone(window, timeout=10):
    wait_for(lambda: window not in windows_named("."), timeout, "window %d to go" % window)


def title(window):
    return xdotool("getwindowname", window).rstrip("\n")


def geometry(window):
    """Screen rectangle of the window as (x, y, width, height)."""
    values = dict(line.split("=", 1) for line in
                  xdotool("getwindowgeometry", "--shell", window).split())
    return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))


def press(window, key):
    xdotool("windowfocus", "--sync", window)
    xdotool("key", key)


def click(window, x, y):
    """Clicks at (x, y) pixels inside the window."""
    left, top, _, _ = geometry(window)
    xdotool("mousemove", left + x, top + y)
    xdotool("click", 1)


def move_pointer(window, x, y):
    left, top, _, _ = geometry(window)
    xdotool("mousemove", left + x, top + y)


def screenshot(window, path):
    """Saves the window's part of the screen as a PNG."""
    left, top, width, height = geometry(window)
    subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, left, top),
                    "+repage", path], check=True)


class DialogLayout:
    """Maps a dialog template's units onto the window's pixels. Without a window manager
    the X window is exactly the dialog's client area, so the template's size fills it."""

    def __init__(self, window, template_width, template_height):
        _, _, self.width, self.height = geometry(window)
        self.template_width = template_width
        self.template_height = template_height

    def centre(self, x, y, width, height):
        return (round((x + width / 2) * self.width / self.template_width),
                round((y + height / 2) * self.height / self.template_height))


class Program:
    """hiscores.exe started in window mode; its stderr (with message box traces) goes to a
    file so that a full pipe can never block it."""

    def __init__(self, exe=None, args=()):
        self._log_path = os.path.join(rig.work_dir(), "hiscores-%d.log" % time.monotonic_ns())
        self._log = open(self._log_path, "wb")
        self.process = subprocess.Popen(
            ["wine", exe or os.environ["HISCORES_EXE"]] + list(args),
            env=rig.wine_env(WINEDEBUG="-all,+msgbox"), stdout=subprocess.DEVNULL,
            stderr=self._log)

    def wait(self, timeout=20):
        try:
            return self.process.wait(timeout)
        finally:
            self._log.close()

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
        self.wait()

    def message_boxes(self):
        """Texts of the message boxes shown so far, in order."""
        with open(self._log_path, "rb") as log:
            text = log.read().decode("utf-8", "replace")
        return re.findall(r'MSGBOX_OnInit L"(.*)"', text)
