"""SHA-256 of each file named on standard input, one "DIGEST  NAME" line each,
leaving out what changes with the time of writing: COLLADA's <created> and
<modified> lines. Our FBX states a fixed time, and lib3mf dates a 3MF
archive's entries with the zip format's zero date, so neither needs
anything left out."""
import hashlib
import re
import sys


def timeless(name, data):
    if name.endswith(".dae"):
        return re.sub(rb"\s*<(created|modified)>[^<]*</\1>", b"", data)
    return data


for line in sys.stdin:
    name = line.rstrip("\n")
    with open(name, "rb") as f:
        print(hashlib.sha256(timeless(name, f.read())).hexdigest() + "  " + name)
