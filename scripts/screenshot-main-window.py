"""Saves a picture of the program's main window, by default as the README shows it:
    scripts/with-rig.sh BUILD_DIR python3 scripts/screenshot-main-window.py [--dpi DPI] [OUTPUT]
BUILD_DIR is a win64 build folder (the x86_64 program runs here under Wine). --dpi sets
the display's dots per inch (LogPixels) while the program runs; the default output is
then docs/hiscores-window-<DPI>dpi.png."""

import argparse
import re
import time

from rig import gui, namespace, program, registry, sources

# Read by each process as it starts; removed afterwards, so the prefix is left at Wine's
# default of 96.
LOG_PIXELS = '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=%s\n'


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


def screenshot_at(dpi, output):
    if dpi is None:
        return screenshot(output)
    registry.import_registry(LOG_PIXELS % ("dword:%08x" % dpi))
    try:
        return screenshot(output)
    finally:
        registry.import_registry(LOG_PIXELS % "-")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--dpi", type=int)
    parser.add_argument("output", nargs="?")
    arguments = parser.parse_args()
    output = arguments.output or ("docs/hiscores-window-%ddpi.png" % arguments.dpi
                                  if arguments.dpi is not None else "docs/hiscores-window.png")
    namespace.run_in_namespace(lambda: screenshot_at(arguments.dpi, output))
