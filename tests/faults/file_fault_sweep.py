#!/usr/bin/env python3
"""Makes each file call of a tovi-cli run fail in turn, and checks that no
failure loses a file or passes for success.

usage: file_fault_sweep.py TOVI_CLI LIBRARY

LIBRARY is file_faults.c built as a shared library; it is preloaded into
tovi-cli and makes the k-th counted file call fail with EIO or ENOSPC, or
hands read and write a shorter count ("short"). The scenarios: pp of a
~700 KiB source (read in several pieces) with an include, over a
destination that has a .bak; convert of an item with an include and of two
items that write one destination; add, set, and set through a symlink to
the project; convert --check with all destinations up to date, and with
stale and missing ones. Each run starts from the same files in a fresh
folder. One fault-free run gives the number
of calls N and the fault-free result; then every k in 1..N is run in the
modes eio and enospc, and every k that is a read or write in the mode short
(any other call passes through unchanged in that mode, so such a run would
repeat the fault-free one).

What is checked after each run, and why it must hold:
  - The run ends within a deadline and is not killed by a signal.
  - No old content is lost: each destination's bytes before the run are in
    the destination or in its .bak.
  - Every file holds its bytes from before the run or its fault-free bytes;
    the project file in particular is the old or the new one, byte for
    byte, and a symlink stays the same symlink. Two exceptions, both
    legitimate outcomes of a failed item: a destination that several items
    write may hold what an earlier item wrote (a later item failed), and a
    destination may be gone after a reported failure (a failed item
    removes it; its content is in .bak, as the check above makes sure).
    The single fault is the point: the clean-up after it (removing a
    temporary, say) runs unharmed, so nothing else is excused.
  - A run whose files differ from the fault-free result shows the failure:
    a non-zero exit status or an ERROR line.
  - No file with ".tovi-" in its name (a temporary) is left.
  - A short read or write is no failure: a correct program reads and writes
    on, so the files and the exit status equal the fault-free run's.
  - convert --check writes nothing, and says for each destination what the
    fault-free run said, or that it failed or could not read it ("failed:",
    "unreadable:"); a fault must never turn into another verdict ("stale",
    "missing", or up to date). A run that could not load its project (exit
    status 2) gives no verdicts and only has to leave the files alone.
Only EIO and ENOSPC are injected: those are errors the system really
reports for any file call, while ENOENT from a file that is there would be
the world lying, and a program may rightly take it at its word.

Prints for each scenario its calls, runs and violations with a few
examples (k, the call, the mode, what was violated), then "N passed,
N failed" over all runs; exits 1 on any violation."""
import concurrent.futures
import os
import shutil
import subprocess
import sys
import tempfile
import time

DEADLINE = 30.0  # seconds one run may take
MODES = ("eio", "enospc", "short")
SHORTENED_CALLS = ("read", "write")
EXAMPLES = 4  # examples printed for each scenario and kind of violation
CHECK_LABELS = ("stale", "missing", "not a file", "unreadable", "failed")
CHECK_FAILURES = ("failed", "unreadable")


# ---- the starting files ----

def large_source():
    """About 700 KiB: the engine reads a source 256 KiB at a time."""
    lines = ["#define NAME value\n", '#include "inc.h"\n']
    lines += ["int v%06d = NAME + %d; /* NAME */\n" % (i, i) for i in range(20000)]
    return "".join(lines).encode()


def include_file(tag):
    return "".join("const char* %s_%d = \"NAME\"; int w%d = NAME;\n" % (tag, i, i)
                   for i in range(200)).encode()


def small_source(tag, include=None):
    text = "#define NAME %s_value\n" % tag
    if include:
        text += '#include "%s"\n' % include
    text += "".join("int %s%d = NAME;\n" % (tag, i) for i in range(40))
    return text.encode()


def old_destination(tag, size):
    line = ("old %s destination line\r\n" % tag).encode()
    return line * (size // len(line) + 1)


class Scenario:
    """Starting files, a command run in their folder, and what to watch."""

    def __init__(self, name, args, destinations=(), check=False, expected_status=0):
        self.name = name
        self.args = args
        self.destinations = list(destinations)
        self.check = check
        self.expected_status = expected_status
        self.files = {}
        # Contents a file may hold besides its old and fault-free bytes.
        self.also = {}


def snapshot(folder):
    """Each file's bytes by its name in the folder; a symlink as ("link", target)."""
    files = {}
    for top, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(top, name)
            key = os.path.relpath(path, folder).replace(os.sep, "/")
            if os.path.islink(path):
                files[key] = ("link", os.readlink(path))
            else:
                with open(path, "rb") as f:
                    files[key] = f.read()
    return files


def materialize(folder, files):
    for name, data in files.items():
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if isinstance(data, tuple):
            os.symlink(data[1], path)
        else:
            with open(path, "wb") as f:
                f.write(data)


def tool(cli, folder, *args):
    """A plain run while the scenarios are set up; it must succeed."""
    result = subprocess.run([cli, *args], cwd=folder, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=DEADLINE)
    if result.returncode != 0:
        raise SystemExit("FAIL: setting up, tovi-cli %s exited %d: %s"
                         % (" ".join(args), result.returncode, result.stderr.decode(errors="replace")))
    return result


def build_scenarios(cli, scratch):
    scenarios = []

    def folder_for(scenario):
        path = os.path.join(scratch, "template-" + str(len(scenarios)))
        os.makedirs(os.path.join(path, "out"))  # convert makes no folders
        return path

    # (a) pp of a large source with an include over a destination that has a .bak.
    pp = Scenario("pp, large source", ["pp", "s.c", "d.txt"], destinations=["d.txt"])
    pp.files = {"s.c": large_source(), "inc.h": include_file("inc"),
                "d.txt": old_destination("pp", 150 * 1024), "d.txt.bak": b"earlier backup\r\n"}
    scenarios.append(pp)

    # (b) convert: an item with an include, and two items naming one destination.
    convert = Scenario("convert, shared destination", ["convert", "p.tvx"],
                       destinations=["out/a.txt", "out/d.txt"])
    folder = folder_for(convert)
    materialize(folder, {"src/a.c": small_source("a", "a.h"), "src/a.h": include_file("a"),
                         "src/b.c": small_source("b"), "src/c.c": small_source("c"),
                         "out/a.txt": old_destination("a", 2000),
                         "out/d.txt": old_destination("d", 3000),
                         "out/d.txt.bak": b"earlier backup of d\r\n"})
    # A disposition other than the default: settings read wrong would show.
    tool(cli, folder, "new", "--disposition", "2", "p.tvx")
    tool(cli, folder, "add", "p.tvx", "src/a.c", "out/a.txt")
    tool(cli, folder, "add", "p.tvx", "src/b.c", "out/d.txt")
    tool(cli, folder, "add", "p.tvx", "src/c.c", "out/d.txt")
    convert.files = snapshot(folder)
    # What the first of the two items alone leaves: the state after the
    # second one failed.
    first_only = os.path.join(scratch, "first-only")
    shutil.copytree(folder, first_only)
    tool(cli, first_only, "convert", "--items", "1", "p.tvx")
    convert.also["out/d.txt"] = [snapshot(first_only)["out/d.txt"]]
    scenarios.append(convert)

    # (c) add and set on an existing project, set also through a symlink.
    project_files = {"src/x.c": small_source("x"), "src/y.c": small_source("y")}
    add = Scenario("add", ["add", "p.tvx", "src/new.c", "out/new.txt"])
    folder = folder_for(add)
    materialize(folder, project_files)
    tool(cli, folder, "new", "--disposition", "0", "p.tvx")
    tool(cli, folder, "add", "p.tvx", "src/x.c", "out/x.txt")
    tool(cli, folder, "add", "p.tvx", "src/y.c", "out/y.txt")
    add.files = snapshot(folder)
    scenarios.append(add)
    settings = Scenario("set", ["set", "--disposition", "2", "--source-encoding", "utf-8", "p.tvx"])
    settings.files = dict(add.files)
    scenarios.append(settings)
    # Saved through a symlink, the file it names is replaced and the link kept.
    linked = Scenario("set through a symlink", settings.args)
    linked.files = dict(add.files)
    linked.files["real/p.tvx"] = linked.files.pop("p.tvx")
    linked.files["p.tvx"] = ("link", "real/p.tvx")
    scenarios.append(linked)

    # (d) convert --check: destinations all up to date, then stale and missing ones.
    current = Scenario("check, up to date", ["convert", "--check", "p.tvx"], check=True)
    folder = folder_for(current)
    materialize(folder, {"src/big.c": large_source(), "src/inc.h": include_file("inc"),
                         "src/i.c": small_source("i", "inc.h")})
    tool(cli, folder, "new", "--disposition", "0", "p.tvx")
    tool(cli, folder, "add", "p.tvx", "src/big.c", "out/big.txt")
    tool(cli, folder, "add", "p.tvx", "src/i.c", "out/i.txt")
    tool(cli, folder, "convert", "p.tvx")
    current.files = snapshot(folder)
    scenarios.append(current)

    mixed = Scenario("check, stale and missing", ["convert", "--check", "p.tvx"], check=True,
                     expected_status=1)
    folder = folder_for(mixed)
    materialize(folder, {"src/x.c": small_source("x", "x.h"), "src/x.h": include_file("x"),
                         "src/y.c": small_source("y"), "src/z.c": small_source("z")})
    tool(cli, folder, "new", "p.tvx")
    for tag in "xyz":
        tool(cli, folder, "add", "p.tvx", "src/%s.c" % tag, "out/%s.txt" % tag)
    tool(cli, folder, "convert", "p.tvx")
    with open(os.path.join(folder, "out/y.txt"), "ab") as f:
        f.write(b"changed by hand\r\n")
    os.remove(os.path.join(folder, "out/z.txt"))
    mixed.files = snapshot(folder)
    scenarios.append(mixed)
    return scenarios


# ---- running ----

class Outcome:
    def __init__(self, status, output, files, count, fired, names):
        self.status = status  # None: the deadline passed
        self.output = output  # standard output and error, the run's folder taken out
        self.files = files
        self.count = count
        self.fired = fired  # the call that was faulted
        self.names = names  # the name of each counted call


def run(cli, library, scenario, k=0, mode=None):
    with tempfile.TemporaryDirectory(prefix="tf-") as root:
        folder = os.path.join(root, "work")
        os.makedirs(folder)
        materialize(folder, scenario.files)
        count_file = os.path.join(root, "count")
        env = {key: value for key, value in os.environ.items() if not key.startswith("TOVI_FAULT")}
        env.update({"LD_PRELOAD": library, "TOVI_FAULT_COUNT_FILE": count_file})
        if k:
            env.update({"TOVI_FAULT_CALL": str(k), "TOVI_FAULT_MODE": mode})
        try:
            result = subprocess.run([cli, *scenario.args], cwd=folder, env=env,
                                    stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, timeout=DEADLINE)
            status, output = result.returncode, result.stdout + result.stderr
        except subprocess.TimeoutExpired:
            status, output = None, b""
        lines = []
        if os.path.exists(count_file):
            with open(count_file, "rb") as f:
                lines = f.read().decode(errors="replace").split("\n")
        count = int(lines[0]) if lines and lines[0].isdigit() else None
        fired = lines[1].replace(folder + "/", "") if len(lines) > 1 else ""
        return Outcome(status, output.replace(os.fsencode(folder + "/"), b""), snapshot(folder),
                       count, fired, lines[2:2 + (count or 0)])


def verdicts(output):
    """convert --check's verdict for each destination it names."""
    found = {}
    for line in output.decode(errors="replace").splitlines():
        for label in CHECK_LABELS:
            if line.startswith(label + ": "):
                name = line[len(label) + 2:].strip()
                # One form for a name held relative or, settings misread, absolute.
                found[name[2:] if name.startswith("./") else name] = label
    return found


def violations(scenario, clean, outcome, mode):
    """What the run broke, as (kind, detail) pairs; empty when it kept every rule."""
    if outcome.status is None:
        return [("did not end within the deadline", "%d s" % DEADLINE)]
    if outcome.status < 0:
        return [("killed by a signal", "signal %d" % -outcome.status)]
    found = []
    old, after = scenario.files, outcome.files
    reported = outcome.status != 0 or b"ERROR" in outcome.output
    for name in scenario.destinations:
        if name in old and old[name] not in (after.get(name), after.get(name + ".bak")):
            found.append(("old content lost", "%s, in neither it nor its .bak" % name))
    for name in sorted(set(old) | set(clean.files) | set(after)):
        if ".tovi-" in name:
            found.append(("temporary left", name))
            continue
        allowed = [old.get(name), clean.files.get(name)] + scenario.also.get(name, [])
        if name in scenario.destinations and reported:
            allowed.append(None)
        if after.get(name) not in allowed:
            state = ("gone" if name not in after else "a symlink" if isinstance(after[name], tuple)
                     else "%d bytes" % len(after[name]))
            found.append(("neither old nor fault-free content", "%s: %s" % (name, state)))
    if after != clean.files and not reported:
        found.append(("files changed, no failure shown", "exit 0 and no ERROR"))
    if scenario.check and outcome.status != 2:
        expected, got = verdicts(clean.output), verdicts(outcome.output)
        for name in sorted(set(expected) | set(got)):
            verdict, right = got.get(name, "up to date"), expected.get(name, "up to date")
            if verdict != right and verdict not in CHECK_FAILURES:
                found.append(("wrong check verdict", "%s %s, fault-free %s" % (name, verdict, right)))
    if mode == "short":
        if after != clean.files:
            found.append(("short: files differ from the fault-free run", ""))
        if outcome.status != clean.status:
            found.append(("short: another exit status", "%d, fault-free %d"
                          % (outcome.status, clean.status)))
    return found


def sweep(cli, library, scenario, workers):
    clean = run(cli, library, scenario)
    if clean.status != scenario.expected_status or clean.count is None:
        raise SystemExit("FAIL: %s: the fault-free run exited %s (expected %d)%s:\n%s"
                         % (scenario.name, clean.status, scenario.expected_status,
                            "" if clean.count is not None else ", and no call count was written",
                            clean.output.decode(errors="replace")))
    jobs = []
    for k in range(1, clean.count + 1):
        name = clean.names[k - 1] if k <= len(clean.names) else "?"
        for mode in MODES:
            if mode != "short" or name in SHORTENED_CALLS or name == "?":
                jobs.append((k, mode))
    failures = []
    reported = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
        outcomes = pool.map(lambda job: (job, run(cli, library, scenario, *job)), jobs)
        for (k, mode), outcome in outcomes:
            if outcome.status != clean.status or b"ERROR" in outcome.output:
                reported += 1
            found = violations(scenario, clean, outcome, mode)
            if found:
                failures.append((k, mode, outcome.fired or "?", found))
    # Faults that change nothing at all would mean the library never acted.
    if not reported:
        failures.append((0, "any", "any", [("no faulted run reported a failure",
                                            "were the faults injected at all?")]))
    return clean.count, len(jobs), reported, failures


def report(scenario, count, runs, reported, failures):
    by_mode = {mode: sum(1 for f in failures if f[1] == mode) for mode in MODES}
    print("%s: %d calls, %d runs (%d reported a failure), %d violations "
          "(eio %d, enospc %d, short %d)"
          % (scenario.name, count, runs, reported, len(failures), by_mode["eio"],
             by_mode["enospc"], by_mode["short"]))
    # Grouped by the first thing each run broke, a few examples of each.
    groups = {}
    for failure in failures:
        groups.setdefault(failure[3][0][0], []).append(failure)
    for what, group in groups.items():
        print("  %s: %d runs" % (what, len(group)))
        for k, mode, call, found in group[:EXAMPLES]:
            print("    k=%d %s %s: %s" % (k, mode, call, "; ".join(
                "%s (%s)" % (kind, detail) if detail else kind for kind, detail in found)))


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__.split("\n\n")[1])
    cli, library = (os.path.abspath(a) for a in sys.argv[1:])
    workers = max(1, min(2, os.cpu_count() or 1))
    started = time.monotonic()
    passed = failed = 0
    with tempfile.TemporaryDirectory(prefix="tovi-sweep-") as scratch:
        # Private copies: a build relinking the program meanwhile must not
        # change it halfway through the sweep.
        cli = shutil.copy2(cli, os.path.join(scratch, "tovi-cli"))
        library = shutil.copy2(library, os.path.join(scratch, os.path.basename(library)))
        for scenario in build_scenarios(cli, scratch):
            count, runs, reported, failures = sweep(cli, library, scenario, workers)
            report(scenario, count, runs, reported, failures)
            failed += len(failures)
            passed += runs - len(failures)
    print("every call of every scenario was faulted (short: at each read and write); %.0f s"
          % (time.monotonic() - started))
    print("%d passed, %d failed" % (passed, failed))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
