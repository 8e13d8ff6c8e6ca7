"""Every output format opened by a program its users open it with, and
compared with what Blender's glTF importer makes of our own .glb of the
same model, all in one headless Blender:

  blender -b --factory-startup --python-exit-code 1 -P clients_test.py -- \\
      --converter KAVREL_CONVERT --models DIR --work DIR --prusa-slicer PRUSA_SLICER

Each model is converted once to every format in --work. Blender's own
importers read .obj, .ply, .stl and .dae; the triangles, the objects and
the colours of the triangles' materials must be the .glb's wherever the
format carries them. Blender 3.4 has no 3MF importer: PrusaSlicer's
--info must count the .glb's triangles as facets and find a closed mesh
manifold (lib3mf reads the 3MF back in tests/cli/cli_threemf_test.cc)."""

import argparse
import collections
import os
import re
import subprocess
import sys
import unittest

import bpy

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "blender"))
from blender_scene import base_color, convert, empty_scene, restore_numpy_bool, run_cases, triangles  # noqa: E402

parser = argparse.ArgumentParser()
for option in ("--converter", "--models", "--work", "--prusa-slicer"):
    parser.add_argument(option, required=True)
ARGS = parser.parse_args(sys.argv[sys.argv.index("--") + 1:])

# Shared meshes, per-face materials and transparency, a texture, many
# small parts, repeated triangles left out.
MODELS = ("buildings/windmill.iv", "vehicles/767.iv", "scenes/chesschairs.iv", "simple/texture.iv",
          "household/plant.iv")

# How a reading compares objects with the .glb's: "named": the same mesh and
# empty objects by name (Blender's ".001" numbering left out), kind and
# parent; "count": as many mesh objects; "one": a single mesh object.
Reading = collections.namedtuple("Reading", "extension importer load objects colors")

# One Blender importer each, as a user runs it. Our own writers' formats
# are read by Blender's importers in tests/blender: .fbx in
# fbx_import_test.py, .wrl and .x3d in vrml_import_test.py.
READINGS = (
    Reading("obj", "wm.obj_import", lambda path: bpy.ops.wm.obj_import(filepath=path), "one", True),
    # The legacy importer makes an object of each OBJ group (one per placement).
    Reading("obj", "import_scene.obj by group",
            lambda path: bpy.ops.import_scene.obj(filepath=path, use_split_groups=True), "count", True),
    Reading("ply", "import_mesh.ply", lambda path: bpy.ops.import_mesh.ply(filepath=path), "one", False),
    Reading("stl", "import_mesh.stl", lambda path: bpy.ops.import_mesh.stl(filepath=path), "one", False),
    Reading("dae", "wm.collada_import", lambda path: bpy.ops.wm.collada_import(filepath=path), "named", True),
)


def output(model, extension):
    return os.path.join(ARGS.work, os.path.splitext(os.path.basename(model))[0] + "." + extension)


def base_name(obj):
    return re.sub(r"\.\d{3}$", "", obj.name) if obj else ""


def material_color(obj, triangle):
    """The triangle's material as red, green, blue and alpha."""
    if not obj.material_slots:
        return None
    material = obj.material_slots[triangle.material_index].material
    node = material.node_tree.nodes.get("Principled BSDF") if material.node_tree else None
    alpha = round(node.inputs["Alpha"].default_value, 4) if node else 1.0
    return base_color(material)[:3] + (alpha,)


def scene_reading():
    """The scene as the comparisons see it."""
    meshes = [obj for obj in bpy.data.objects if obj.type == 'MESH']
    colors = collections.Counter()
    for obj in meshes:
        obj.data.calc_loop_triangles()
        colors.update(material_color(obj, triangle) for triangle in obj.data.loop_triangles)
    named = sorted({(base_name(obj), obj.type, base_name(obj.parent))
                    for obj in bpy.data.objects if obj.type in ('MESH', 'EMPTY')})
    return {"triangles": sum(triangles(obj) for obj in meshes), "meshes": len(meshes), "named": named,
            "colors": colors}


def read(load, path):
    empty_scene()
    load(path)
    return scene_reading()


REFERENCE = {}                                 # model -> what Blender makes of its .glb


def prepare():
    """Every model in every format, and the reference readings of the .glb files."""
    restore_numpy_bool()
    for model in MODELS:
        source = os.path.join(ARGS.models, model)
        for extension in {"glb", "3mf"} | {reading.extension for reading in READINGS}:
            convert(ARGS.converter, source, output(model, extension), ARGS.work)
        REFERENCE[model] = read(lambda path: bpy.ops.import_scene.gltf(filepath=path), output(model, "glb"))


class BlenderReadsEveryFormatAsTheGlb(unittest.TestCase):
    def test_triangles_objects_and_colors(self):
        for reading in READINGS:
            for model in MODELS:
                with self.subTest(format=reading.extension, importer=reading.importer, model=model):
                    glb, other = REFERENCE[model], read(reading.load, output(model, reading.extension))
                    self.assertGreater(glb["triangles"], 0)
                    self.assertEqual(other["triangles"], glb["triangles"])
                    if reading.objects == "named":
                        self.assertEqual(other["named"], glb["named"])
                    elif reading.objects == "count":
                        self.assertEqual(other["meshes"], glb["meshes"])
                    else:
                        self.assertEqual(other["meshes"], 1)
                    if reading.colors:
                        self.assertEqual(other["colors"], glb["colors"])


def prusa_slicer_info(path):
    """PrusaSlicer's --info of a file: one dictionary per object it loads."""
    result = subprocess.run([ARGS.prusa_slicer, "--info", path], check=True, capture_output=True, text=True)
    objects = []
    for line in result.stdout.splitlines():
        if re.fullmatch(r"\[[^\]]*\]", line):  # the file's name opens each object's lines
            objects.append({})
        elif " = " in line and objects:
            key, value = line.split(" = ", 1)
            objects[-1][key.strip()] = value.strip()
    return objects


class PrusaSlicerReadsThe3mf(unittest.TestCase):
    def test_facets_are_the_glbs_triangles(self):
        for model in MODELS:
            with self.subTest(model=model):
                objects = prusa_slicer_info(output(model, "3mf"))
                self.assertEqual(sum(int(info["number_of_facets"]) for info in objects), REFERENCE[model]["triangles"])

    def test_closed_meshes_are_manifold(self):
        source = os.path.join(ARGS.work, "solids.iv")
        with open(source, "w") as file:
            file.write("#Inventor V2.1 ascii\n\nSeparator {\n Cube { width 20 height 10 depth 5 }\n"
                       " Translation { translation 30 0 0 }\n Sphere { radius 8 }\n}\n")
        convert(ARGS.converter, source, os.path.join(ARGS.work, "solids.3mf"), ARGS.work)
        objects = prusa_slicer_info(os.path.join(ARGS.work, "solids.3mf"))
        self.assertEqual(len(objects), 2)
        self.assertEqual([info["manifold"] for info in objects], ["yes", "yes"])
        self.assertEqual(objects[0]["number_of_facets"], "12")
        # One unit, one millimetre; the scene's Y up is 3MF's Z up.
        self.assertEqual([round(float(objects[0][key]), 3) for key in ("size_x", "size_y", "size_z")], [20, 5, 10])


prepare()
run_cases([BlenderReadsEveryFormatAsTheGlb, PrusaSlicerReadsThe3mf])
