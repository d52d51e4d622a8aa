"""Wine commands in the rig's prefix."""

import os
import subprocess
import tempfile

from rig import environment


# No address randomization: Debian's Wine has no preloader to hold 0x7ffe0000, where a
# random heap kills a process at start ("failed to map the shared user data").
_WINE = ["setarch", "-R", environment.WINE]


def env(**extra):
    return {"WINEDEBUG": "-all", **os.environ, "WINEPREFIX": environment.prefix(), **extra}


def stop():
    subprocess.run([environment.WINESERVER, "-k"], env=env(), stderr=subprocess.DEVNULL)
    subprocess.run([environment.WINESERVER, "-w"], env=env(), stderr=subprocess.DEVNULL)


def start_server():
    """One wineserver for the whole run: starting it anew for each program costs
    seconds."""
    subprocess.run([environment.WINESERVER, "-p"], env=env(), check=True)
    run(["wineboot", "-i"], timeout=120)


def run(args, timeout=60, **extra_env):
    """Runs a Wine command and returns its exit code and its output, standard and error, as
    text; timeout holds on 64-bit Wine. The output goes through a file: Wine's background
    processes inherit the descriptors, and a pipe would stay open as long as they live."""
    with tempfile.TemporaryFile() as output:
        process = subprocess.run([*_WINE, *args], env=env(**extra_env),
                                 stdout=output, stderr=output,
                                 timeout=environment.scaled(timeout))
        output.seek(0)
        return process.returncode, output.read().decode("utf-8", "replace")


def start(args, log, **extra_env):
    """Starts a Wine command in the background, its error output going to the open file
    log."""
    return subprocess.Popen([*_WINE, *args], env=env(**extra_env),
                            stdout=subprocess.DEVNULL, stderr=log)


def map_drive(letter, folder):
    """Makes the prefix's drive letter (such as "a") lead to folder, which need not
    exist."""
    link = os.path.join(environment.prefix(), "dosdevices", letter.lower() + ":")
    if os.path.lexists(link):
        os.unlink(link)
    os.symlink(folder, link)
