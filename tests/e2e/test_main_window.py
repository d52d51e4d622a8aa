"""The real program in window mode, driven through its dialog on the rig's display: keys,
buttons, the link label, the message boxes and the floppy drive A:."""

import filecmp
import os
import shutil

import gui
import rig

TITLE = "Tumbra Hiscores"
ONLY_TITLE = "^Tumbra Hiscores$"

# The dialog template's size and the controls the tests press, in template units.
TEMPLATE_SIZE = (302, 175)
SEND_LOCAL_BUTTON = (26, 58, 250, 24)
EXIT_BUTTON = (102, 149, 98, 20)
LINK_LABEL = (80, 22, 172, 9)
EMPTY_CORNER = (2, 170, 1, 1)

GAMES = [("Alpha", [b"alpha 100 Ann", b"alpha 90 50% Bob"]), ("Beta", [b"beta 7 Cy"])]
GAMES_TEXT = b"alpha 100 Ann\nalpha 90 50% Bob\nbeta 7 Cy\n"

SENT = "Your hiscores have been successfully sent to the TumbraGames website."
INSERT_DISK = "Insert floppy disk and click OK."
SAVED = "Your hiscores have been successfully written to the floppy disk."
SENT_FROM_FLOPPY = ("Hiscores from the floppy disk have been successfully sent to the "
                    "TumbraGames website.")


class MainWindow(rig.WineTestCase):
    def setUp(self):
        super().setUp()
        self.program = None
        self.floppy = None

    def tearDown(self):
        if self.program is not None:
            self.program.kill()
        if self.floppy is not None:
            shutil.rmtree(self.floppy)

    def start(self):
        self.program = gui.Program()
        self.window = gui.wait_for_window(ONLY_TITLE)
        self.layout = gui.DialogLayout(self.window, *TEMPLATE_SIZE)

    def click_control(self, rectangle):
        gui.click(self.window, *self.layout.centre(*rectangle))

    def answer_message_box(self):
        """Closes the box with the Enter key and gives the keyboard back to the dialog."""
        box = gui.wait_for_window(ONLY_TITLE, exclude=(self.window,))
        gui.press(box, "Return")
        gui.wait_until_gone(box)
        self.click_control(EMPTY_CORNER)

    def close_and_expect_exit_code_zero(self):
        gui.press(self.window, "Escape")
        self.assertEqual(self.program.wait(), 0)

    def map_floppy(self):
        self.floppy = os.path.join(rig.work_dir(), "floppy")
        os.mkdir(self.floppy)
        rig.map_drive("a", self.floppy)

    def test_opens_with_the_program_title(self):
        self.start()
        self.assertEqual(gui.title(self.window), TITLE)
        self.close_and_expect_exit_code_zero()
        self.assertEqual(self.program.message_boxes(), [])

    def test_escape_and_exit_button_end_the_program_with_code_zero(self):
        ways = [
            ("Escape", lambda: gui.press(self.window, "Escape")),
            ("Exit button", lambda: self.click_control(EXIT_BUTTON)),
        ]
        for name, close in ways:
            with self.subTest(name):
                self.start()
                close()
                self.assertEqual(self.program.wait(), 0)
                self.assertEqual(self.program.message_boxes(), [])

    def test_send_local_by_key_and_by_button(self):
        rig.set_records(GAMES)
        self.start()
        ways = [
            ("F1", lambda: gui.press(self.window, "F1")),
            ("first button", lambda: self.click_control(SEND_LOCAL_BUTTON)),
        ]
        for name, send in ways:
            with self.subTest(name):
                server = rig.RecordingServer()
                try:
                    send()
                    self.answer_message_box()
                finally:
                    server.close()
                self.assertEqual(server.requests, [rig.expected_request(GAMES_TEXT)])
                self.assertEqual(gui.title(self.window), TITLE)
        self.close_and_expect_exit_code_zero()
        self.assertEqual(self.program.message_boxes(), [SENT, SENT])

    def test_save_to_floppy_then_send_from_it(self):
        rig.set_records(GAMES)
        self.map_floppy()
        self.start()

        gui.press(self.window, "F2")
        self.answer_message_box()
        self.answer_message_box()
        with open(os.path.join(self.floppy, "hs.dat"), "rb") as saved:
            self.assertEqual(saved.read(), GAMES_TEXT.replace(b"\n", b"\r\n"))
        copy = os.path.join(self.floppy, os.path.basename(os.environ["HISCORES_EXE"]))
        self.assertTrue(filecmp.cmp(copy, os.environ["HISCORES_EXE"], shallow=False))

        rig.set_records([])
        server = rig.RecordingServer()
        try:
            gui.press(self.window, "F3")
            self.answer_message_box()
        finally:
            server.close()
        self.assertEqual(server.requests, [rig.expected_request(GAMES_TEXT)])
        self.close_and_expect_exit_code_zero()
        self.assertEqual(self.program.message_boxes(), [INSERT_DISK, SAVED, SENT_FROM_FLOPPY])

    def test_link_label_opens_the_hiscore_page(self):
        opened = os.path.join(rig.work_dir(), "opened-urls")
        browser = os.path.join(rig.work_dir(), "record-url")
        with open(browser, "w") as script:
            script.write('#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' % opened)
        os.chmod(browser, 0o755)
        rig.import_registry('[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]\n'
                            '"Browsers"="%s"\n' % browser)
        self.start()

        self.click_control(LINK_LABEL)

        gui.wait_for(lambda: os.path.exists(opened), 30, "the browser to be started")
        with open(opened) as urls:
            self.assertEqual(urls.read(), "http://%s/en/hiscores.php\n" % rig.SERVER_HOST)
        self.close_and_expect_exit_code_zero()


if __name__ == "__main__":
    rig.main()
