"""Generates the benchmark workloads: C-like sources with definitions,
conditional blocks and inclusions, deterministic for a given name."""
import os
import random

WORDS = ["value", "count", "index", "buffer", "result", "length", "offset", "flag"]


def _text_line(rng, names, undefined):
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
        line += ' /* ' + rng.choice(WORDS) + " " + rng.choice(names or WORDS) + ' */'
    elif roll < 0.3:
        line += ' // ' + rng.choice(WORDS) + " note"
    elif roll < 0.4:
        line = '    puts("' + rng.choice(names or WORDS) + ' stays in a string");'
    return line


def _names(count):
    return ["NAME_%d" % i for i in range(count)]


def _write(path, lines):
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def plain_source(path, megabytes, definitions, seed=1):
    """Definitions at the top, then text lines using them."""
    rng = random.Random(seed)
    names = _names(definitions)
    undefined = ["local_%s_%d" % (rng.choice(WORDS), i) for i in range(500)]
    lines = ["#define %s (%d)" % (name, i) for i, name in enumerate(names)]
    size = sum(len(l) + 1 for l in lines)
    target = megabytes * 1024 * 1024
    while size < target:
        line = _text_line(rng, names, undefined)
        lines.append(line)
        size += len(line) + 1
    _write(path, lines)


def directive_source(path, megabytes, share=0.2, seed=2):
    """About `share` of the lines are directives: definitions, removals and
    one-level conditional blocks."""
    rng = random.Random(seed)
    names = _names(1000)
    undefined = ["local_%d" % i for i in range(500)]
    lines = ["#define %s %d" % (name, i) for i, name in enumerate(names)]
    size = sum(len(l) + 1 for l in lines)
    target = megabytes * 1024 * 1024
    open_block = None
    while size < target:
        if rng.random() < share:
            if open_block == "if":
                line = rng.choice(["#else", "#endif"])
                open_block = "else" if line == "#else" else None
            elif open_block == "else":
                line, open_block = "#endif", None
            else:
                kind = rng.random()
                name = rng.choice(names)
                if kind < 0.3:
                    line, open_block = rng.choice(["#ifdef ", "#ifndef "]) + name, "if"
                elif kind < 0.65:
                    line = "#define %s %d" % (name, rng.randint(0, 99))
                else:
                    line = "#undef " + name
        else:
            line = _text_line(rng, names, undefined)
        lines.append(line)
        size += len(line) + 1
    if open_block:
        lines.append("#endif")
    _write(path, lines)


def include_source(directory, count=2000, lines_each=200, seed=3):
    """A source of `count` inclusions, each of its own header of `lines_each` lines."""
    rng = random.Random(seed)
    names = _names(100)
    undefined = ["local_%d" % i for i in range(200)]
    os.makedirs(os.path.join(directory, "inc"), exist_ok=True)
    main = ["#define %s %d" % (name, i) for i, name in enumerate(names)]
    for i in range(count):
        header = "inc/header_%d.h" % i
        _write(os.path.join(directory, header),
               [_text_line(rng, names, undefined) for _ in range(lines_each)])
        main.append('#include "%s"' % header)
        main.append(_text_line(rng, names, undefined))
    path = os.path.join(directory, "main.c")
    _write(path, main)
    return path
