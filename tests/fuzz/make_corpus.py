#!/usr/bin/env python3
"""Makes the seed corpus of the fuzz targets in corpus/ from valid files.

    python3 tests/fuzz/make_corpus.py build/tools/orvi-cli/orvi-cli

corpus/jsonimport: small documents in the JSON that "orvi-cli dump" writes (names with
    Polish letters and escapes, NaN and infinities, an empty series, no series).
corpus/ovkfile: each of those documents written by "orvi-cli import" (the program's own
    writer), plus the document tests' fixture; corpus/ovkrender: the same files.
corpus/levels: raw recordings, each behind the 6 bytes that the target reads first (block
    size in bytes, start and stop angle in degrees, little-endian 16-bit): silence, a sine,
    a full-scale square, an odd block size and a range that runs backwards.
The files stay a few kilobytes, so the corpus can live in the repository.
"""
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")
FIXTURE = os.path.join(HERE, "..", "data", "document", "two_series.OvK")

DOCUMENTS = {
    "empty": '{"title": "", "info": "", "series": []}',
    "one_series": '{"title": "Kolumna", "info": "Nieznany", "series": [{"number": 0, '
                  '"name": "Pomiar 1", "color": 255, "points": ['
                  + ", ".join("[%d, %g]" % (a, -3.0 * (1 - math.cos(math.radians(a))))
                              for a in range(0, 360, 10)) + "]}]}",
    "texts": '{"title": "Zażółć \\"gęślą\\" jaźń\\t\\u0141", "info": "x", "series": ['
             '{"name": "Tył", "color": 2147483653, "points": []}, '
             '{"name": "a\\\\b", "color": 0, "points": [[0, 0], [-0.0, 1e308]]}]}',
    "nonfinite": '{"title": "nonfinite", "series": [{"name": "n", "color": 16711680, '
                '"points": [["NaN", 0], ["Infinity", "-Infinity"], [5e-324, -1.5e-10]]}]}',
}


def raw_seed(name, block, start, stop, samples):
    data = struct.pack("<Hhh", block, start, stop) + struct.pack("<%dh" % len(samples), *samples)
    with open(os.path.join(CORPUS, "levels", name), "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_corpus.py PATH/TO/orvi-cli")
    cli = sys.argv[1]
    for sub in ("jsonimport", "ovkfile", "ovkrender", "levels"):
        shutil.rmtree(os.path.join(CORPUS, sub), ignore_errors=True)
        os.makedirs(os.path.join(CORPUS, sub))
    with tempfile.TemporaryDirectory() as tmp:
        for name, text in DOCUMENTS.items():
            json_path = os.path.join(CORPUS, "jsonimport", name + ".json")
            with open(json_path, "w", encoding="utf-8") as f:
                f.write(text)
            out = os.path.join(tmp, name + ".OvK")
            subprocess.run([cli, "import", json_path, out], check=True)
            shutil.copy(out, os.path.join(CORPUS, "ovkfile", name + ".OvK"))
    shutil.copy(FIXTURE, os.path.join(CORPUS, "ovkfile", "two_series.OvK"))
    # The drawing target starts from the same files.
    shutil.copytree(os.path.join(CORPUS, "ovkfile"), os.path.join(CORPUS, "ovkrender"),
                    dirs_exist_ok=True)

    raw_seed("silence", 64, 0, 360, [0] * 256)
    raw_seed("sine", 100, -180, 180,
             [int(20000 * math.sin(i * 0.3)) for i in range(600)])
    raw_seed("square", 32, 0, 90, [32767 if (i // 8) % 2 else -32768 for i in range(256)])
    raw_seed("odd_block", 33, 10, 350, [(i * 7919) % 65536 - 32768 for i in range(300)])
    raw_seed("backwards", 50, 360, 0, [int(1000 * math.cos(i)) for i in range(200)])


if __name__ == "__main__":
    main()
