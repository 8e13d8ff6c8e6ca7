"""Blender's FBX importer reads our .fbx as its glTF importer reads our own
.glb of the same model, in one headless Blender (run_fbx_import_test.sh):

  blender -b --factory-startup --python-exit-code 1 -P fbx_import_test.py -- \\
      --converter KAVREL_CONVERT --models DIR

Both imports must give the same objects (name, type, parent, triangles,
where their vertices lie in world space; where lights and cameras stand,
where they point and a camera's angle) and materials of the same colours
and opacity, or textured in both. The glTF importer makes an object of its
own for the unnamed inner node of a sheared placement (glTF needs two
nodes for its matrix, FBX turns the geometry instead): such an object
counts as part of its placement."""

import argparse
import json
import os
import struct
import sys
import tempfile
import unittest

import bpy
from mathutils import Vector

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_scene import convert, empty_scene, give_numpy_its_bool_alias, run_cases, triangles  # noqa: E402

parser = argparse.ArgumentParser()
for option in ("--converter", "--models"):
    parser.add_argument(option, required=True)
ARGS = parser.parse_args(sys.argv[sys.argv.index("--") + 1:])

# Shared meshes; a texture; a light, a camera and per-face materials; a
# mirrored part; sheared placements.
MODELS = ("buildings/windmill.iv", "simple/texture.iv", "scenes/chesschairs.iv", "vehicles/767.iv",
          "scenes/glider.iv")


def glb_node_names(path):
    with open(path, "rb") as file:
        data = file.read()
    length = struct.unpack("<I", data[12:16])[0]
    return {node["name"] for node in json.loads(data[20:20 + length]).get("nodes", []) if "name" in node}


def placement_of(obj, names):
    """The object that stands for obj's placement: obj, or for an unnamed glTF node the nearest named parent."""
    while names is not None and obj is not None and obj.name not in names:
        obj = obj.parent
    return obj


def world_box(objects):
    points = [obj.matrix_world @ vertex.co for obj in objects for vertex in obj.data.vertices]
    if not points:
        return ()
    return tuple(min(p[axis] for p in points) for axis in range(3)) + tuple(max(p[axis] for p in points)
                                                                            for axis in range(3))


def pose(obj):
    """Where a light or camera stands, where it points, and a camera's angle or orthographic width."""
    numbers = tuple(obj.matrix_world.translation) + tuple((obj.matrix_world.to_3x3() @ Vector((0, 0, -1))).normalized())
    if obj.type == 'CAMERA':
        numbers += (obj.data.angle_y if obj.data.type == 'PERSP' else obj.data.ortho_scale,)
    return numbers


def objects_summary(names=None):
    """By placement name: (type, parent's name, triangles, light's type and colour) and its numbers."""
    members = {}
    for obj in bpy.data.objects:
        members.setdefault(placement_of(obj, names), []).append(obj)
    summary = {}
    for placement, objects in members.items():
        meshes = [obj for obj in objects if obj.type == 'MESH']
        parent = placement_of(placement.parent, names)
        light = (placement.data.type, tuple(round(c, 4) for c in placement.data.color)) if placement.type == 'LIGHT' else ()
        kind = 'MESH' if meshes else placement.type
        numbers = pose(placement) if placement.type in ('LIGHT', 'CAMERA') else world_box(meshes)
        summary[placement.name] = ((kind, parent.name if parent else "", sum(triangles(m) for m in meshes), light),
                                   numbers)
    return summary


def materials_summary():
    """Each material's base colour (or "textured") and alpha, sorted."""
    out = []
    for material in bpy.data.materials:
        node = material.node_tree.nodes.get("Principled BSDF")
        color = node.inputs["Base Color"]
        base = "textured" if color.is_linked else tuple(round(c, 4) for c in color.default_value[:3])
        out.append((str(base), round(node.inputs["Alpha"].default_value, 4)))
    return sorted(out)


class FbxImport(unittest.TestCase):
    """Blender's FBX importer against its glTF importer, model by model."""

    def assert_same_objects(self, fbx, glb):
        self.assertEqual(sorted(fbx), sorted(glb))
        scale = max([abs(n) for _, numbers in glb.values() for n in numbers] + [1.0])
        for name, (fields, numbers) in glb.items():
            self.assertEqual(fbx[name][0], fields, name)
            self.assertEqual(len(fbx[name][1]), len(numbers), name)
            for got, expected in zip(fbx[name][1], numbers):
                self.assertAlmostEqual(got, expected, delta=1e-4 * scale, msg=name)

    def test_models_import_as_our_own_glb(self):
        give_numpy_its_bool_alias()
        for model in MODELS:
            with self.subTest(model=model), tempfile.TemporaryDirectory() as work:
                fbx, glb = os.path.join(work, "model.fbx"), os.path.join(work, "model.glb")
                for output in (fbx, glb):
                    convert(ARGS.converter, os.path.join(ARGS.models, model), output, work)
                empty_scene()
                bpy.ops.import_scene.fbx(filepath=fbx)
                fbx_objects, fbx_materials = objects_summary(), materials_summary()
                empty_scene()
                bpy.ops.import_scene.gltf(filepath=glb)
                self.assertGreater(len(fbx_objects), 1)
                self.assert_same_objects(fbx_objects, objects_summary(glb_node_names(glb)))
                self.assertEqual(fbx_materials, materials_summary())


run_cases([FbxImport])
