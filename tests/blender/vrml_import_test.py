"""Blender's X3D/VRML importer reads kavrel-convert's .wrl and .x3d of real
models with the triangles and material colours that its glTF importer
finds in our .glb, all in one headless Blender:

  blender -b --factory-startup --python-exit-code 1 -P vrml_import_test.py -- \\
      --converter KAVREL_CONVERT --models DIR

Debian's Blender 3.4 runs on Python 3.11, which no longer takes the mode
'rU' that its X3D importer opens files with, and on numpy 1.24, which
dropped the numpy.bool its glTF importer uses: both are given back to the
importers before they run."""

import argparse
import builtins
import os
import sys
import tempfile
import unittest

import bpy
import numpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_scene import base_color, convert, empty_scene, run_cases, triangles  # noqa: E402

parser = argparse.ArgumentParser()
for option in ("--converter", "--models"):
    parser.add_argument(option, required=True)
ARGS = parser.parse_args(sys.argv[sys.argv.index("--") + 1:])

# Shared meshes, per-face materials, a light and an extracted texture.
MODELS = ("buildings/windmill.iv", "vehicles/767.iv", "scenes/chesschairs.iv", "simple/texture.iv")


def open_without_universal_newlines(file, mode="r", *args, **kwargs):
    return builtins.open(file, mode.replace("U", ""), *args, **kwargs)


def prepare_importers():
    if not hasattr(numpy, "bool"):
        numpy.bool = bool
    from io_scene_x3d import import_x3d
    import_x3d.open = open_without_universal_newlines


def textured(material):
    """Whether the material's base colour comes from an image with pixels."""
    node = material.node_tree.nodes.get("Principled BSDF") if material.node_tree else None
    if node is None:
        return False
    images = [link.from_node.image for link in material.node_tree.links
              if link.from_node.type == 'TEX_IMAGE' and link.from_node.image is not None]
    return any(image.size[0] > 0 for image in images)


def imported(path):
    """What Blender made of path: triangles by (base colour, textured) of their material."""
    empty_scene()
    if path.endswith(".glb"):
        bpy.ops.import_scene.gltf(filepath=path)
    else:
        bpy.ops.import_scene.x3d(filepath=path)
    counts = {}
    for obj in bpy.data.objects:
        if obj.type != 'MESH':
            continue
        materials = [slot.material for slot in obj.material_slots]
        if not materials:
            counts[None] = counts.get(None, 0) + triangles(obj)
            continue
        obj.data.calc_loop_triangles()
        for triangle in obj.data.loop_triangles:
            material = materials[triangle.material_index]
            key = (base_color(material), textured(material))
            counts[key] = counts.get(key, 0) + 1
    return counts


class VrmlImport(unittest.TestCase):
    def test_both_encodings_import_as_our_glb(self):
        for model in MODELS:
            with tempfile.TemporaryDirectory() as work:
                outputs = {extension: os.path.join(work, "model." + extension) for extension in ("glb", "wrl", "x3d")}
                for output in outputs.values():
                    convert(ARGS.converter, os.path.join(ARGS.models, model), output, work)
                reference = imported(outputs["glb"])
                self.assertGreater(sum(reference.values()), 0, model)
                for extension in ("wrl", "x3d"):
                    with self.subTest(model=model, extension=extension):
                        self.assertEqual(imported(outputs[extension]), reference)


prepare_importers()
run_cases([VrmlImport])
