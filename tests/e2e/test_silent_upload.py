"""Silent runs of the real program: started with an argument it uploads the registry's
records and reports only through its exit code."""

from rig import namespace, registry, servers, testcase

TWO_GAMES = [("Alpha", [b"alpha 100 Ann", b"alpha 90 Bob"]), ("Beta", [b"beta 7 Cy"])]
TWO_GAMES_TEXT = b"alpha 100 Ann\nalpha 90 Bob\nbeta 7 Cy\n"


class SilentUpload(testcase.WineTestCase):
    def test_the_records_and_the_server_decide_the_exit_code_well_inside_a_minute(self):
        raw = bytes(range(1, 256)).replace(b"\n", b"")
        sent = [servers.expected_request(TWO_GAMES_TEXT)]
        byte_by_byte = [bytes([b]) for b in b"HTTP/1.0 200 OK\r\n"]
        cases = [
            # (name, games, the recording server's options, the server's name resolves,
            # exit code, requests the server received byte for byte)
            ("two games", TWO_GAMES, {}, True, 0, sent),
            ("record bytes sent raw", [("Raw", [raw, b"100% done"])], {}, True, 0,
             [servers.expected_request(raw + b"\n100% done\n")]),
            ("not found", TWO_GAMES, dict(reply_pieces=[b"HTTP/1.0 404 Not Found\r\n\r\n"]),
             True, 3, sent),
            ("thirteen bytes then close", TWO_GAMES, dict(reply_pieces=[b"HTTP/1.0 200\r"]), True,
             3, sent),
            ("status line in pieces", TWO_GAMES,
             dict(reply_pieces=[b"HTTP/1.1 2", b"00 O", b"K\r\n\r\n"]), True, 0, sent),
            ("status line a byte at a time", TWO_GAMES, dict(reply_pieces=byte_by_byte), True, 0,
             sent),
            ("64 KiB of garbage", TWO_GAMES, dict(reply_pieces=[bytes(range(256)) * 256]), True, 3,
             sent),
            ("answers before reading the request", TWO_GAMES, dict(read_request=False), True, 0,
             sent),
            ("close without answer", TWO_GAMES, dict(reply_pieces=[]), True, 3, sent),
            ("resets the connection instead of answering", TWO_GAMES, dict(reset=True), True, 3,
             sent),
            ("no records: nothing sent", [("Empty", [])], {}, True, 1, []),
            ("unresolvable server and no proxy", TWO_GAMES, {}, False, 2, []),
        ]
        for name, games, server, resolves, code, requests in cases:
            with self.subTest(name):
                namespace.map_server_host(resolves)
                run = self.run_silent(games, server=server)
                self.assertEqual((run.code, run.requests), (code, requests))
                self.assertLess(run.seconds, 45)

    def test_any_argument_text_means_silent(self):
        registry.set_records([])
        for args in (["x"], ['""'], ['"'], ["/?", "more"]):
            with self.subTest(args=args):
                self.assertEqual(self.run_silent(args=args).code, 1)


class ProxyFallback(testcase.WineTestCase):
    """The direct connection fails; the user's proxy settings decide."""

    def test_real_proxy_that_alone_resolves_the_server(self):
        namespace.map_server_host(False)
        registry.set_records(TWO_GAMES)
        settings = ["http://127.0.0.1:3128", "ftp=127.0.0.1:21;http=127.0.0.1:3128;https=x:1"]
        with servers.TinyProxy(port=3128):
            for setting in settings:
                with self.subTest(setting):
                    registry.set_proxy(setting, 1)
                    run = self.run_silent(server={})
                    self.assertEqual((run.code, run.bodies), (0, [TWO_GAMES_TEXT]))
                    self.assertTrue(run.requests[0].startswith(b"POST /rekordy/dopisz.php HTTP/1."),
                                    run.requests[0])

    def test_failed_direct_connection_then_the_proxy_settings_decide(self):
        # Refused: the server's name resolves but nothing listens on port 80, as behind a
        # firewall that rejects. A recording proxy listens on port 3129.
        cases = [
            # (name, server name resolves, proxy setting, enabled, exit code, requests
            # the recording proxy received)
            ("refused, proxy enabled", True, "127.0.0.1:3129", 1, 0,
             [servers.expected_request(TWO_GAMES_TEXT, via_proxy=True)]),
            ("refused, no proxy", True, "", 0, 2, []),
            ("refused, proxy disabled", True, "127.0.0.1:3129", 0, 2, []),
            ("refused, proxy refuses", True, "127.0.0.1:3130", 1, 2, []),
            ("unresolved, proxy refuses", False, "127.0.0.1:3131", 1, 2, []),
            ("unresolved, proxy host does not resolve", False, "http://proxy.invalid:3128", 1,
             2, []),
        ]
        registry.set_records(TWO_GAMES)
        for name, resolves, setting, enable, code, requests in cases:
            with self.subTest(name):
                namespace.map_server_host(resolves)
                registry.set_proxy(setting, enable)
                run = self.run_silent(server=dict(port=3129))
                self.assertEqual((run.code, run.requests), (code, requests))

    def test_proxy_carries_the_rest_when_the_server_refuses_after_a_first_request(self):
        halves = [b"%d" % n * 4998 for n in range(5)]  # two fit in one request
        bodies = [b"".join(half + b"\n" for half in halves[n:n + 2]) for n in (0, 2, 4)]
        registry.set_proxy("127.0.0.1:3129", 1)
        with servers.RecordingServer(port=3129) as proxy:
            run = self.run_silent([("Alpha", halves)], server=dict(connections=1))
        self.assertEqual((run.code, run.requests, proxy.requests),
                         (0, [servers.expected_request(bodies[0])],
                          [servers.expected_request(body, via_proxy=True) for body in bodies[1:]]))


if __name__ == "__main__":
    testcase.main()
