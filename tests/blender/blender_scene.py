"""What the headless Blender tests share: an empty scene, a kavrel-convert
run, the counts they compare, running their cases, and Debian's Blender 3.4
readied for its glTF importer."""

import os
import subprocess
import sys
import unittest

import bpy


def give_numpy_its_bool_alias():
    """Blender 3.4's glTF importer makes arrays of dtype numpy.bool, which numpy 1.24 removed."""
    import numpy
    if "bool" not in vars(numpy):  # asking numpy 1.24 for the name itself warns
        numpy.bool = bool


def empty_scene():
    """Removes every object and the data the imports made."""
    for collection in (bpy.data.objects, bpy.data.meshes, bpy.data.materials, bpy.data.lights,
                       bpy.data.cameras, bpy.data.images, bpy.data.textures):
        for block in list(collection):
            collection.remove(block)


def convert(converter, source, output, work):
    """kavrel-convert's output of source, with the stored options in work."""
    subprocess.run([converter, "-q", "-o", output, "--support-dir", os.path.join(work, "support"), source],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def triangles(obj):
    obj.data.calc_loop_triangles()
    return len(obj.data.loop_triangles)


def base_color(material):
    node = material.node_tree.nodes.get("Principled BSDF") if material.node_tree else None
    color = node.inputs["Base Color"].default_value if node else material.diffuse_color
    return tuple(round(channel, 4) for channel in color)


def restore_numpy_bool():
    """Debian's numpy (1.24) dropped numpy.bool, which Blender 3.4's glTF
    importer still uses; put back as bool before that importer runs."""
    import numpy
    if "bool" not in numpy.__dict__:
        numpy.bool = bool


def run_cases(cases):
    """Runs the test cases; a failure ends Blender with status 1. Subtests
    count as failures of their own, so the tests are counted apart."""
    suite = unittest.TestSuite(unittest.defaultTestLoader.loadTestsFromTestCase(case) for case in cases)
    result = unittest.TextTestRunner(stream=sys.stdout, verbosity=2).run(suite)
    failed = len(result.failures) + len(result.errors)
    print(f"{result.testsRun} tests, {failed} failures")
    if not result.wasSuccessful():
        raise SystemExit(1)
