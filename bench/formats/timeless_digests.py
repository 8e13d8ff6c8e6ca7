"""SHA-256 of each file named on standard input, one "DIGEST  NAME" line each,
leaving out what changes with the time of writing: COLLADA's <created> and
<modified> lines and a 3MF archive's entry dates (its entries' contents are
digested instead). Our FBX states a fixed time and needs nothing left out."""
import hashlib
import re
import sys
import zipfile


def timeless(name, data):
    if name.endswith(".dae"):
        return re.sub(rb"\s*<(created|modified)>[^<]*</\1>", b"", data)
    if name.endswith(".3mf"):
        with zipfile.ZipFile(name) as archive:
            return b"".join(entry.filename.encode() + archive.read(entry) for entry in archive.infolist())
    return data


for line in sys.stdin:
    name = line.rstrip("\n")
    with open(name, "rb") as f:
        print(hashlib.sha256(timeless(name, f.read())).hexdigest() + "  " + name)
