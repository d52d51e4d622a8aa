#!/usr/bin/env python3
"""The floppy commands under Wine, drive A: mapped to a folder of this machine.

Each case prepares the folder behind A: (fresh, holding old files, read-only, too
small, missing), runs one test of floppy_drive_test.exe, which calls the command and
checks what it showed, and then checks from Linux what landed on the disk and what
reached the upload server. The end-to-end rig (tests/e2e/rig.py) runs everything in
a private mount and network namespace, with one wineserver for the whole run: the
server listens on that namespace's port 80, and the server's host name resolves to
it through a hosts file bound over /etc/hosts there only.

Environment: FLOPPY_TEST_EXE, WINEPREFIX (created beforehand), HISCORES_SERVER_HOST.
"""
import os
import pathlib
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import rig  # noqa: E402

EXE = pathlib.Path(os.environ["FLOPPY_TEST_EXE"])

# What floppy_drive_test.exe stores as the local records, as text and as file bytes.
SAVED_TEXT = b"alice 100% 5000\nmulti\nline\n\ncr\rinside\n"
SAVED_BYTES = b"alice 100% 5000\r\nmulti\r\nline\r\n\r\ncr\rinside\r\n"


class FloppyDrive(unittest.TestCase):
    def setUp(self):
        self.work = pathlib.Path(rig.work_dir())
        self.floppy = self.work / "floppy"
        shutil.rmtree(self.floppy, ignore_errors=True)
        self.floppy.mkdir()
        rig.map_drive("a", self.floppy)
        self.server = rig.RecordingServer()
        self.mounted = False

    def tearDown(self):
        self.server.close()
        if self.mounted:
            subprocess.run(["umount", str(self.floppy)], check=True)

    def uploads(self):
        """The requests that reached the server. Closing it first waits until it has
        recorded the last one, which it does only after answering."""
        self.server.close()
        return self.server.requests

    def mount_over_floppy(self, *arguments):
        subprocess.run(["mount", *arguments, str(self.floppy)], check=True)
        self.mounted = True

    def run_test(self, name, program=None):
        code, output = rig.wine_output([program or str(EXE), "--gtest_filter=" + name])
        self.assertEqual(code, 0, output)
        self.assertIn("[  PASSED  ] 1 test.", output)

    def on_floppy(self):
        return sorted(os.listdir(self.floppy))

    def assert_saved_with_copy(self):
        self.assertEqual(self.on_floppy(), sorted(["hs.dat", EXE.name]))
        self.assertEqual((self.floppy / "hs.dat").read_bytes(), SAVED_BYTES)
        self.assertEqual((self.floppy / EXE.name).read_bytes(), EXE.read_bytes())

    def test_save_writes_text_and_copies_program(self):
        self.run_test("SaveToFloppy.WritesRecordsThatReadBackExactlyAndCopiesTheProgram")
        self.assert_saved_with_copy()

    def test_save_replaces_older_file_and_copy(self):
        (self.floppy / "hs.dat").write_bytes(b"old record\r\n" * 2000)
        (self.floppy / EXE.name).write_bytes(b"MZ an older program")
        self.run_test("SaveToFloppy.WritesRecordsThatReadBackExactlyAndCopiesTheProgram")
        self.assert_saved_with_copy()

    def test_saved_file_is_sent_as_the_saved_text(self):
        self.run_test("SaveToFloppy.WritesRecordsThatReadBackExactlyAndCopiesTheProgram")
        self.run_test("SendFromFloppy.UploadsTheFileAndReportsSuccess")
        self.assertEqual(self.uploads(), [rig.expected_request(SAVED_TEXT)])

    def test_save_without_records_leaves_disk_untouched(self):
        self.run_test("SaveToFloppy.WithoutRecordsComplainsBeforeThePromptAndTouchesNoDisk")
        self.assertEqual(self.on_floppy(), [])

    def test_save_when_running_from_floppy_makes_no_copy(self):
        program = self.floppy / EXE.name
        shutil.copyfile(EXE, program)
        before = program.stat().st_mtime_ns
        self.run_test("SaveToFloppy.FromTheFloppyMakesNoCopy", "A:\\" + EXE.name)
        self.assertEqual(self.on_floppy(), sorted(["hs.dat", EXE.name]))
        self.assertEqual((self.floppy / "hs.dat").read_bytes(), SAVED_BYTES)
        self.assertEqual(program.stat().st_mtime_ns, before)

    def test_refused_copy_keeps_the_file(self):
        self.run_test("SaveToFloppy.RefusedCopyKeepsTheFileAndSaysSo")
        self.assertEqual((self.floppy / "hs.dat").read_bytes(), SAVED_BYTES)
        self.assertTrue((self.floppy / EXE.name).is_dir())

    def test_save_to_read_only_disk_gives_write_error_and_no_file(self):
        self.mount_over_floppy("--bind", "-o", "ro", str(self.floppy))
        with self.assertRaises(OSError, msg="the folder must refuse writes, even root's"):
            (self.floppy / "probe").write_bytes(b"")
        self.run_test("SaveToFloppy.ProtectedDiskGivesTheWriteError")
        self.assertEqual(self.on_floppy(), [])

    def test_save_to_disk_that_fills_up_gives_write_error_and_no_file(self):
        self.mount_over_floppy("-t", "tmpfs", "-o", "size=4k", "tmpfs")
        self.run_test("SaveToFloppy.DiskFillingUpGivesTheWriteErrorAndLeavesNoFile")
        self.assertEqual(self.on_floppy(), [])

    def test_save_to_full_disk_found_at_close_gives_write_error_and_no_file(self):
        self.mount_over_floppy("-t", "tmpfs", "-o", "size=4k", "tmpfs")
        (self.floppy / "filler").write_bytes(b"f" * 4096)
        with self.assertRaises(OSError, msg="the disk must be full"):
            (self.floppy / "probe").write_bytes(b"p")
        (self.floppy / "probe").unlink()
        self.run_test("SaveToFloppy.FullDiskFoundAtCloseGivesTheWriteErrorAndLeavesNoFile")
        self.assertEqual(self.on_floppy(), ["filler"])

    def send(self, file_bytes):
        (self.floppy / "hs.dat").write_bytes(file_bytes)
        self.run_test("SendFromFloppy.UploadsTheFileAndReportsSuccess")

    def test_send_uploads_the_file_text_byte_exact(self):
        # The first 1000-byte read ends inside a carriage return and line feed pair.
        first = b"p" * 999
        self.send(first + b"\r\n" + b"100%s\r\nlone\rcr\r\n\xe9\x1a\r\n")
        self.assertEqual(self.uploads(),
                         [rig.expected_request(first + b"\n" + b"100%s\nlone\rcr\n\xe9\x1a\n")])

    def test_send_empty_file_posts_empty_body(self):
        self.send(b"")
        self.assertEqual(self.uploads(), [rig.expected_request(b"")])

    def test_send_nul_ends_only_its_chunk(self):
        chunk = b"kept\r\n\0" + b"d" * (1000 - 6)
        self.send(chunk + b"next\r\n")
        self.assertEqual(self.uploads(), [rig.expected_request(b"kept\nnext\n")])

    def test_send_refuses_file_too_long_for_the_text(self):
        (self.floppy / "hs.dat").write_bytes(b"x" * 10000)
        self.run_test("SendFromFloppy.TooLongFileIsRefusedWhole")
        self.assertEqual(self.uploads(), [])

    def test_send_without_floppy_folder_gives_read_error(self):
        rig.map_drive("a", self.work / "no-such-folder")
        self.run_test("SendFromFloppy.MissingFileGivesTheReadError")
        self.assertEqual(self.uploads(), [])

    def test_send_without_file_gives_read_error(self):
        self.run_test("SendFromFloppy.MissingFileGivesTheReadError")
        self.assertEqual(self.uploads(), [])


if __name__ == "__main__":
    rig.main()
