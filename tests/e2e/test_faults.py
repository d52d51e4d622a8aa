"""Faults of the network and a registry of ten thousand games: each silent run ends with
the documented exit code, sends only what it holds whole, and leaves no process behind."""

import unittest

from rig import environment, servers, testcase

ONE_GAME = [("Alpha", [b"alpha 100 Ann"])]


class NetworkFaults(testcase.WineTestCase):
    # Two minutes of waiting a build: the limits are the same code on both.
    @unittest.skipUnless(environment.processor() == "i686", "the shipping build's alone")
    def test_a_destination_that_would_hold_the_run_is_given_up_at_its_limit(self):
        """20 s for a connection attempt that is never answered; 30 s for a server that
        falls silent; 60 s from connecting for a request whose server trickles its status
        line, a byte within every 30 s."""
        trickle = dict(reply_pieces=[b"HTTP/1.0 20", b"0", b" ", b"OK\r\n\r\n"], pause=25)
        cases = [
            ("never answers the connection", servers.UnansweringPort, {}, 2, 20),
            ("falls silent", servers.RecordingServer, dict(reply_pieces=[], stall=True), 3, 30),
            ("trickles its status line", servers.RecordingServer, trickle, 3, 60),
        ]
        for name, destination, options, expected_code, limit in cases:
            with self.subTest(name):
                run = self.run_silent(ONE_GAME, destination(**options), timeout=limit + 30)
                self.assertEqual(run.code, expected_code)
                self.assertGreater(run.seconds, limit - 1)
                self.assertLess(run.seconds, limit + environment.scaled(5))


class RegistryInput(testcase.WineTestCase):
    def test_ten_thousand_games_arrive_whole_over_several_requests(self):
        baseline = self.run_silent([], server={}).seconds
        games = [("game%05d" % n, [b"record of game %05d" % n]) for n in range(10000)]
        run = self.run_silent(games, server={})
        self.assertEqual(run.code, 0)
        self.assertGreater(len(run.bodies), 1)
        # Every request holds whole records within the text's limit, the next record
        # would not have fitted, and together they hold every record in order.
        for body in run.bodies:
            self.assertLessEqual(len(body), 9999)
            self.assertTrue(body.endswith(b"\n"))
        for body in run.bodies[:-1]:
            self.assertGreater(len(body) + len(b"record of game 00000\n"), 9999)
        records = b"".join(run.bodies).split(b"\n")[:-1]
        self.assertEqual(records, [b"record of game %05d" % n for n in range(10000)])
        self.assertLess(run.seconds - baseline, 10.0, "the program's own time beyond a bare run")


if __name__ == "__main__":
    testcase.main()
