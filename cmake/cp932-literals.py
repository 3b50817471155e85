#!/usr/bin/env python3
"""Compiler launcher that gives clang code page 932 narrow literals.

g++ turns the UTF-8 text of narrow string literals into code page 932
(-fexec-charset=cp932); clang knows no execution character set but UTF-8.
This launcher compiles a copy of the sources instead, in which every
non-ASCII character of a narrow literal is spelled as the octal escapes of
its code page 932 bytes ("表" becomes "\\225\\134"). An octal escape is at
most three digits, so it never swallows the character after it, and the
copy is plain ASCII inside its literals: a trail byte 0x5C cannot end up
as a backslash that escapes the next character, which is what converting
the whole file to code page 932 would do. The bytes come from iconv, the
converter g++ uses, so the literals equal g++'s.

Usage (CMAKE_CXX_COMPILER_LAUNCHER):
  cp932-literals.py --root SRC --copies DIR [--iconv PATH] -- compiler args...
Every C/C++ file under SRC (outside build trees) is copied to DIR, each
copy starting with a #line that names its original. The compile command
reads the copy of its source, -I SRC becomes -I DIR, and the dependency
file is written back to the original paths, so make tracks the originals.
Literals this cannot translate exactly (non-ASCII in character literals,
identifiers or raw strings) stop the build with the file and line.
"""

import fcntl
import hashlib
import os
import subprocess
import sys

SOURCE_SUFFIXES = (".h", ".hpp", ".inc", ".cpp", ".cc", ".c")
ENCODING_PREFIXES = ("u8", "u", "U", "L")
RAW_PREFIXES = ("R", "u8R", "uR", "UR", "LR")


class LiteralError(Exception):
    pass


ICONV = "iconv"


def cp932_bytes(chars, path):
    """Maps each distinct character to its code page 932 bytes via iconv."""
    chars = sorted(chars)
    # A line feed never occurs inside a code page 932 character, so it
    # separates the converted characters.
    result = subprocess.run(
        [ICONV, "-f", "UTF-8", "-t", "CP932"],
        input="\n".join(chars).encode("utf-8"),
        capture_output=True,
    )
    if result.returncode != 0:
        raise LiteralError(
            "%s: a narrow literal holds a character code page 932 lacks: %s"
            % (path, result.stderr.decode("utf-8", "replace").strip())
        )
    parts = result.stdout.split(b"\n")
    if len(parts) != len(chars):
        raise LiteralError("%s: iconv gave %d characters for %d" % (path, len(parts), len(chars)))
    return dict(zip(chars, parts))


def is_ident_start(c):
    return c.isascii() and (c.isalpha() or c == "_")


def is_ident_char(c):
    return c.isascii() and (c.isalnum() or c == "_")


def translate(text, path):
    """Returns text with the narrow literals' non-ASCII characters escaped."""
    out = []
    pending = []  # (index into out, string) of narrow literals to escape
    wanted = set()
    i = 0
    n = len(text)
    line = 1
    at_line_start = True

    def fail(message):
        raise LiteralError("%s:%d: %s" % (path, line, message))

    def skip_quoted(start, quote):
        """Index after the literal whose opening quote is at start."""
        j = start + 1
        while j < n:
            c = text[j]
            if c == "\\":
                j += 2
                continue
            if c == quote:
                return j + 1
            if c == "\n":
                fail("unterminated literal")
            j += 1
        fail("unterminated literal")

    while i < n:
        c = text[i]
        if c == "\n":
            out.append(c)
            line += 1
            at_line_start = True
            i += 1
            continue
        if c in " \t\r\f\v":
            out.append(c)
            i += 1
            continue
        if c == "/" and text.startswith("//", i):
            j = i
            while j < n and text[j] != "\n":
                # A backslash at the end continues a line comment.
                if text[j] == "\\" and text.startswith("\n", j + 1):
                    j += 1
                j += 1
            line += text.count("\n", i, j)
            out.append(text[i:j])
            i = j
            continue
        if c == "/" and text.startswith("/*", i):
            j = text.find("*/", i + 2)
            if j < 0:
                fail("unterminated comment")
            j += 2
            line += text.count("\n", i, j)
            out.append(text[i:j])
            i = j
            continue
        if c == "#" and at_line_start:
            # #error, #warning and <header> lines are not made of tokens.
            j = i + 1
            while j < n and text[j] in " \t":
                j += 1
            k = j
            while k < n and is_ident_char(text[k]):
                k += 1
            if text[j:k] in ("error", "warning") or (
                text[j:k] == "include" and text[k:].lstrip(" \t").startswith("<")
            ):
                e = text.find("\n", k)
                e = n if e < 0 else e
                if not text[i:e].isascii():
                    fail("non-ASCII text in a #%s line" % text[j:k])
                out.append(text[i:e])
                i = e
                continue
        at_line_start = False
        if is_ident_start(c):
            j = i
            while j < n and is_ident_char(text[j]):
                j += 1
            word = text[i:j]
            nxt = text[j] if j < n else ""
            if word in RAW_PREFIXES and nxt == '"':
                open_paren = text.find("(", j + 1)
                if open_paren < 0:
                    fail("malformed raw string")
                delimiter = text[j + 1 : open_paren]
                close = text.find(")" + delimiter + '"', open_paren + 1)
                if close < 0:
                    fail("unterminated raw string")
                end = close + len(delimiter) + 2
                body = text[i:end]
                if word == "R" and not body.isascii():
                    fail("non-ASCII text in a narrow raw string literal")
                line += body.count("\n")
                out.append(body)
                i = end
                continue
            if word in ENCODING_PREFIXES and nxt in ('"', "'"):
                end = skip_quoted(j, nxt)
                out.append(text[i:end])
                i = end
                continue
            out.append(word)
            i = j
            continue
        if c.isdigit() or (c == "." and i + 1 < n and text[i + 1].isdigit()):
            # A pp-number, with its digit separators (1'000) and exponents.
            j = i + 1
            while j < n:
                d = text[j]
                if d in "+-" and text[j - 1] in "eEpP":
                    j += 1
                elif is_ident_char(d) or d == ".":
                    j += 1
                elif d == "'" and j + 1 < n and is_ident_char(text[j + 1]):
                    j += 2
                else:
                    break
            out.append(text[i:j])
            i = j
            continue
        if c == "'":
            end = skip_quoted(i, "'")
            literal = text[i:end]
            if not literal.isascii():
                fail("non-ASCII text in a narrow character literal")
            out.append(literal)
            i = end
            continue
        if c == '"':
            end = skip_quoted(i, '"')
            literal = text[i:end]
            if "\\u" in literal or "\\U" in literal:
                # Universal character names would need the same conversion.
                for k in range(len(literal) - 1):
                    if literal[k] == "\\" and literal[k + 1] in "uU":
                        backslashes = len(literal[:k]) - len(literal[:k].rstrip("\\"))
                        if backslashes % 2 == 0:
                            fail("universal character name in a narrow string literal")
            if not literal.isascii():
                wanted.update(ch for ch in literal if not ch.isascii())
                pending.append((len(out), literal))
            out.append(literal)
            i = end
            continue
        if not c.isascii():
            fail("non-ASCII character outside comments and literals")
        out.append(c)
        i += 1

    if pending:
        table = cp932_bytes(wanted, path)
        for index, literal in pending:
            out[index] = "".join(
                ch if ch.isascii() else "".join("\\%03o" % b for b in table[ch]) for ch in literal
            )
    return "".join(out)


def line_directive(path):
    return '#line 1 "%s"\n' % path.replace("\\", "\\\\").replace('"', '\\"')


def write_if_changed(path, data):
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    os.makedirs(os.path.dirname(path), exist_ok=True)
    temporary = "%s.%d.tmp" % (path, os.getpid())
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, path)


def source_files(root):
    for directory, subdirectories, files in os.walk(root):
        # Build trees and hidden folders hold no sources.
        subdirectories[:] = sorted(
            d
            for d in subdirectories
            if not d.startswith(".")
            and not (directory == root and d == "build")
            and not os.path.exists(os.path.join(directory, d, "CMakeCache.txt"))
        )
        for name in files:
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(directory, name), root)


def sync_copies(root, copies):
    """Brings DIR up to date with the sources; a changed launcher redoes all."""
    os.makedirs(copies, exist_ok=True)
    with open(os.path.join(copies, ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        with open(os.path.abspath(__file__), "rb") as f:
            version = hashlib.sha256(f.read()).hexdigest()
        stamp_path = os.path.join(copies, ".launcher")
        try:
            with open(stamp_path) as f:
                same_launcher = f.read() == version
        except FileNotFoundError:
            same_launcher = False
        wanted = set()
        for relative in source_files(root):
            wanted.add(relative)
            source = os.path.join(root, relative)
            copy = os.path.join(copies, relative)
            mtime = os.stat(source).st_mtime_ns
            if same_launcher and os.path.exists(copy) and os.stat(copy).st_mtime_ns == mtime:
                continue
            with open(source, "rb") as f:
                raw = f.read()
            try:
                translated = line_directive(source) + translate(raw.decode("utf-8"), source)
            except (UnicodeDecodeError, LiteralError) as e:
                # Not every file there is compiled (examples, data): the
                # error stops the build only where the copy is read.
                message = str(e) if isinstance(e, LiteralError) else "%s: not UTF-8" % source
                translated = line_directive(source) + "#error cp932-literals: %s\n" % message
            write_if_changed(copy, translated.encode("utf-8"))
            os.utime(copy, ns=(mtime, mtime))
        for directory, _, files in os.walk(copies):
            for name in files:
                relative = os.path.relpath(os.path.join(directory, name), copies)
                if name.endswith(SOURCE_SUFFIXES) and relative not in wanted:
                    os.remove(os.path.join(directory, name))
        with open(stamp_path, "w") as f:
            f.write(version)


def main(argv):
    if "--" not in argv:
        sys.exit("usage: cp932-literals.py --root SRC --copies DIR [--iconv PATH] -- compiler args...")
    split = argv.index("--")
    options, command = argv[:split], argv[split + 1 :]
    root = os.path.realpath(options[options.index("--root") + 1])
    copies = os.path.realpath(options[options.index("--copies") + 1])
    if "--iconv" in options:
        global ICONV
        ICONV = options[options.index("--iconv") + 1]
    sync_copies(root, copies)

    depfile = None
    for k, arg in enumerate(command):
        if arg == "-I" + root:
            command[k] = "-I" + copies
        elif arg == "-MF" and k + 1 < len(command):
            depfile = command[k + 1]
        elif k > 0 and command[k - 1] == "-c":
            source = os.path.realpath(arg)
            if source.startswith(root + os.sep):
                copy = os.path.join(copies, os.path.relpath(source, root))
                if os.path.exists(copy):
                    command[k] = copy
    result = subprocess.run(command)
    if result.returncode == 0 and depfile and os.path.exists(depfile):
        with open(depfile) as f:
            text = f.read()
        # The originals, and this launcher: a change to it redoes every object.
        text = text.replace(copies + "/", root + "/").rstrip() + " \\\n  %s\n" % os.path.abspath(__file__)
        with open(depfile, "w") as f:
            f.write(text)
    return result.returncode


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
