"""One private namespace for a whole run of Wine.

The caller runs again as root inside `unshare`: a network namespace whose loopback is
the only network, where the upload server's host name leads to 127.0.0.1 through a
hosts file of its own (and an empty resolv.conf makes other names fail at once); a PID
namespace, so that the run sees its own processes only and ending it ends them all; and
a display and one wineserver, both started inside, since wineserver creates the
programs' sockets.
"""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

from rig import display, environment, wine

_FLAG = "TUMBRA_RIG_NAMESPACE"
_work = None


def run_in_namespace(body):
    """Runs body() in the namespace and exits with the code it returns."""
    if os.environ.get(_FLAG) != "1":
        os.execvpe("unshare", ["unshare", "-mnp", "--kill-child", "--mount-proc", "--",
                               sys.executable, *sys.argv], dict(os.environ, **{_FLAG: "1"}))
    global _work
    _work = tempfile.mkdtemp(prefix="tumbra-rig-")
    screen = None
    try:
        subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
        map_server_host(True)
        _mount(["--bind", os.path.join(_work, "hosts")], "/etc/hosts")
        resolv = os.path.join(_work, "resolv.conf")
        open(resolv, "w").close()
        _mount(["--bind", resolv], "/etc/resolv.conf")
        wine.stop()
        # Xvfb takes a lock file of another PID namespace for a stale one: it keeps none,
        # and its socket folder is the namespace's own, so display :0 is always free.
        os.makedirs("/tmp/.X11-unix", exist_ok=True)
        _mount(["-t", "tmpfs", "tmpfs"], "/tmp/.X11-unix")
        screen = display.Xvfb(0, "-nolock")
        os.environ["DISPLAY"] = screen.name
        wine.start_server()
        code = body()
    finally:
        wine.stop()
        if screen is not None:
            screen.stop()
        shutil.rmtree(_work, ignore_errors=True)
    sys.exit(code)


def _mount(options, target):
    subprocess.run(["mount", *options, target], check=True)


def work_dir():
    """A folder of the run's own, removed at its end."""
    return _work


def map_server_host(reachable, hosts_file=None):
    """Makes the server's host name resolve to 127.0.0.1, or not at all. The file is
    rewritten in place, since it is bind-mounted."""
    names = "localhost " + environment.server_host() if reachable else "localhost"
    pathlib.Path(hosts_file or os.path.join(_work, "hosts")).write_text("127.0.0.1 %s\n" % names)
