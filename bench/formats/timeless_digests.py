"""SHA-256 of each file named on standard input, one "DIGEST  NAME" line each,
leaving out what changes with the time of writing: COLLADA's <created> and
<modified> lines and the date fields of FBX's CreationTimeStamp."""
import hashlib
import re
import sys

FBX_TIME_FIELDS = [b"Year", b"Month", b"Day", b"Hour", b"Minute", b"Second", b"Millisecond"]


def timeless(name, data):
    if name.endswith(".dae"):
        return re.sub(rb"\s*<(created|modified)>[^<]*</\1>", b"", data)
    if name.endswith(".fbx"):
        out = bytearray(data)
        for field in FBX_TIME_FIELDS:
            # The field's name (length-prefixed), then an int32 property "I".
            tag = bytes([len(field)]) + field + b"I"
            at = out.find(tag)
            if at >= 0:
                out[at + len(tag):at + len(tag) + 4] = b"\0\0\0\0"
        return bytes(out)
    return data


for line in sys.stdin:
    name = line.rstrip("\n")
    with open(name, "rb") as f:
        print(hashlib.sha256(timeless(name, f.read())).hexdigest() + "  " + name)
