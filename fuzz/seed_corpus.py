#!/usr/bin/env python3
"""Seeds fuzz/corpus/<target>/ from the inputs the unit tests and the
bundled resource, DSM and template files already use. Rerun after adding
tests; files are named by content hash, so reruns only add new inputs."""
import ast
import hashlib
import pathlib
import random
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"

# Adjacent C string literals, joined as the compiler joins them.
LITERALS = re.compile(r'(?:"(?:[^"\\\n]|\\.)*"\s*)+')


def c_strings(path):
    text = (ROOT / path).read_text(errors="replace")
    out = []
    for m in LITERALS.finditer(text):
        parts = re.findall(r'"((?:[^"\\\n]|\\.)*)"', m.group(0))
        try:
            s = "".join(ast.literal_eval('"' + p + '"') for p in parts)
        except (ValueError, SyntaxError):
            continue
        if s:
            out.append(s.encode("utf-8", "surrogateescape"))
    return out


def resource_values(path, suffix):
    """Values of resources whose name ends in suffix, with continued lines."""
    lines = (ROOT / path).read_text(errors="replace").split("\n")
    out, i = [], 0
    while i < len(lines):
        line = lines[i]
        while line.endswith("\\") and i + 1 < len(lines):
            i += 1
            line = line[:-1] + "\n" + lines[i]
        name, sep, value = line.partition(":")
        if sep and name.strip().lower().endswith(suffix.lower()):
            out.append(value.strip().encode())
        i += 1
    return out


RESOURCE_LINE = re.compile(r"^[\w*.?!-]+\s*:")


def descriptions():
    """desc seeds: the shipped description and every description the tests
    build (a brace list of string literals of which some are resource lines),
    written out as the desc target reads them ('!' then the text)."""
    out = [b"!" + (ROOT / "app/xkest.ad").read_bytes()]
    out += [b"!" + p.read_bytes() for p in sorted((ROOT / "tests").rglob("*.ad"))]
    for path in sorted((ROOT / "tests").rglob("*.cpp")):
        text = path.read_text(errors="replace")
        if "wc" not in text:
            continue
        for block in re.findall(r"\{((?:\s*" + LITERALS.pattern + r",?)+)\s*\}", text):
            lines = [s.decode("utf-8", "surrogateescape")
                     for s in c_strings_of(block)]
            lines = [l for l in lines if RESOURCE_LINE.match(l)]
            if any(".wc" in l or "*wc" in l for l in lines):
                out.append(("!" + "\n".join(lines) + "\n").encode("utf-8", "surrogateescape"))
    # Starting points for the generator form: bytes from a fixed seed.
    rng = random.Random(24)
    for _ in range(12):
        data = bytes(rng.randrange(256) for _ in range(rng.randrange(256, 2048)))
        out.append(data if data[:1] != b"!" else b"?" + data[1:])
    return out


def c_strings_of(text):
    out = []
    for m in LITERALS.finditer(text):
        parts = re.findall(r'"((?:[^"\\\n]|\\.)*)"', m.group(0))
        try:
            s = "".join(ast.literal_eval('"' + p + '"') for p in parts)
        except (ValueError, SyntaxError):
            continue
        if s:
            out.append(s.encode("utf-8", "surrogateescape"))
    return out


def write(target, inputs):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    for data in inputs:
        (folder / hashlib.sha1(data).hexdigest()).write_bytes(data)


def main():
    ad = "app/xkest.ad"
    write("callback", c_strings("tests/wcl/callback_parse_test.cpp")
          + resource_values(ad, "Callback"))
    write("resspec", c_strings("tests/wcl/setvalue_parse_test.cpp"))
    write("names", c_strings("tests/wcl/names_gui_test.cpp")
          + [b"a, b c(d)", b"^okButton, ~form *list\tthis.child", b" , ,x"])
    write("table", c_strings("tests/xmp/table_layout_test.cpp")
          + resource_values(ad, "layout") + resource_values(ad, "sameWidth"))
    # Warnings: database text, NUL, message text, NUL, arguments.
    warn = c_strings("tests/wcl/warnings_test.cpp")
    write("warnings", [b"\0" + s + b"\0arg" for s in warn if b"%" in s]
          + [s + b"\0%s and %-8.3s\0one\0two" for s in warn[:20]])
    # Patterns: pattern, NUL, text, from the table of the tests.
    rows = re.findall(r'\{("(?:[^"\\]|\\.)*"), ("(?:[^"\\]|\\.)*"), "',
                      (ROOT / "tests/support/strarray_test.cpp").read_text())
    write("pattern", [ast.literal_eval(p).encode() + b"\0" + ast.literal_eval(t).encode()
                      for p, t in rows])
    write("desc", descriptions())
    write("str", [b"\x00$KESTHOME/doc\x01\x02x", b"kestb \x06 -homedir \x00\x04\x05"])
    write("mapag", [bytes(range(64)), bytes(range(255, 0, -3))])
    dsm = [(ROOT / "demo-home/shop.dsm").read_bytes()]
    write("dsm", dsm + c_strings("tests/kestb/dsm_test.cpp"))
    tems = [p.read_bytes() for p in (ROOT / "demo-home/templates").glob("*.tem")]
    write("shellword", [b"/opt/k/doc/index.html", b"my file; rm x", b"it's", b"~user/x",
                        b"$HOME/a b", b"a'b'c"])
    write("template", tems + [s for s in c_strings("tests/kestb/template_test.cpp") if b"@" in s or b"${" in s])


if __name__ == "__main__":
    main()
