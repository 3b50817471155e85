#!/usr/bin/env python3
"""Kills tovi-cli at random points while it writes a large destination and
while it saves a large project, then checks that nothing was lost: the
destination's previous content is in the destination or its .bak, and the
project file is the old one or the new one, never a mix. A killed run's
temporaries are left in place: the next run that writes the same file must
remove them.

usage: kill_test.py TOVI_CLI [ROUNDS]"""
import os
import random
import signal
import struct
import subprocess
import sys
import tempfile
import time

DEADLINE = 60.0  # seconds one run may take before the test gives up


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def temporaries(folder):
    return [n for n in os.listdir(folder) if ".tovi-" in n]


def kill_when(process, ready):
    """Kills the process once ready() holds or it ends; a deadline bounds the wait."""
    end = time.monotonic() + DEADLINE
    while process.poll() is None:
        if ready():
            process.send_signal(signal.SIGKILL)
            break
        if time.monotonic() > end:
            process.kill()
            raise SystemExit("FAIL: a run did not end within the deadline")
        time.sleep(0.0005)
    process.wait()
    return process.returncode == -signal.SIGKILL


def trigger(folder, target, final_size, started, pid):
    """A random kill point: a time into the run, or the run's temporary of
    the target grown to a random share of the final size (the write itself)."""
    if random.random() < 0.5:
        delay = random.uniform(0, 0.9) * run_seconds[target]
        return lambda: time.monotonic() - started >= delay
    share = random.uniform(0.0, 1.0) * final_size
    own = "%s.tovi-%d-" % (target, pid)

    def grown():
        for name in temporaries(folder):
            if name.startswith(own):
                try:
                    if os.path.getsize(os.path.join(folder, name)) >= share:
                        return True
                except FileNotFoundError:
                    pass
        return False
    return grown


run_seconds = {}


def destination_rounds(cli, folder, rounds, counts):
    source = os.path.join(folder, "s.c")
    dest = os.path.join(folder, "d.txt")
    with open(source, "w") as f:
        f.write("#define X replaced\n")
        f.write("".join("line %07d X\n" % i for i in range(150000)))
    # The full output, and how long a run takes.
    started = time.monotonic()
    subprocess.run([cli, "pp", source, dest], check=True, stdout=subprocess.DEVNULL)
    run_seconds["d.txt"] = time.monotonic() - started
    output = read(dest)
    os.remove(dest)
    for i in range(rounds):
        previous = b"PREVIOUS %d\r\n" % i
        with open(dest, "wb") as f:
            f.write(previous)
        started = time.monotonic()
        process = subprocess.Popen([cli, "pp", source, dest], stdout=subprocess.DEVNULL)
        killed = kill_when(process, trigger(folder, "d.txt", len(output), started, process.pid))
        after = read(dest)
        if after not in (previous, output):
            raise SystemExit("FAIL: round %d left a destination of %s bytes that is neither "
                             "the old nor the new one" % (i, None if after is None else len(after)))
        if previous not in (after, read(dest + ".bak")):
            raise SystemExit("FAIL: round %d lost the previous destination" % i)
        counts["dest killed" if killed else "dest finished"] += 1
        counts["dest killed before replace" if after == previous else "dest replaced"] += 1
        left = temporaries(folder)
        counts["temporaries left"] += len(left)
        # The rerun backs up what the destination holds now and completes,
        # removing what the killed run left of both files it writes.
        before_rerun = after
        subprocess.run([cli, "pp", source, dest], check=True, stdout=subprocess.DEVNULL)
        if read(dest) != output or read(dest + ".bak") != before_rerun:
            raise SystemExit("FAIL: round %d: the rerun did not keep the destination's "
                             "content in .bak" % i)
        if temporaries(folder):
            raise SystemExit("FAIL: round %d: the rerun left %s" % (i, temporaries(folder)))
        counts["temporaries removed"] += len(left)


def project_rounds(cli, folder, rounds, counts):
    project = os.path.join(folder, "p.tvx")
    subprocess.run([cli, "new", "--absolute", "--force", project], check=True,
                   stdout=subprocess.DEVNULL)
    empty = read(project)
    tail = empty[7:]  # the version and the settings after "TVX" and the count
    paths = []
    for i in range(60000):
        text = ("/data/project/sources/module%06d/file.c" % i).encode()
        paths.append(struct.pack("<i", len(text)) + text)
        paths.append(struct.pack("<i", len(text) + 4) + text + b".out")
    old = b"TVX" + struct.pack("<i", 60000) + b"".join(paths) + tail
    with open(project, "wb") as f:
        f.write(old)
    # The new bytes: the same add on a copy.
    copy = os.path.join(folder, "copy.tvx")
    with open(copy, "wb") as f:
        f.write(old)
    started = time.monotonic()
    subprocess.run([cli, "add", copy, "/x/new.c", "/x/new.out"], check=True,
                   stdout=subprocess.DEVNULL)
    run_seconds["p.tvx"] = time.monotonic() - started
    new = read(copy)
    os.remove(copy)
    if new == old:
        raise SystemExit("FAIL: add did not change the project")
    for i in range(rounds):
        with open(project, "wb") as f:
            f.write(old)
        started = time.monotonic()
        process = subprocess.Popen([cli, "add", project, "/x/new.c", "/x/new.out"],
                                   stdout=subprocess.DEVNULL)
        killed = kill_when(process, trigger(folder, "p.tvx", len(new), started, process.pid))
        after = read(project)
        if after not in (old, new):
            raise SystemExit("FAIL: round %d left a project of %s bytes that is neither the "
                             "old nor the new one" % (i, None if after is None else len(after)))
        counts["project killed" if killed else "project finished"] += 1
        counts["project old" if after == old else "project new"] += 1
        # What a killed run left stays for the next round's run to remove.
        counts["temporaries left"] += len(temporaries(folder))
    left = temporaries(folder)
    subprocess.run([cli, "add", project, "/x/last.c", "/x/last.out"], check=True,
                   stdout=subprocess.DEVNULL)
    if temporaries(folder):
        raise SystemExit("FAIL: a completed save of the project left %s" % temporaries(folder))
    counts["temporaries removed"] += len(left)


def main():
    cli = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 50
    random.seed(int(os.environ.get("TOVI_KILL_SEED", time.time())))
    counts = {k: 0 for k in ("dest killed", "dest finished", "dest killed before replace",
                             "dest replaced", "project killed", "project finished",
                             "project old", "project new", "temporaries left",
                             "temporaries removed")}
    with tempfile.TemporaryDirectory(prefix="tovi-kill-") as folder:
        destination_rounds(cli, folder, rounds, counts)
        project_rounds(cli, folder, rounds, counts)
    print(", ".join("%s: %d" % item for item in counts.items()))
    if counts["dest killed"] == 0 or counts["project killed"] == 0:
        raise SystemExit("FAIL: no run was killed; the kill points missed the runs")
    if counts["temporaries removed"] == 0:
        raise SystemExit("FAIL: no killed run left a temporary for a later run to remove")
    print("kill test: %d passed, 0 failed" % (2 * rounds))


if __name__ == "__main__":
    main()
