"""Generates the benchmark workloads: C-like sources with definitions,
conditional blocks and inclusions, deterministic for a given name, and the
same text for m4 (definitions as m4 definitions)."""
import os
import random

WORDS = ["value", "count", "index", "buffer", "result", "length", "offset", "flag"]
# For UTF-8 sources: words whose last byte is often a lead byte of code page 932.
JAPANESE_WORDS = ["値", "件数", "位置", "領域", "結果", "長さ", "あいう", "日本語"]
BYTE_ORDER_MARK = "\ufeff"
MIB = 1024 * 1024


def _text_line(rng, names, undefined, words=WORDS):
    parts = []
    for _ in range(rng.randint(3, 8)):
        roll = rng.random()
        if roll < 0.35 and names:
            parts.append(rng.choice(names))
        elif roll < 0.7:
            parts.append(rng.choice(undefined))
        else:
            parts.append(str(rng.randint(0, 9999)))
    line = "    " + parts[0] + " = " + " + ".join(parts[1:]) + ";"
    roll = rng.random()
    if roll < 0.15:
        line += ' /* ' + rng.choice(words) + " " + rng.choice(names or words) + ' */'
    elif roll < 0.3:
        line += ' // ' + rng.choice(words) + " note"
    elif roll < 0.4:
        if words is WORDS:
            line = '    puts("' + rng.choice(names or words) + ' stays in a string");'
        else:
            line = '    puts("' + rng.choice(words) + rng.choice(names or words) + '");'
    return line


def _names(count):
    return ["NAME_%d" % i for i in range(count)]


def _undefined(rng, count=500):
    return ["local_%s_%d" % (rng.choice(WORDS), i) for i in range(count)]


def _write(path, lines, prefix=""):
    with open(path, "w", newline="\n", encoding="utf-8") as f:
        f.write(prefix + "\n".join(lines) + "\n")


def _text_lines(rng, names, undefined, size, words=WORDS):
    """Text lines of about `size` bytes in all."""
    lines = []
    total = 0
    while total < size:
        line = _text_line(rng, names, undefined, words)
        lines.append(line)
        total += len(line.encode("utf-8")) + 1
    return lines


def plain_source(path, megabytes, definitions, seed=1, utf8=False):
    """Definitions at the top, then text lines using them. With `utf8` the
    strings and comments hold Japanese words and the file begins with the
    UTF-8 byte order mark, which makes tovi-cli read it as UTF-8."""
    rng = random.Random(seed)
    names = _names(definitions)
    lines = ["#define %s (%d)" % (name, i) for i, name in enumerate(names)]
    size = sum(len(l) + 1 for l in lines)
    words = JAPANESE_WORDS if utf8 else WORDS
    lines += _text_lines(rng, names, _undefined(rng), megabytes * MIB - size, words)
    _write(path, lines, BYTE_ORDER_MARK if utf8 else "")


def _long_names(rng, count):
    """`count` distinct names of 8 to 24 characters, as in a generated
    configuration header."""
    letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ_"
    names = []
    for i in range(count):
        stem = "CFG%d_" % i
        length = max(len(stem), rng.randint(8, 24))
        names.append(stem + "".join(rng.choice(letters) for _ in range(length - len(stem))))
    return names


def definitions_source(path, megabytes, definitions, share=None, seed=7):
    """`definitions` #define lines with names of 8 to 24 characters, then
    text lines using them. With `share`, the file is `megabytes` MiB in all
    and the definitions take about that share of it (their values padded to
    reach it); without, `megabytes` MiB of text follow the definitions."""
    rng = random.Random(seed)
    names = _long_names(rng, definitions)
    lines = []
    for i, name in enumerate(names):
        value = "(%d)" % i
        if share is not None:
            room = int(share * megabytes * MIB / definitions) - len("#define  \n") - len(name)
            value += " /* %s */" % ("v" * max(0, room - len(value) - 6))
        lines.append("#define %s %s" % (name, value))
    size = sum(len(l) + 1 for l in lines)
    text = megabytes * MIB - size if share is not None else megabytes * MIB
    lines += _text_lines(rng, names, _undefined(rng), text)
    _write(path, lines)


def _directive(rng, names, open_block):
    """One directive line and the conditional block it leaves open."""
    if open_block == "if":
        line = rng.choice(["#else", "#endif"])
        return line, ("else" if line == "#else" else None)
    if open_block == "else":
        return "#endif", None
    kind = rng.random()
    name = rng.choice(names)
    if kind < 0.3:
        return rng.choice(["#ifdef ", "#ifndef "]) + name, "if"
    if kind < 0.65:
        return "#define %s %d" % (name, rng.randint(0, 99)), open_block
    return "#undef " + name, open_block


def directive_source(path, megabytes, share=0.2, seed=2):
    """About `share` of the lines are directives: definitions, removals and
    one-level conditional blocks."""
    rng = random.Random(seed)
    names = _names(1000)
    undefined = _undefined(rng)
    lines = ["#define %s %d" % (name, i) for i, name in enumerate(names)]
    size = sum(len(l) + 1 for l in lines)
    target = megabytes * MIB
    open_block = None
    while size < target:
        if rng.random() < share:
            line, open_block = _directive(rng, names, open_block)
        else:
            line = _text_line(rng, names, undefined)
        lines.append(line)
        size += len(line) + 1
    if open_block:
        lines.append("#endif")
    _write(path, lines)


def directive_mix(path, text_megabytes, directives, seed=4):
    """The same text lines whatever `directives` is, with that many
    directive lines spread evenly among them."""
    rng = random.Random(seed)
    names = _names(1000)
    text = _text_lines(rng, names, _undefined(rng), text_megabytes * MIB)
    drng = random.Random(seed + 1)
    lines = ["#define %s %d" % (name, i) for i, name in enumerate(names)]
    open_block = None
    every = len(text) / float(directives)
    next_directive = 0.0
    emitted = 0
    for i, line in enumerate(text):
        while emitted < directives and i >= next_directive:
            directive, open_block = _directive(drng, names, open_block)
            lines.append(directive)
            emitted += 1
            next_directive += every
        lines.append(line)
    if open_block:
        lines.append("#endif")
    _write(path, lines)


def include_source(directory, megabytes=10, count=2000, lines_each=200, seed=3):
    """A source of about `megabytes` of text with `count` inclusions spread
    through it, each of its own header of `lines_each` lines."""
    rng = random.Random(seed)
    names = _names(100)
    undefined = ["local_%d" % i for i in range(200)]  # headers of about 9 KiB
    os.makedirs(os.path.join(directory, "inc"), exist_ok=True)
    lines = ["#define %s %d" % (name, i) for i, name in enumerate(names)]
    text = _text_lines(rng, names, undefined, megabytes * MIB)
    every = len(text) // count
    for i in range(count):
        header = "inc/header_%d.h" % i
        _write(os.path.join(directory, header),
               [_text_line(rng, names, undefined) for _ in range(lines_each)])
        lines.append('#include "%s"' % header)
        lines += text[i * every:(i + 1) * every]
    lines += text[count * every:]
    path = os.path.join(directory, "main.c")
    _write(path, lines)
    return path


def included_bytes(source):
    """The bytes of the headers an include workload's source names."""
    total = 0
    directory = os.path.dirname(source)
    with open(source) as f:
        for line in f:
            if line.startswith('#include "'):
                total += os.path.getsize(os.path.join(directory, line.split('"')[1]))
    return total


# FNV-1a, the hash an earlier dictionary used: the low bits of its state
# depend only on the low bits, so names whose low 16 bits agree are found
# by meeting in the middle of two characters from each end.
_FNV_OFFSET = 2166136261
_FNV_PRIME = 16777619
_NAME_CHARS = b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_"


def colliding_names(count, bits=16, target=0x2a2a):
    """`count` names of equal length whose FNV-1a hashes agree in the low
    `bits` bits."""
    mask = (1 << bits) - 1
    prime = _FNV_PRIME & mask
    inverse = pow(prime, -1, 1 << bits)
    backward = []
    for c4 in _NAME_CHARS:
        for c3 in _NAME_CHARS:
            x = ((target * inverse) & mask) ^ c4
            backward.append((((x * inverse) & mask) ^ c3, bytes([c3, c4])))
    names = []
    prefix_index = 0
    while len(names) < count:
        prefix = b"C%05d_" % prefix_index
        prefix_index += 1
        state = _FNV_OFFSET
        for b in prefix:
            state = ((state ^ b) * _FNV_PRIME) & 0xFFFFFFFF
        state &= mask
        forward = {}
        for c1 in _NAME_CHARS:
            s1 = ((state ^ c1) * prime) & mask
            for c2 in _NAME_CHARS:
                forward.setdefault(((s1 ^ c2) * prime) & mask, []).append(bytes([c1, c2]))
        for middle, tail in backward:
            for head in forward.get(middle, ()):
                names.append((prefix + head + tail).decode())
    return names[:count]


def ordinary_names(count):
    """Names as long as colliding_names' ones."""
    return ["D%010d" % i for i in range(count)]


def names_source(path, names, uses=4, seed=6):
    """Every name defined, used `uses` times in text lines, then removed."""
    rng = random.Random(seed)
    lines = ["#define %s %d" % (name, i) for i, name in enumerate(names)]
    for _ in range(len(names)):
        lines.append("    x = " + " + ".join(rng.choice(names) for _ in range(uses)) + ";")
    lines += ["#undef " + name for name in names]
    _write(path, lines)


def m4_source(source, path):
    """The source with its definitions and removals as m4 ones (m4 -P),
    its other lines unchanged."""
    with open(source, encoding="utf-8") as f, \
            open(path, "w", newline="\n", encoding="utf-8") as out:
        for line in f:
            words = line.split(None, 2)
            if line.startswith("#define ") and len(words) >= 2:
                value = words[2].rstrip("\n") if len(words) > 2 else ""
                out.write("m4_define(`%s',`%s')m4_dnl\n" % (words[1], value))
            elif line.startswith("#undef ") and len(words) >= 2:
                out.write("m4_undefine(`%s')m4_dnl\n" % words[1])
            else:
                out.write(line)
