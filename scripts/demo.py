"""Runs hiscores.exe silently against a local upload server and shows what arrived."""

from rig import environment, namespace, program, registry, servers

GAMES = [("Tumbra Racer", [b"1. Ann 120440", b"2. Bob 98200"]),
         ("Tumbra Puzzle", [b"1. Cy 7 levels, 31:05"])]


def demo():
    registry.import_registry(registry.proxy_text("", 0) + registry.records_text(GAMES))
    print("Records in HKEY_LOCAL_MACHINE\\Software\\Tumbra:")
    for game, records in GAMES:
        for number, record in enumerate(records, start=1):
            print("  %s\\_rek_%d = %s" % (game, number, record.decode()))
    with servers.RecordingServer() as server:
        print("\nUpload server listening on 127.0.0.1:80 as %s" % environment.server_host())
        print("Running: %s hiscores.exe /send" % environment.WINE)
        run = program.run(["/send"])
    print("\nThe server received:")
    for head, body in map(servers.parse_request, server.requests):
        for line in head.split("\r\n"):
            print("  " + line)
        print("  (blank line, then the body:)")
        for line in body.decode("latin-1").splitlines():
            print("  | " + line)
    print("\nExit code: %d (0 sent, 1 no hiscores, 2 no connection, 3 transfer error)" % run.code)
    return run.code


if __name__ == "__main__":
    namespace.run_in_namespace(demo)
