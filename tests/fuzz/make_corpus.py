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
corpus/wavfile: small recordings as libsndfile reads them: 16-bit mono, 8-bit stereo,
    32-bit float and a WAV whose header claims more samples than it holds.
corpus/markerlog: marker logs as the program writes them (no marker, one, uneven ones) and
    one with keys of a later version.
corpus/frdfile: a response file as the program writes it, one with comments, tabs and commas,
    and points packed as little-endian doubles (the target's second reading of its bytes).
The files stay a few kilobytes, so the corpus can live in the repository.
    python3 -c "import make_corpus; make_corpus.analysis_seeds()" (in tests/fuzz) makes only
    the last three.
"""
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

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


def write(sub, name, data):
    with open(os.path.join(CORPUS, sub, name), "wb") as f:
        f.write(data)


def wav_seed(name, rate, channels, width, frames):
    with wave.open(os.path.join(CORPUS, "wavfile", name), "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(width)
        w.setframerate(rate)
        w.writeframes(frames)


def float_wav(samples, rate, claimed=None):
    data = struct.pack("<%df" % len(samples), *samples)
    size = len(data) if claimed is None else claimed
    fmt = struct.pack("<HHIIHH", 3, 1, rate, rate * 4, 4, 32)
    return (b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE"
            + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"data" + struct.pack("<I", size) + data)


def marker_log(signal, rate, start, stop, markers, extra=""):
    lines = ["# Orvi marker log 1", "signal = " + signal, "frequency = 1000",
             "amplitude = 80", "play-buffer = 16384", "rate = %d" % rate,
             "start = %d" % start, "stop = %d" % stop, "lead-ms = 250.5",
             "samples = %d" % (int(markers[-1]) + 1000 if markers else 48000)]
    lines += ["marker %d %r" % (k + 1, m) for k, m in enumerate(markers)]
    return ("\n".join(lines) + "\n" + extra).encode("utf-8")


def analysis_seeds():
    for sub in ("wavfile", "markerlog", "frdfile"):
        shutil.rmtree(os.path.join(CORPUS, sub), ignore_errors=True)
        os.makedirs(os.path.join(CORPUS, sub))
    sine = [int(20000 * math.sin(i * 0.2)) for i in range(400)]
    wav_seed("mono16.wav", 44100, 1, 2, struct.pack("<%dh" % len(sine), *sine))
    wav_seed("stereo8.wav", 8000, 2, 1, bytes((i * 37) % 256 for i in range(400)))
    write("wavfile", "float.wav", float_wav([math.sin(i * 0.1) for i in range(100)], 48000))
    write("wavfile", "claims_more.wav", float_wav([0.5, -0.5, 2.0], 1000, claimed=1 << 30))

    write("markerlog", "none", marker_log("MLS", 48000, 0, 360, []))
    write("markerlog", "one", marker_log("Sinus", 44100, -180, 180, [1234.5]))
    write("markerlog", "uneven", marker_log("Chirp", 96000, 0, 90,
                                            [100.25, 180.0, 900.125, 950.0, 950.0, 1e6]))
    write("markerlog", "later_keys",
          marker_log("PinkNoise", 22050, 10, 350, [5.0, 10.0], "colour = blue\n# note\n"))

    points = [(20 * 2 ** (i / 3), -3.0 * math.sin(i / 5), 180 * math.cos(i / 7))
              for i in range(30)]
    write("frdfile", "written.frd", "".join("%.4f %.4f %.2f\n" % p for p in points).encode())
    write("frdfile", "variants.frd", b"* measured\r\n# f dB deg\r\n; x\r\n\r\n"
          b"20\t-1.5\t10\r\n40,-2,20\r\n80;-3\r\n")
    write("frdfile", "doubles",
          b"".join(struct.pack("<3d", *p) for p in points[:10])
          + struct.pack("<3d", float("nan"), 1.0, float("inf")))


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
    analysis_seeds()


if __name__ == "__main__":
    main()
