#!/usr/bin/env python3
"""Rebuilds the committed fuzz corpus: kits written by tvkit (deterministic
sources, small diskettes so that members span volumes) turned into the two
targets' input formats, plus small hand-made inputs for the damage each
reader check exists for; and install logs, as an install writes them and
damaged by hand, for the removal pass.

    python3 tests/fuzz/corpus/make_corpus.py build/host/tools/kitbuilder/tvkit
    python3 tests/fuzz/corpus/make_corpus.py --logs-only
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
READER = os.path.join(HERE, "archive_reader")
DECODE = os.path.join(HERE, "member_decode")
REMOVAL = os.path.join(HERE, "removal_pass")
LEAD = b"mflh" + b"\0" * 4
HEADER = 346


def payload(n, seed, compressible=True):
    x = (seed * 2654435761 + 1) & 0xFFFFFFFF
    out = bytearray(n)
    alphabet = b"ATOM  HETATM CONECT 0123456789 .\n"
    for i in range(n):
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        out[i] = alphabet[x % 33] if compressible else x & 0xFF
    return bytes(out)


def header(name, decoded, stored, method=4, continued=0, destination=0, checksum=0, name_bytes=None):
    h = bytearray(HEADER)
    h[0:4] = b"mfen"
    struct.pack_into("<HH", h, 4, 1, HEADER)
    raw = name_bytes if name_bytes is not None else name.encode() + b"\0"
    h[16:16 + len(raw)] = raw[:260]
    struct.pack_into("<III", h, 276, decoded, stored, checksum)
    struct.pack_into("<ii", h, 292, method, 0)
    struct.pack_into("<hHH", h, 300, destination, 0x20, continued)
    return bytes(h)


def reader_input(volumes):
    cuts = []
    offset = 0
    for v in volumes[:-1]:
        offset += len(v)
        cuts.append(offset)
    cuts += [0] * (2 - len(cuts))
    return bytes([len(volumes) - 1]) + struct.pack("<HH", *cuts) + b"".join(volumes)


def decode_input(method, decoded, stored, check=False, skew=0):
    return bytes([1 if method == 4 else 0]) + struct.pack("<I", decoded)[:3] + bytes(
        [0 if check else 1, skew & 0xFF, 1 if skew else 0]) + stored


def write(directory, name, data):
    with open(os.path.join(directory, name), "wb") as f:
        f.write(data)


KITS = {
    # name: (disk_size, method, [(file, size, seed, compressible, destination)])
    "kit-one-volume": (8192, "deflate", [("TYVIEW.EXE", 900, 1, False, 0), ("TYVIEW.HLP", 2500, 2, True, 0),
                                         ("EMPTY.INI", 0, 3, True, 0), ("README.TXT", 400, 4, True, -1)]),
    "kit-two-volumes": (4096, "deflate", [("A.PDB", 3000, 5, False, 0), ("B.PDB", 1200, 6, True, 1),
                                          ("C.PDB", 800, 7, False, 0)]),
    "kit-three-stored": (4096, "stored", [("A.DAT", 2500, 8, False, 0), ("EMPTY.DAT", 0, 9, True, 0),
                                          ("B.DAT", 4000, 10, True, 0), ("C.DAT", 300, 11, False, -1)]),
    "kit-not-installed-span": (4096, "deflate", [("SKIP.BIN", 3500, 12, False, -1), ("KEEP.TXT", 1500, 13, True, 0)]),
}


def build_kit(tvkit, work, name, disk_size, method, files):
    src = os.path.join(work, name + "-src")
    os.makedirs(src)
    lines = ["[kit]", "disk_size = %d" % disk_size, "profile_reserve = 1200",
             "[destinations]", "0 = TVIEWER|-1|", "1 = SAMPLES|0|",
             "[groups]", "Viewer = Tessaly Viewer|Program files|1|1|1",
             "[archive DATA.A1]", "component = Viewer", "method = " + method]
    for fname, size, seed, compressible, dest in files:
        with open(os.path.join(src, fname), "wb") as f:
            f.write(payload(size, seed, compressible))
        os.utime(os.path.join(src, fname), (820454400, 820454400))
        lines += ["[file %s]" % fname, "source = %s-src/%s" % (name, fname), "archive = DATA.A1",
                  "destination = %d" % dest]
    desc = os.path.join(work, name + ".ini")
    with open(desc, "w") as f:
        f.write("\n".join(lines) + "\n")
    out = os.path.join(work, name)
    subprocess.run([tvkit, "--quiet", desc, out], check=True, stdout=subprocess.DEVNULL)
    volumes = []
    disk, vol = 1, "DATA.A1"
    while True:
        path = os.path.join(out, "DISK%02d" % disk, vol)
        if not os.path.exists(path):
            break
        with open(path, "rb") as f:
            volumes.append(f.read())
        disk += 1
        vol = vol[:-1] + chr(ord(vol[-1]) + 1)
    return volumes


def members_of(volumes):
    """(header, stored bytes) of each member, joined across volumes."""
    data = [v[8:] for v in volumes]
    out, vi, pos = [], 0, 0
    while vi < len(data) and len(data[vi]) - pos >= HEADER:
        h = data[vi][pos:pos + HEADER]
        pos += HEADER
        stored_size, = struct.unpack_from("<I", h, 280)
        stored = b""
        while len(stored) < stored_size:
            take = data[vi][pos:pos + stored_size - len(stored)]
            stored += take
            pos += len(take)
            if len(stored) < stored_size:
                vi, pos = vi + 1, 0
        out.append((h, stored))
    return out


def log_text(*sections):
    """A log file's text from (section, [(key, value), ...]) pairs, or raw
    lines given as plain strings, with CR LF endings as the system writes."""
    lines = []
    for item in sections:
        if isinstance(item, str):
            lines.append(item)
            continue
        name, entries = item
        lines.append("[%s]" % name)
        lines += ["%s=%s" % kv for kv in entries]
    return ("\r\n".join(lines) + "\r\n").encode("latin-1")


# What a completed install into C:\TYVIEWER writes: file lines per component,
# then the directories, components and program items, then an event.
INSTALLED = [
    ("Program", [("TYVIEW.EXE", "0|1|0"), ("SETUP.EXE", "0|1|0"), ("TYCTL32.DLL", "-3|1|1"),
                 ("_qzdinst.exe", "-3|0|1"), ("TYVIEW.INI", "-2|0|0")]),
    ("Samples", [("CAFFEINE.PDB", "1|1|0"), ("WATER.PDB", "2|1|0")]),
    ("Help", [("TYVIEW.HLP", "3|1|0")]),
    ("destinations", [("0", "|-1|C:\\TYVIEWER\\"), ("1", "SAMPLES|0|C:\\TYVIEWER\\SAMPLES\\"),
                      ("2", "SMALL|1|C:\\TYVIEWER\\SAMPLES\\SMALL\\"), ("3", "HELP|0|C:\\TYVIEWER\\HELP\\")]),
    ("groups", [("Program", "Program Files|The viewer|1|1|1"), ("Samples", "Samples|Molecules|0|1|1"),
                ("Help", "Help|Help files|0|1|1")]),
    ("targets", [("TYVIEW.EXE", "0|1|0|Tessaly Viewer|||C:\\TYVIEWER\\TYVIEW.EXE"),
                 ("TYVIEW.HLP", "0|2|0|Tessaly Viewer Help|||C:\\TYVIEWER\\HELP\\TYVIEW.HLP")]),
    ("Events", [("14:03:27:0457", "Could not write SMS status.")]),
]
DESTINATIONS = INSTALLED[3]
GROUPS = [("groups", [("Program", "Program Files|The viewer|1|1|1")])]


def removal_corpus():
    shutil.rmtree(REMOVAL, ignore_errors=True)
    os.makedirs(REMOVAL)
    logs = {
        "installed": log_text(*INSTALLED),
        "cancelled-install": log_text(*INSTALLED[:3]),
        "empty-sections": log_text(("Program", []), ("destinations", []), ("groups", []), ("targets", [])),
        "empty-but-destinations": log_text(("destinations", [("0", "|-1|C:\\TV\\")]), ("groups", [("Program", "")]),
                                           ("Program", []), ("targets", [])),
        "damaged-lines": log_text(
            DESTINATIONS, *GROUPS, "[Program", "[Program]", "no equals sign", "=0|1|0", "A.DLL=",
            "B.DLL=0", "C.DLL=0|1", "D.DLL=x|1|0", "E.DLL= 0|1|0", "F.DLL=0 |1|0", "G.DLL=|1|0",
            "H.DLL=0|1|0|extra|fields", "I.DLL==0|1|0", "[]", "J.DLL=0|1|0"),
        "escaping-keys": log_text(DESTINATIONS, *GROUPS, ("Program", [
            ("..\\..\\WINDOWS\\WIN.INI", "0|1|0"), ("..", "0|1|0"), (".", "0|1|0"),
            ("C:\\AUTOEXEC.BAT", "0|1|0"), ("C:CONFIG.SYS", "0|1|0"), ("\\\\server\\share\\x", "0|1|0"),
            ("sub\\file.txt", "1|1|0"), ("a/b.txt", "1|1|0"), ("TYVIEW.EXE.", "0|1|0"), ("TYVIEW.EXE ", "0|1|0"),
            ("*.*", "0|1|0"), ("\x01BELL", "0|1|0"), ("..\\SYSTEM.INI", "-3|1|0"), ("OK.TXT", "0|1|0")])),
        "device-names": log_text(DESTINATIONS, *GROUPS, ("Program", [
            ("CON", "0|1|0"), ("nul.txt", "0|1|0"), ("COM1", "-3|1|0"), ("LPT9.DLL", "0|1|0"),
            ("CLOCK$", "0|1|0"), ("AUX .TXT", "0|1|0"), ("CONIN$", "0|1|0"), ("COM10", "0|1|0"),
            ("PRN.", "0|1|0")])),
        "destination-ids": log_text(
            ("destinations", [("0", "|-1|C:\\TV\\"), ("-32768", "|-1|C:\\LOW\\"), ("32767", "|-1|C:\\HIGH\\"),
                              ("70000", "|-1|C:\\WRAPPED\\"), ("65533", "|-1|C:\\NOT-SYSTEM\\"),
                              ("-5", "|-1|C:\\NEGATIVE\\"), ("99999999999", "|-1|C:\\HUGE\\"),
                              ("x", "|-1|C:\\NOT-A-NUMBER\\"), ("7", "SUB|0|")]),
            *GROUPS, ("Program", [("A.TXT", "32768|1|0"), ("B.TXT", "-32769|1|0"), ("C.TXT", "1234567|1|0"),
                                  ("D.TXT", "+0|1|0"), ("E.TXT", "-0|1|0"), ("F.TXT", "4464|1|0"),
                                  ("G.TXT", "-5|1|0"), ("H.TXT", "7|1|0"), ("I.TXT", "9|1|0"),
                                  ("J.TXT", "-1|1|0"), ("K.TXT", "-4|1|0"), ("L.TXT", "32767|1|0")])),
        "predefined-overridden": log_text(
            ("destinations", [("0", "|-1|C:\\TV\\"), ("-3", "|-1|E:\\ELSEWHERE\\"), ("-2", "WIN|-1|"),
                              ("-4", "||")]),
            *GROUPS, ("Program", [("SHARED.DLL", "-3|1|0"), ("WIN.INI", "-2|1|0"), ("T.TMP", "-4|1|0")])),
        "root-and-nested": log_text(
            ("destinations", [("0", "|-1|D:\\"), ("1", "SAMPLES|0|D:\\SAMPLES\\"), ("2", "|-1|\\"),
                              ("3", "|-1|E:"), ("4", "A|3|E:\\A")]),
            *GROUPS, ("Program", [("TYVIEW.EXE", "0|1|0"), ("WATER.PDB", "1|1|0")])),
        "same-directories": log_text(
            ("destinations", [("0", "|-1|C:\\TV\\"), ("1", "|-1|c:\\tv"), ("2", "|-1|C:\\TV\\\\\\"),
                              ("3", "|-1|C:/TV/"), ("4", "|-1|C:\\TV\\SUB\\"), ("5", "|-1|C:\\TV\\.\\"),
                              ("0", "|-1|C:\\SHADOWED\\")]),
            *GROUPS, ("Program", [("A.TXT", "0|1|0"), ("A.TXT", "1|1|0"), ("a.txt", "2|1|0"), ("B.TXT", "3|1|0"),
                                  ("C.TXT", "4|1|0")]), ("PROGRAM", [("SECOND.TXT", "0|1|0")])),
        "odd-targets": log_text(DESTINATIONS, *GROUPS, ("targets", [
            ("A", "0|1|0|..\\..\\Startup\\Evil|||C:\\TV\\A.EXE"), ("B", "0|1|0|CON|||C:\\TV\\B.EXE"),
            ("C", '0|1|0|x)][DeleteGroup("Main")][DeleteItem (y|||C:\\TV\\C.EXE'),
            ("D", "0|1|0||||C:\\TV\\D.EXE"), ("E", "0|1|0|Not created|||"), ("F", "x"), ("", "0|1|0|No key|||P"),
            ("a", "0|1|0|Same key, other case|||C:\\TV\\A2.EXE")])),
        "sections-named-like-components": log_text(
            DESTINATIONS, ("groups", [("destinations", "D"), ("targets", "T"), ("Events", "E"), ("groups", "G"),
                                      ("", "Empty key")]),
            ("targets", [("0", "0|1|0")]), ("Events", [("14:03:27:0457", "0|1|0")])),
        "long-values": log_text(
            ("destinations", [("0", "|-1|C:\\" + "D" * 240 + "\\"), ("1", "|-1|C:\\" + "E" * 251),
                              ("2", "|-1|C:\\TV\\")]),
            *GROUPS, ("Program", [("F" * 255, "0|1|0"), ("G" * 256, "2|1|0"), ("H" * 251 + ".TXT", "1|1|0"),
                                  ("I.TXT", "0|1|0" + "|" * 300)])),
    }
    for name, data in logs.items():
        write(REMOVAL, name + ".bin", data)
    # A NUL ends a line's text where the system's functions read it.
    write(REMOVAL, "nul-in-lines.bin", log_text(
        ("destinations", [("0", "|-1|C:\\TV\\\0..\\..\\"), ("1", "|-1|C:\\\0TV\\")]),
        *GROUPS, ("Program", [("A.TXT\0\\..\\B", "0|1|0"), ("C.TXT", "1|1|0")])))


def main():
    if sys.argv[1:] == ["--logs-only"]:
        removal_corpus()
        return
    removal_corpus()
    tvkit = os.path.abspath(sys.argv[1])
    for d in (READER, DECODE):
        shutil.rmtree(d, ignore_errors=True)
        os.makedirs(d)
    work = tempfile.mkdtemp(prefix="tvs_corpus_")
    try:
        for name, (size, method, files) in KITS.items():
            volumes = build_kit(tvkit, work, name, size, method, files)
            assert 1 <= len(volumes) <= 3, (name, len(volumes))
            write(READER, name + ".bin", reader_input(volumes))
            for i, (h, stored) in enumerate(members_of(volumes)):
                m, = struct.unpack_from("<i", h, 292)
                decoded, = struct.unpack_from("<I", h, 276)
                write(DECODE, "%s-member%d.bin" % (name, i + 1), decode_input(m, decoded, stored))
    finally:
        shutil.rmtree(work)

    text = payload(600, 20)
    deflated = zlib.compress(text, 9)
    one = header("ONE.TXT", len(text), len(deflated)) + deflated
    hand = {
        "lead-only": [LEAD],
        "lead-short": [b"mfl"],
        "lead-wrong-magic": [b"MFLH" + b"\0" * 4 + one],
        "header-cut-short": [LEAD + one[:200]],
        "header-without-magic": [LEAD + b"mfeX" + one[4:]],
        "continued-next-volume-missing": [LEAD + header("A", 600, 600, 2, continued=1) + text[:300]],
        "continued-ends-at-volume-end": [LEAD + header("A", 300, 300, 2, continued=1) + text[:300],
                                         LEAD + header("B", 10, 10, 2) + text[:10]],
        "continued-into-second": [LEAD + header("A", 600, 600, 2, continued=1) + text[:250],
                                  LEAD + text[250:] + header("B", 0, 0, 2)],
        "unknown-method": [LEAD + header("M", 600, 600, 7) + text],
        "checksum-mismatch": [LEAD + header("C", 600, 600, 2, checksum=0x12345678) + text],
        "deflate-truncated": [LEAD + header("T", 600, len(deflated), 4) + deflated[:len(deflated) // 2]],
        "deflate-garbage": [LEAD + header("G", 600, 64, 4) + payload(64, 21, False)],
        "name-without-nul": [LEAD + header("", 10, 10, 2, name_bytes=b"N" * 260) + text[:10]],
        "stored-size-huge": [LEAD + header("H", 10, 0xFFFFFFFF, 2) + text[:10]],
        "decoded-size-huge": [LEAD + header("D", 0x7FFFFFFF, len(deflated), 4) + deflated],
        "not-installed-then-member": [LEAD + header("S", 50, 50, 2, destination=-1) + text[:50] + one],
    }
    for name, volumes in hand.items():
        write(READER, name + ".bin", reader_input(volumes))
    decode = {
        "stored-claims-more": decode_input(2, 600, text, skew=40),
        "stored-claims-less": decode_input(2, 600, text, skew=-40),
        "deflate-truncated": decode_input(4, 600, deflated[:len(deflated) // 2]),
        "deflate-decoded-short": decode_input(4, 300, deflated),
        "deflate-decoded-long": decode_input(4, 900, deflated),
        "deflate-zero-length": decode_input(4, 0, zlib.compress(b"", 9)),
        "deflate-header-only": decode_input(4, 600, deflated[:2]),
        "deflate-bad-header": decode_input(4, 600, b"\x78\x00" + deflated[2:]),
        "deflate-checksum-checked": decode_input(4, 600, deflated, check=True),
        "deflate-raw-stream": decode_input(4, 600, deflated[2:-4]),
        "stored-empty": decode_input(2, 0, b""),
    }
    for name, data in decode.items():
        write(DECODE, name + ".bin", data)


if __name__ == "__main__":
    main()
