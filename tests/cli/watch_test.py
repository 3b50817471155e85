#!/usr/bin/env python3
"""Runs `tovi-cli watch` on a project of two items, one of which includes a
header, and changes the files as editors and scripts do: a source saved by
rename, a source appended to, a source deleted and made again, the header
changed, an item added to the project. After each, the destination must
follow and the log show a pass. Then Ctrl+C (SIGINT) must end the watch
with exit status 0.

usage: watch_test.py [--poll] [--no-interrupt] COMMAND...
COMMAND runs tovi-cli (for example: scripts/wine-run tovi-cli.exe).
--no-interrupt ends the watch by killing it instead of SIGINT (where the
signal does not reach the program's handler)."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

FIRST_DEADLINE = 60.0  # a first Wine start can be slow
STEP_DEADLINE = 20.0
PASS_LINE = "変換処理中..."


class Reader(threading.Thread):
    def __init__(self, stream):
        super().__init__(daemon=True)
        self.stream, self.data, self.lock = stream, b"", threading.Lock()
        self.start()

    def run(self):
        for chunk in iter(lambda: self.stream.read1(4096), b""):
            with self.lock:
                self.data += chunk

    def text(self):
        with self.lock:
            return self.data.decode("utf-8", "replace")


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read().decode("utf-8", "replace")
    except FileNotFoundError:
        return ""


def write(path, text):
    with open(path, "w", newline="\n") as f:
        f.write(text)


def main():
    args = sys.argv[1:]
    poll = "--poll" in args
    interrupt = "--no-interrupt" not in args
    # Runs in the project's folder: paths to programs are made absolute.
    command = [os.path.abspath(a) if os.path.exists(a) else a
               for a in args if a not in ("--poll", "--no-interrupt")]
    folder = tempfile.mkdtemp(prefix="tovi-watch-")
    process = None
    try:
        def at(name):
            return os.path.join(folder, name)

        def cli(*words):
            subprocess.run(command + list(words), cwd=folder, check=True,
                           stdout=subprocess.DEVNULL, stdin=subprocess.DEVNULL)

        write(at("h.h"), "#define A one\n")
        write(at("a.c"), '#include "h.h"\nvalue A\n')
        write(at("b.c"), "b first\n")
        cli("new", "--disposition", "0", "p.tvx")
        cli("add", "p.tvx", "a.c", "a.txt")
        cli("add", "p.tvx", "b.c", "b.txt")
        process = subprocess.Popen(
            command + ["watch", "--encoding", "utf-8"] + (["--poll"] if poll else []) + ["p.tvx"],
            cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        out, err = Reader(process.stdout), Reader(process.stderr)

        def wait_for(what, ready, deadline=STEP_DEADLINE):
            end = time.monotonic() + deadline
            while not ready():
                if process.poll() is not None or time.monotonic() > end:
                    raise SystemExit("FAIL: %s did not happen (%s)\n--- stdout:\n%s--- stderr:\n%s"
                                     % (what, "the watch ended" if process.poll() is not None
                                        else "deadline", out.text(), err.text()))
                time.sleep(0.01)

        def passes():
            return out.text().count(PASS_LINE)

        wait_for("the first pass", lambda: "watching" in err.text()
                 and "value one" in read(at("a.txt")) and "b first" in read(at("b.txt")),
                 FIRST_DEADLINE)
        print(err.text().strip())
        steps = 0

        def step(what, change, destination, expected):
            nonlocal steps
            steps += 1
            before, log_before = passes(), len(out.text())
            change()
            wait_for(what, lambda: expected in read(at(destination)) and passes() > before
                     and destination[0] + ".c" in out.text()[log_before:])
            print("ok: " + what)

        def save_by_rename():
            write(at("a.tmp"), '#include "h.h"\nvalue A saved\n')
            os.replace(at("a.tmp"), at("a.c"))

        def append():
            with open(at("b.c"), "a", newline="\n") as f:
                f.write("b appended\n")

        def delete_and_create():
            os.remove(at("b.c"))
            write(at("b.c"), "b made again\n")

        def add_item():
            write(at("c.c"), "c first\n")
            cli("add", "p.tvx", "c.c", "c.txt")

        step("a source saved by rename", save_by_rename, "a.txt", "value one saved")
        step("a source appended to", append, "b.txt", "b appended")
        step("a source deleted and made again", delete_and_create, "b.txt", "b made again")
        step("the included header changed", lambda: write(at("h.h"), "#define A two\n"),
             "a.txt", "value two saved")
        step("an item added to the project", add_item, "c.txt", "c first")
        # Its own destination writes must not set the watch off again and again.
        if passes() > 2 * steps + 1:
            raise SystemExit("FAIL: %d passes for %d changes:\n%s" % (passes(), steps, out.text()))

        if interrupt:
            process.send_signal(signal.SIGINT)
            try:
                status = process.wait(STEP_DEADLINE)
            except subprocess.TimeoutExpired:
                raise SystemExit("FAIL: SIGINT did not end the watch")
            if status != 0:
                raise SystemExit("FAIL: the watch ended with status %d after SIGINT:\n%s"
                                 % (status, err.text()))
            print("ok: SIGINT ended the watch with status 0")
        else:
            print("not tested: SIGINT (--no-interrupt)")
        print("PASS: watch_test%s" % (" --poll" if poll else ""))
    finally:
        if process and process.poll() is None:
            process.kill()
            process.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
