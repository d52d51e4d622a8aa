"""Faults of the network and odd registry contents: each silent run ends with the
documented exit code, sends only what it holds whole, and leaves no process behind."""

import subprocess
import time

from rig import environment, namespace, program, registry, servers, testcase

ONE_GAME = [("Alpha", [b"alpha 100 Ann"])]


def hiscores_processes():
    """The run's own: the rig's PID namespace holds only the processes it started."""
    listing = subprocess.run(["ps", "-eo", "args"], capture_output=True, text=True).stdout
    return [line for line in listing.splitlines() if "hiscores.exe" in line]


class NetworkFaults(testcase.WineTestCase):
    def run_against(self, **server_options):
        registry.set_records(ONE_GAME)
        with servers.RecordingServer(**server_options):
            run = program.run()
        self.assertEqual(run.message_boxes, [])
        self.assertEqual(hiscores_processes(), [])
        return run.code

    def test_server_that_falls_silent_is_given_up_well_inside_a_minute(self):
        started = time.monotonic()
        self.assertEqual(self.run_against(reply_pieces=[], stall=True), 3)
        self.assertLess(time.monotonic() - started, 45)

    def test_a_destination_that_would_hold_the_run_is_given_up_at_its_limit(self):
        """20 s for a connection attempt that is never answered; 60 s from connecting
        for a request whose server trickles its status line, a byte within every 30 s."""
        trickle = dict(reply_pieces=[b"HTTP/1.0 20", b"0", b" ", b"OK\r\n\r\n"], pause=25)
        cases = [
            ("never answers the connection", servers.UnansweringPort, {}, 2, 20),
            ("trickles its status line", servers.RecordingServer, trickle, 3, 60),
        ]
        registry.set_records(ONE_GAME)
        for name, destination, options, expected_code, limit in cases:
            with self.subTest(name), destination(**options):
                started = time.monotonic()
                run = program.run(timeout=limit + 30)
                elapsed = time.monotonic() - started
                self.assertEqual((run.code, run.message_boxes), (expected_code, []))
                self.assertGreater(elapsed, limit - 1)
                self.assertLess(elapsed, limit + environment.scaled(5))
                self.assertEqual(hiscores_processes(), [])

    def test_server_faults_give_the_documented_exit_code(self):
        cases = [
            ("resets the connection instead of answering", dict(reset=True), 3),
            ("answers before reading the request", dict(read_request=False), 0),
            ("sends the status line a byte at a time",
             dict(reply_pieces=[bytes([b]) for b in b"HTTP/1.0 200 OK\r\n"]), 0),
            ("sends 64 KiB of garbage", dict(reply_pieces=[bytes(range(256)) * 256]), 3),
        ]
        for name, options, expected in cases:
            with self.subTest(name):
                self.assertEqual(self.run_against(**options), expected)

    def test_proxy_faults_give_two(self):
        cases = [
            ("proxy refuses", "127.0.0.1:3131"),
            ("proxy host does not resolve", "http://proxy.invalid:3128"),
        ]
        namespace.map_server_host(False)
        registry.set_records(ONE_GAME)
        for name, setting in cases:
            with self.subTest(name):
                registry.set_proxy(setting, 1)
                run = program.run()
                self.assertEqual((run.code, run.message_boxes), (2, []))
                self.assertEqual(hiscores_processes(), [])


class RegistryInput(testcase.WineTestCase):
    def send(self, games):
        registry.set_records(games)
        return self.run_recorded()

    def run_recorded(self):
        with servers.RecordingServer() as server:
            started = time.monotonic()
            run = program.run()
            elapsed = time.monotonic() - started
        self.assertEqual(run.message_boxes, [])
        bodies = [servers.split_request(request)[1] for request in server.requests]
        return run.code, bodies, elapsed

    def test_ten_thousand_games_arrive_whole_over_several_requests(self):
        _, _, baseline = self.send([])
        games = [("game%05d" % n, [b"record of game %05d" % n]) for n in range(10000)]
        code, bodies, elapsed = self.send(games)
        self.assertEqual(code, 0)
        self.assertGreater(len(bodies), 1)
        # Every request holds whole records within the text's limit, the next record
        # would not have fitted, and together they hold every record in order.
        for body in bodies:
            self.assertLessEqual(len(body), 9999)
            self.assertTrue(body.endswith(b"\n"))
        for body in bodies[:-1]:
            self.assertGreater(len(body) + len(b"record of game 00000\n"), 9999)
        records = b"".join(bodies).split(b"\n")[:-1]
        self.assertEqual(records, [b"record of game %05d" % n for n in range(10000)])
        self.assertLess(elapsed - baseline, 10.0, "the program's own time beyond a bare run")

    def test_largest_record_that_fits_is_sent_whole(self):
        record = bytes((n % 26) + 65 for n in range(9998))
        code, bodies, _ = self.send([("Alpha", [record])])
        self.assertEqual(code, 0)
        self.assertEqual(bodies, [record + b"\n"])

    def test_record_of_9999_bytes_cannot_fit_with_its_line_feed(self):
        code, bodies, _ = self.send([("Alpha", [b"x" * 9999])])
        self.assertEqual((code, bodies), (1, []))

    def test_game_key_name_of_255_characters(self):
        # Wine's ANSI registry calls refuse a key path much beyond 256 characters, which
        # Windows opens: under Wine the longest name is skipped like an unreadable key,
        # and a long name that Wine can open is read.
        code, bodies, _ = self.send([("g" * 255, [b"longest name"]), ("h" * 240, [b"long name"]),
                                     ("i", [b"short"])])
        self.assertEqual(code, 0)
        self.assertEqual(sorted(bodies[0].split(b"\n")), [b"", b"long name", b"short"])

    def test_values_of_every_other_type_are_not_records(self):
        other_types = {
            "none": "hex(0):41,00", "expand string": "hex(2):41,00", "binary": "hex:41,42",
            "dword": "dword:00000041", "big endian dword": "hex(5):00,00,00,41",
            "link": "hex(6):41,00", "multi string": "hex(7):41,00,00",
            "resource list": "hex(8):41", "qword": "hex(b):41,00,00,00,00,00,00,00",
        }
        text = registry.records_text([("Valid", [b"kept"])])
        for n, (name, value) in enumerate(other_types.items()):
            text += '[%s\\Other%d]\n"_rek_1"=%s\n' % (registry.PRODUCT_KEY, n, value)
        text += ('[%s\\Valid]\n"_rek_2"=dword:00000001\n"_rek_3"="after a gap"\n'
                 % registry.PRODUCT_KEY)
        registry.import_registry(text)
        code, bodies, _ = self.run_recorded()
        self.assertEqual((code, bodies), (0, [b"kept\n"]))


if __name__ == "__main__":
    testcase.main()
