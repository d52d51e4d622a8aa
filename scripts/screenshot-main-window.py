"""Saves a picture of the program's main window, by default as the README shows it:
    scripts/with-rig.sh BUILD_DIR python3 scripts/screenshot-main-window.py [OUTPUT]
BUILD_DIR is a win64 build folder (the x86_64 program runs here under Wine)."""

import re
import sys
import time

from rig import gui, namespace, program, sources


def screenshot(output):
    window = program.Window()
    try:
        dialog = gui.wait_for_window("^%s$" % re.escape(sources.messages()["kProgramTitle"]))
        # The pointer starts in the middle of the screen; park it away from the window so
        # no control shows a hover state, and let the dialog finish painting.
        gui.xdotool("mousemove", 0, 0)
        time.sleep(1)
        gui.screenshot(dialog, output)
        gui.press(dialog, "Escape")
        window.wait()
    finally:
        window.kill()
    print("saved " + output)
    return 0


if __name__ == "__main__":
    namespace.run_in_namespace(lambda: screenshot(sys.argv[1] if len(sys.argv) > 1
                                                  else "docs/hiscores-window.png"))
