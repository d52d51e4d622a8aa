"""Runs hiscores.exe silently against a local upload server and shows what arrived."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import rig  # noqa: E402

GAMES = [("Tumbra Racer", [b"1. Ann 120440", b"2. Bob 98200"]),
         ("Tumbra Puzzle", [b"1. Cy 7 levels, 31:05"])]


def demo():
    rig.import_registry(rig.proxy_text("", 0) + rig.records_text(GAMES))
    print("Records in HKEY_LOCAL_MACHINE\\Software\\Tumbra:")
    for game, records in GAMES:
        for number, record in enumerate(records, start=1):
            print("  %s\\_rek_%d = %s" % (game, number, record.decode()))
    server = rig.RecordingServer()
    print("\nUpload server listening on 127.0.0.1:80 as %s" % rig.SERVER_HOST)
    print("Running: wine hiscores.exe /send")
    try:
        run = rig.run_hiscores(["/send"])
    finally:
        server.close()
    print("\nThe server received:")
    for request in server.requests:
        head, body = rig.split_request(request)
        for line in head.split("\r\n"):
            print("  " + line)
        print("  (blank line, then the body:)")
        for line in body.decode("latin-1").splitlines():
            print("  | " + line)
    print("\nExit code: %d (0 sent, 1 no hiscores, 2 no connection, 3 transfer error)" % run.code)
    return run.code


if __name__ == "__main__":
    if os.environ.get(rig.NAMESPACE_FLAG) != "1":
        rig.reexec_in_namespace()
    try:
        rig.enter_namespace()
        code = demo()
    finally:
        rig.leave_namespace()
    sys.exit(code)
