#!/usr/bin/env python3
"""The floppy commands under Wine, drive A: mapped to a folder of this machine.

Each case prepares the folder behind A: (fresh, holding old files, read-only, too
small, missing), runs one test of floppy_drive_test.exe, which calls the command and
checks what it showed, and then checks from Linux what landed on the disk and what
reached the upload server. Everything runs in a private mount and network namespace:
the server listens on that namespace's port 80, and the server's host name resolves
to it through a hosts file bound over /etc/hosts there only.

Environment: FLOPPY_TEST_EXE, WINEPREFIX (created beforehand), FLOPPY_WORK_DIR,
HISCORES_SERVER_HOST.
"""
import os
import pathlib
import shutil
import socket
import subprocess
import sys
import threading
import unittest

if os.environ.get("FLOPPY_IN_NAMESPACE") != "1":
    os.environ["FLOPPY_IN_NAMESPACE"] = "1"
    os.execvp("unshare", ["unshare", "--mount", "--net", "--propagation", "private",
                          sys.executable, os.path.abspath(__file__)] + sys.argv[1:])

EXE = pathlib.Path(os.environ["FLOPPY_TEST_EXE"])
PREFIX = pathlib.Path(os.environ["WINEPREFIX"])
WORK = pathlib.Path(os.environ["FLOPPY_WORK_DIR"])
HOST = os.environ["HISCORES_SERVER_HOST"]

# What floppy_drive_test.exe stores as the local records, as text and as file bytes.
SAVED_TEXT = b"alice 100% 5000\nmulti\nline\n\ncr\rinside\n"
SAVED_BYTES = b"alice 100% 5000\r\nmulti\r\nline\r\n\r\ncr\rinside\r\n"

OK_REPLY = b"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nOK\n"


def upload_request(body):
    head = ("POST /rekordy/dopisz.php HTTP/1.0\r\nHost: %s\r\nUser-Agent: SalonTumbraRekordy\r\n"
            "Content-Length: %d\r\n\r\n" % (HOST, len(body)))
    return head.encode("ascii") + body


class UploadServer:
    """Accepts one connection at a time on port 80, records the request byte for
    byte (headers and Content-Length bytes of body) and answers 200."""

    def __init__(self):
        self.requests = []
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", 80))
        self.listener.listen(4)
        threading.Thread(target=self.serve, daemon=True).start()

    def serve(self):
        while True:
            connection, _ = self.listener.accept()
            with connection:
                connection.settimeout(30)
                self.requests.append(self.receive(connection))
                connection.sendall(OK_REPLY)

    @staticmethod
    def receive(connection):
        data = b""
        while b"\r\n\r\n" not in data:
            piece = connection.recv(65536)
            if not piece:
                return data
            data += piece
        head, _, body = data.partition(b"\r\n\r\n")
        length = 0
        for line in head.split(b"\r\n")[1:]:
            name, _, value = line.partition(b":")
            if name.strip().lower() == b"content-length":
                length = int(value)
        while len(body) < length:
            piece = connection.recv(65536)
            if not piece:
                break
            body += piece
        return head + b"\r\n\r\n" + body


def run(*command, check=True):
    return subprocess.run(command, check=check, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)


server = None


def setUpModule():
    global server
    run("ip", "link", "set", "lo", "up")
    WORK.mkdir(parents=True, exist_ok=True)
    hosts = WORK / "hosts"
    hosts.write_text("127.0.0.1 localhost\n127.0.0.1 %s\n" % HOST)
    run("mount", "--bind", str(hosts), "/etc/hosts")
    os.environ["WINEDEBUG"] = "-all"
    # Wine's sockets and file opens happen in wineserver: it must live in this
    # namespace, so any server of this prefix that runs elsewhere goes first.
    run("wineserver", "-k", check=False)
    run("wineserver", "-w", check=False)
    server = UploadServer()


def tearDownModule():
    run("wineserver", "-k", check=False)
    run("wineserver", "-w", check=False)


class FloppyDrive(unittest.TestCase):
    def setUp(self):
        self.floppy = WORK / "floppy"
        shutil.rmtree(self.floppy, ignore_errors=True)
        self.floppy.mkdir()
        self.map_drive_a(self.floppy)
        server.requests.clear()
        self.mounted = False

    def tearDown(self):
        if self.mounted:
            run("umount", str(self.floppy))

    def map_drive_a(self, folder):
        link = PREFIX / "dosdevices" / "a:"
        if link.is_symlink() or link.exists():
            link.unlink()
        link.symlink_to(folder)

    def mount_over_floppy(self, *arguments):
        run("mount", *arguments, str(self.floppy))
        self.mounted = True

    def run_test(self, name, program=None):
        result = run("wine", program or str(EXE), "--gtest_filter=" + name, check=False)
        output = result.stdout.decode(errors="replace")
        self.assertEqual(result.returncode, 0, output)
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
        self.assertEqual(server.requests, [upload_request(SAVED_TEXT)])

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
        self.assertEqual(server.requests,
                         [upload_request(first + b"\n" + b"100%s\nlone\rcr\n\xe9\x1a\n")])

    def test_send_empty_file_posts_empty_body(self):
        self.send(b"")
        self.assertEqual(server.requests, [upload_request(b"")])

    def test_send_nul_ends_only_its_chunk(self):
        chunk = b"kept\r\n\0" + b"d" * (1000 - 6)
        self.send(chunk + b"next\r\n")
        self.assertEqual(server.requests, [upload_request(b"kept\nnext\n")])

    def test_send_refuses_file_too_long_for_the_text(self):
        (self.floppy / "hs.dat").write_bytes(b"x" * 10000)
        self.run_test("SendFromFloppy.TooLongFileIsRefusedWhole")
        self.assertEqual(server.requests, [])

    def test_send_without_floppy_folder_gives_read_error(self):
        self.map_drive_a(WORK / "no-such-folder")
        self.run_test("SendFromFloppy.MissingFileGivesTheReadError")
        self.assertEqual(server.requests, [])

    def test_send_without_file_gives_read_error(self):
        self.run_test("SendFromFloppy.MissingFileGivesTheReadError")
        self.assertEqual(server.requests, [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
