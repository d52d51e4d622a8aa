"""Silent runs of the real program: started with an argument it uploads the registry's
records and reports only through its exit code."""

from rig import namespace, program, registry, servers, testcase

TWO_GAMES = [("Alpha", [b"alpha 100 Ann", b"alpha 90 Bob"]), ("Beta", [b"beta 7 Cy"])]
TWO_GAMES_TEXT = b"alpha 100 Ann\nalpha 90 Bob\nbeta 7 Cy\n"


class SilentUpload(testcase.WineTestCase):
    def upload(self, reply_pieces=(servers.OK_REPLY,), games=TWO_GAMES, **server_options):
        registry.set_records(games)
        with servers.RecordingServer(reply_pieces=reply_pieces, **server_options) as server:
            run = program.run()
        self.assertEqual(run.message_boxes, [], "a silent run showed a message box")
        return run.code, server.requests

    def test_records_of_two_games_arrive_byte_exact(self):
        code, requests = self.upload()
        self.assertEqual(code, 0)
        self.assertEqual(requests, [servers.expected_request(TWO_GAMES_TEXT)])

    def test_record_bytes_are_sent_raw(self):
        record = bytes(range(1, 256)).replace(b"\n", b"")
        code, requests = self.upload(games=[("Raw", [record, b"100% done"])])
        self.assertEqual(code, 0)
        self.assertEqual(servers.split_request(requests[0])[1], record + b"\n100% done\n")

    def test_replies_decide_the_exit_code(self):
        cases = [
            ("not found", [b"HTTP/1.0 404 Not Found\r\n\r\n"], 3),
            ("thirteen bytes then close", [b"HTTP/1.0 200\r"], 3),
            ("status line in pieces", [b"HTTP/1.1 2", b"00 O", b"K\r\n\r\n"], 0),
            ("close without answer", [], 3),
        ]
        for name, pieces, expected in cases:
            with self.subTest(name):
                code, requests = self.upload(reply_pieces=pieces)
                self.assertEqual(code, expected)
                self.assertEqual(requests, [servers.expected_request(TWO_GAMES_TEXT)])

    def test_no_records_gives_one_and_sends_nothing(self):
        code, requests = self.upload(games=[("Empty", [])])
        self.assertEqual(code, 1)
        self.assertEqual(requests, [])

    def test_any_argument_text_means_silent(self):
        registry.set_records([])
        for args in (["x"], ['""'], ['"'], ["/?", "more"]):
            with self.subTest(args=args):
                run = program.run(args)
                self.assertEqual((run.code, run.message_boxes), (1, []))

    def test_no_server_and_no_proxy_gives_two(self):
        registry.set_records(TWO_GAMES)
        run = program.run()
        self.assertEqual((run.code, run.message_boxes), (2, []))

    def test_unresolvable_server_and_no_proxy_gives_two(self):
        namespace.map_server_host(False)
        code, requests = self.upload()
        self.assertEqual(code, 2)
        self.assertEqual(requests, [])


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
                    with servers.RecordingServer() as server:
                        run = program.run()
                    self.assertEqual((run.code, run.message_boxes), (0, []))
                    self.assertEqual(len(server.requests), 1)
                    head, body = servers.split_request(server.requests[0])
                    self.assertTrue(head.startswith("POST /rekordy/dopisz.php HTTP/1."), head)
                    self.assertEqual(body, TWO_GAMES_TEXT)

    def test_refused_direct_connection_tries_the_proxy_only_when_enabled(self):
        """The server's name resolves but nothing listens on port 80, as behind a
        firewall that rejects; a recording proxy listens on another port."""
        registry.set_records(TWO_GAMES)
        cases = [
            ("enabled", 1, 0, [servers.expected_request(TWO_GAMES_TEXT, via_proxy=True)]),
            ("disabled", 0, 2, []),
        ]
        for name, enable, expected_code, expected_requests in cases:
            with self.subTest(name):
                registry.set_proxy("127.0.0.1:3129", enable)
                with servers.RecordingServer(port=3129) as proxy:
                    run = program.run()
                self.assertEqual((run.code, run.message_boxes), (expected_code, []))
                self.assertEqual(proxy.requests, expected_requests)

    def test_proxy_that_refuses_gives_two(self):
        registry.set_records(TWO_GAMES)
        registry.set_proxy("127.0.0.1:3130", 1)
        run = program.run()
        self.assertEqual((run.code, run.message_boxes), (2, []))


if __name__ == "__main__":
    testcase.main()
