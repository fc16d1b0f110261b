#!/usr/bin/env python3
"""Rebuilds the committed fuzz corpus: kits written by tvkit (deterministic
sources, small diskettes so that members span volumes) turned into the two
targets' input formats, plus small hand-made inputs for the damage each
reader check exists for.

    python3 tests/fuzz/corpus/make_corpus.py build/host/tools/kitbuilder/tvkit
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


def main():
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
