#!/usr/bin/env python3
"""gltf_content.py FILE.glb: one line that sums up what a .glb holds, so that
two conversions can be compared by content rather than by bytes: the
nodes in order (name, transform, hidden, child count) and, for each node's
mesh, its primitives (the bytes of every attribute and index list, the
material's values). Mesh and accessor numbering, mesh names, JSON key order
and number formatting do not count, nor the names of the root nodes (the
import's root is named after the input file). Prints: nodes, triangles,
digest."""
import hashlib
import json
import struct
import sys


def read_glb(path):
    with open(path, "rb") as f:
        data = f.read()
    magic, _, _ = struct.unpack_from("<III", data, 0)
    if magic != 0x46546C67:
        sys.exit(f"{path}: not a .glb file")
    length, _ = struct.unpack_from("<II", data, 12)
    doc = json.loads(data[20:20 + length])
    offset = 20 + length
    binary = memoryview(data)[offset + 8:] if offset < len(data) else memoryview(b"")
    return doc, binary


def main():
    doc, binary = read_glb(sys.argv[1])
    views, accessors = doc.get("bufferViews", []), doc.get("accessors", [])
    materials = doc.get("materials", [])
    cache = {}

    def accessor_digest(index):
        if index not in cache:
            a = accessors[index]
            v = views[a["bufferView"]]
            start = v.get("byteOffset", 0)
            chunk = binary[start:start + v["byteLength"]]
            cache[index] = [a["count"], a["type"], a.get("min"), a.get("max"), hashlib.sha1(chunk).hexdigest()]
        return cache[index]

    roots = set(doc["scenes"][0].get("nodes", [])) if doc.get("scenes") else set()
    summary, triangles = [], 0
    for n, node in enumerate(doc.get("nodes", [])):
        entry = [None if n in roots else node.get("name"), node.get("matrix"), node.get("translation"), node.get("rotation"),
                 node.get("scale"), node.get("extras"), len(node.get("children", [])), "camera" in node]
        if "mesh" in node:
            for p in doc["meshes"][node["mesh"]]["primitives"]:
                attributes = {k: accessor_digest(v) for k, v in sorted(p["attributes"].items())}
                indices = accessor_digest(p["indices"])
                triangles += indices[0] // 3
                material = materials[p["material"]] if "material" in p else None
                entry.append([attributes, indices, material])
        summary.append(entry)
    text = json.dumps(summary, sort_keys=True)
    print(len(doc.get("nodes", [])), triangles, hashlib.sha1(text.encode()).hexdigest())


main()
