#!/usr/bin/env python3
"""Fills a small tmpfs while tovi-cli writes a destination, copies a backup
and saves a project, and checks that each failure is reported and leaves
the old files whole with no temporary behind. Needs root to mount the
tmpfs; otherwise it says so and is skipped (exit 77).

usage: disk_full_test.py TOVI_CLI"""
import os
import struct
import subprocess
import sys
import tempfile

SKIP = 77


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def check(condition, what):
    if not condition:
        raise SystemExit("FAIL: " + what)


def run(cli, *args):
    return subprocess.run([cli, *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def left_over(folder):
    return [n for n in os.listdir(folder) if ".tovi-" in n]


def destination_case(cli, disk):
    source = os.path.join(disk, "s.c")
    dest = os.path.join(disk, "d.txt")
    write(source, b"\n" * 400000)  # 400 KB that become 800 KB: more than is left
    write(dest, b"OLD\r\n")
    result = run(cli, "pp", source, dest)
    check(result.returncode == 1, "destination: exit %d, not 1" % result.returncode)
    check("への書き込みに失敗しました".encode() in result.stdout, "destination: no write error logged")
    check(read(dest) == b"OLD\r\n", "destination: the old destination was not kept")
    check(read(dest + ".bak") == b"OLD\r\n", "destination: the backup is wrong")
    check(not left_over(disk), "destination: a temporary was left")
    for name in os.listdir(disk):
        os.remove(os.path.join(disk, name))


def backup_case(cli, disk):
    source = os.path.join(disk, "s.c")
    dest = os.path.join(disk, "d.txt")
    write(source, b"new\n")
    old = b"o" * 600 * 1024
    write(dest, old)
    write(dest + ".bak", b"EARLIER BACKUP\r\n")
    result = run(cli, "pp", source, dest)
    check(result.returncode == 1, "backup: exit %d, not 1" % result.returncode)
    check("のバックアップが作成できませんでした".encode() in result.stdout, "backup: no backup error logged")
    check(read(dest) == old, "backup: the destination was not kept")
    check(read(dest + ".bak") == b"EARLIER BACKUP\r\n", "backup: the earlier backup was damaged")
    check(not left_over(disk), "backup: a temporary was left")
    for name in os.listdir(disk):
        os.remove(os.path.join(disk, name))


def project_case(cli, disk):
    project = os.path.join(disk, "p.tvx")
    check(run(cli, "new", "--absolute", project).returncode == 0, "project: new failed")
    tail = read(project)[7:]
    items = []
    for i in range(9000):
        text = ("/data/sources/module%06d/a-rather-long-file-name.c" % i).encode()
        items.append(struct.pack("<i", len(text)) + text)
        items.append(struct.pack("<i", len(text)) + text)
    old = b"TVX" + struct.pack("<i", 9000) + b"".join(items) + tail
    write(project, old)
    result = run(cli, "add", project, "/x/new.c", "/x/new.out")
    check(result.returncode == 1, "project: exit %d, not 1" % result.returncode)
    check("の書き込みに失敗しました".encode() in result.stderr, "project: no write error reported")
    check(read(project) == old, "project: the old project was not kept")
    check(not left_over(disk), "project: a temporary was left")


def main():
    cli = os.path.abspath(sys.argv[1])
    if os.geteuid() != 0:
        print("disk-full test skipped: mounting a small tmpfs needs root")
        sys.exit(SKIP)
    with tempfile.TemporaryDirectory(prefix="tovi-full-") as disk:
        if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=1m", "tmpfs", disk]).returncode:
            print("disk-full test skipped: this machine does not allow mounting a tmpfs")
            sys.exit(SKIP)
        try:
            destination_case(cli, disk)
            backup_case(cli, disk)
            project_case(cli, disk)
        finally:
            subprocess.run(["umount", disk])
    print("disk-full test: 3 passed, 0 failed")


if __name__ == "__main__":
    main()
