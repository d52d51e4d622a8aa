"""What the tests read from the program's sources instead of copying it: the texts it
shows (hiscores/common/messages.h) and its dialog's layout (hiscores/resources)."""

import os
import pathlib
import re

_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
MESSAGES_HEADER = os.path.join(_ROOT, "hiscores", "common", "messages.h")
RESOURCE_SCRIPT = os.path.join(_ROOT, "hiscores", "resources", "hiscores.rc")

_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"', "'": "'"}
_LITERAL_BODY = r'(?:[^"\\]|\\.)*'


def unescape(text):
    """The text of a C string literal's body; Wine's traces escape the same way. An
    escape not listed fails loudly rather than compare wrong."""
    return re.sub(r"\\(.)", lambda escape: _ESCAPES[escape.group(1)], text)


def messages():
    """Every text of the program by its constant's name, adjacent literals joined."""
    definitions = re.findall(r'constexpr char (\w+)\[\] =\s*((?:"%s"\s*)+);' % _LITERAL_BODY,
                             pathlib.Path(MESSAGES_HEADER).read_text())
    return {name: "".join(unescape(body) for body in re.findall('"(%s)"' % _LITERAL_BODY, literals))
            for name, literals in definitions}


class DialogTemplate:
    """The main dialog's size and its controls' rectangles, in template units, from the
    resource script; controls are named by their ID_ names of resource_ids.h."""

    def __init__(self):
        script = pathlib.Path(RESOURCE_SCRIPT).read_text()
        size = re.search(r"^\w+ DIALOGEX\s+\d+,\s*\d+,\s*(\d+),\s*(\d+)", script, re.M)
        self.width, self.height = int(size.group(1)), int(size.group(2))
        self._controls = {
            name: tuple(int(n) for n in rectangle) for name, *rectangle in
            re.findall(r'"[^"]*",\s*(ID_\w+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)', script)}

    def control(self, name):
        """(x, y, width, height) of the control."""
        if name not in self._controls:
            raise KeyError("%s is not a control of the dialog in %s" % (name, RESOURCE_SCRIPT))
        return self._controls[name]
