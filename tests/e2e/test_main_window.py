"""The real program in window mode, driven through its dialog on the rig's display: keys,
buttons, the link label, the message boxes and the floppy drive A:."""

import pathlib
import re
import shutil
import struct
import tempfile

from rig import environment, gui, namespace, program, registry, servers, sources, testcase, wine

TEXTS = sources.messages()
ONLY_TITLE = "^%s$" % re.escape(TEXTS["kProgramTitle"])

# Loaded by name when the first window opens (Wine's display driver, which its input
# method support loads). The other DLLs Wine loads for a program come in before its entry
# point, as imports of Wine's own DLLs, or as their delay-loaded imports, which Wine looks
# for without the process's search restriction: those would test Wine, not the program.
PLANTED = "winex11.drv"

GAMES = [("Alpha", [b"alpha 100 Ann", b"alpha 90 50% Bob"]), ("Beta", [b"beta 7 Cy"])]
GAMES_TEXT = b"alpha 100 Ann\nalpha 90 50% Bob\nbeta 7 Cy\n"


def own_calls(trace):
    """The calls in a relay trace made by the program's own code, without leading zeros;
    an argument of five digits or more, an address, as "*"."""
    image = pathlib.Path(environment.program()).read_bytes()
    header = struct.unpack_from("<I", image, 0x3C)[0] + 24  # the optional header
    wide = struct.unpack_from("<H", image, header)[0] == 0x20B
    base = struct.unpack_from("<Q" if wide else "<I", image, header + (24 if wide else 28))[0]
    size = struct.unpack_from("<I", image, header + 56)[0]
    return [re.sub(r"\b[0-9a-f]{5,}\b", "*", re.sub(r"\b0+(?=[0-9a-f])", "", call))
            for call, ret in
            re.findall(r"Call \w+\.(\w+\([0-9a-f,]*\)) ret=([0-9a-f]+)", trace)
            if base <= int(ret, 16) < base + size]


class MainWindow(testcase.WineTestCase):
    def start(self, command=None, **extra_env):
        self.program = program.Window(command, **extra_env)
        self.addCleanup(self.program.kill)
        self.window = gui.wait_for_window(ONLY_TITLE)
        self.layout = gui.DialogLayout(self.window)

    def use(self, way):
        """Presses the key, or clicks the control named by its ID_ name."""
        if way.startswith("ID_"):
            gui.click(self.window, *self.layout.centre(way))
        else:
            gui.press(self.window, way)

    def answer_message_box(self):
        """Closes the box with the Enter key and gives the keyboard back to the dialog."""
        box = gui.wait_for_window(ONLY_TITLE, exclude=(self.window,))
        gui.press(box, "Return")
        gui.wait_until_gone(box)
        gui.click(self.window, *self.layout.empty_spot())

    def close(self, *message_boxes, way="Escape"):
        """Ends the program the way given: exit code 0, after the texts of message_boxes
        and no others."""
        self.use(way)
        self.assertEqual(self.program.wait(), 0)
        self.assertEqual(self.program.message_boxes(), list(message_boxes))

    def test_opens_with_the_program_title_and_loads_no_dll_beside_it(self):
        # Started from a folder named with a blank and a letter above 0x7F, by a command
        # line that names it quoted, as Explorer does, or through cmd, the rest of its own
        # name is no argument. A DLL planted in that folder, one that the process loads by
        # name once it runs and that Wine is told to prefer to its own, is never loaded.
        folder = pathlib.Path(namespace.work_dir()) / "T\u00fcmbra Games"
        folder.mkdir(exist_ok=True)
        copy = folder / "hiscores.exe"
        shutil.copyfile(environment.program(), copy)
        shutil.copyfile(environment.planted_dll(), folder / PLANTED)
        # Also when the window never opens, as when the planted display driver was taken.
        mark = folder / (PLANTED + ".loaded")
        self.addCleanup(lambda: self.assertFalse(mark.exists(), "the planted DLL was loaded"))
        for command in ([str(copy)], ["cmd", "/c", "Z:" + str(copy).replace("/", "\\")]):
            with self.subTest(command=command):
                self.start(command, WINEDLLOVERRIDES=PLANTED + "=n,b")
                self.assertEqual(gui.title(self.window), TEXTS["kProgramTitle"])
                self.close()

    def test_start_up_sets_the_error_mode_and_only_the_window_starts_controls_and_com(self):
        # Wine shows no box for a drive without a disk, so only the calls can show: in
        # Wine's relay trace, those returning into the program's image.
        relayed = ("kernel32.SetErrorMode;comctl32.InitCommonControlsEx;user32.CreateDialogParamA;"
                   "combase.CoInitializeEx;combase.CoUninitialize")
        registry.import_registry('[HKEY_CURRENT_USER\\Software\\Wine\\Debug]\n'
                                 '"RelayInclude"="%s"\n' % relayed)
        self.start(trace="-all,+msgbox,+relay")
        self.close()
        silent = program.run(trace="-all,+relay")
        window = ["SetErrorMode(1)", "SetErrorMode(1)", "InitCommonControlsEx(*)",
                  "CreateDialogParamA(*,65,0,*,0)", "CoInitializeEx(0,6)", "CoUninitialize()"]
        self.assertEqual((own_calls(self.program.trace()), own_calls(silent.trace)),
                         (window, window[:2]))

    def test_escape_and_exit_button_end_the_program_with_code_zero(self):
        for way in ("Escape", "ID_EXIT_BUTTON"):
            with self.subTest(way):
                self.start()
                self.close(way=way)

    def test_send_local_by_key_and_by_button(self):
        registry.set_records(GAMES)
        self.start()
        for way in ("F1", "ID_SEND_LOCAL_BUTTON"):
            with self.subTest(way):
                with servers.RecordingServer() as server:
                    self.use(way)
                    self.answer_message_box()
                self.assertEqual(server.requests, [servers.expected_request(GAMES_TEXT)])
                self.assertEqual(gui.title(self.window), TEXTS["kProgramTitle"])
        self.close(TEXTS["kSentMessage"], TEXTS["kSentMessage"])

    def test_save_to_floppy_then_send_from_it(self):
        built = pathlib.Path(environment.program())
        cases = [
            # (name, files on the disk beforehand, started from the disk): the disk ends up
            # with the records in DOS text form and the built program either way.
            ("empty disk", {}, False),
            ("older file and copy are replaced",
             {"hs.dat": b"old record\r\n" * 2000, built.name: b"MZ an older program"}, False),
            ("started from the disk, which makes no copy", {built.name: built.read_bytes()}, True),
        ]
        for case, on_disk, from_disk in cases:
            with self.subTest(case):
                floppy = pathlib.Path(tempfile.mkdtemp(dir=namespace.work_dir()))
                wine.map_drive("a", floppy)
                for name, data in on_disk.items():
                    (floppy / name).write_bytes(data)
                copy = floppy / built.name
                copied_at = copy.stat().st_mtime_ns if from_disk else None
                registry.set_records(GAMES)
                self.start(["A:\\" + built.name] if from_disk else None)

                self.use("F2")
                self.answer_message_box()
                self.answer_message_box()
                self.assertEqual((floppy / "hs.dat").read_bytes(),
                                 GAMES_TEXT.replace(b"\n", b"\r\n"))
                self.assertEqual(copy.read_bytes(), built.read_bytes())
                if from_disk:
                    self.assertEqual(copy.stat().st_mtime_ns, copied_at)

                registry.set_records([])
                with servers.RecordingServer() as server:
                    self.use("F3")
                    self.answer_message_box()
                self.assertEqual(server.requests, [servers.expected_request(GAMES_TEXT)])
                self.close(TEXTS["kInsertFloppyMessage"], TEXTS["kSavedToFloppyMessage"],
                           TEXTS["kSentFromFloppyMessage"])

    def test_link_label_opens_the_hiscore_page(self):
        opened = pathlib.Path(namespace.work_dir(), "opened-urls")
        browser = pathlib.Path(namespace.work_dir(), "record-url")
        browser.write_text('#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' % opened)
        browser.chmod(0o755)
        registry.import_registry('[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]\n'
                                 '"Browsers"="%s"\n' % browser)
        self.start()

        self.use("ID_HISCORE_PAGE_LINK")

        gui.wait_for(opened.exists, 30, "the browser to be started")
        self.assertEqual(opened.read_text(),
                         "http://%s/en/hiscores.php\n" % environment.server_host())
        self.close()


if __name__ == "__main__":
    testcase.main()
