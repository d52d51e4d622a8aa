"""Driving Wine's windows on the rig's display with xdotool.

There is no window manager: titles are read from the X windows, keys reach a window
after an explicit focus, and a message box that closes does not hand the keyboard back
to the dialog, so a click on an empty spot of the dialog has to.
"""

import subprocess
import time

from rig import environment, sources


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True).stdout


def windows_named(pattern):
    """Top-level windows whose title matches the regular expression."""
    return [int(w) for w in xdotool("search", "--name", pattern).split()]


def wait_for(condition, timeout, what):
    """Polls condition until it gives a true value; timeout holds on 64-bit Wine."""
    deadline = time.time() + environment.scaled(timeout)
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError("timed out waiting for " + what)


def wait_for_window(pattern, exclude=(), timeout=20):
    """The first window matching pattern that is not one of exclude."""
    return wait_for(lambda: next((w for w in windows_named(pattern) if w not in exclude), None),
                    timeout, "a window named %r" % pattern)


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


def screenshot(window, path):
    """Saves the window's part of the screen as a PNG."""
    left, top, width, height = geometry(window)
    crop = "%dx%d+%d+%d" % (width, height, left, top)
    subprocess.run(["import", "-window", "root", "-crop", crop, "+repage", "-strip", path],
                   check=True)


class DialogLayout:
    """The program's dialog template mapped onto the window's pixels. Without a window
    manager the X window is exactly the dialog's client area, so the template's size
    fills it."""

    def __init__(self, window):
        self.template = sources.DialogTemplate()
        _, _, self.width, self.height = geometry(window)

    def _pixels(self, x, y):
        return (round(x * self.width / self.template.width),
                round(y * self.height / self.template.height))

    def centre(self, control):
        """The centre of the control named by its ID_ name."""
        x, y, width, height = self.template.control(control)
        return self._pixels(x + width / 2, y + height / 2)

    def empty_spot(self):
        """A spot in the dialog's bottom left margin, where no control stands."""
        return self._pixels(2.5, self.template.height - 4.5)
