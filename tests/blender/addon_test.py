"""The Blender add-on's scenarios, all in one headless Blender:

  blender -b --factory-startup --python-exit-code 1 -P addon_test.py -- \\
      --mode installed|zip --addon PATH --converter KAVREL_CONVERT --models DIR --examples DIR

--mode installed: PATH is an installed share/kavrel/blender, set as Blender's
scripts folder; kavrel-convert is found on PATH. --mode zip: PATH is the
add-on's zip, installed into the (clean) profile; kavrel-convert is set in
the add-on's preferences. --converter also makes the reference .glb files."""

import argparse
import os
import sys
import tempfile
import types
import unittest

import addon_utils
import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from blender_scene import base_color, convert, empty_scene, run_cases, triangles  # noqa: E402

ADDON = "io_import_inventor"

parser = argparse.ArgumentParser()
for option in ("--mode", "--addon", "--converter", "--models", "--examples"):
    parser.add_argument(option, required=True)
ARGS = parser.parse_args(sys.argv[sys.argv.index("--") + 1:])

CORPUS = ("vehicles/767.iv", "scenes/chesschairs.iv", "buildings/windmill.iv", "simple/texture.iv")


def model(name):
    return os.path.join(ARGS.models, name)


def example(name):
    return os.path.join(ARGS.examples, name)


def import_inventor(**options):
    empty_scene()
    bpy.ops.import_scene.inventor(**options)


def import_our_glb(path):
    """What Blender's glTF importer makes of kavrel-convert's own .glb of path."""
    empty_scene()
    with tempfile.TemporaryDirectory() as work:
        glb = os.path.join(work, "reference.glb")
        convert(ARGS.converter, path, glb, work)
        bpy.ops.import_scene.gltf(filepath=glb)


def scene_summary():
    """Objects with their parents and triangles, materials, lights and cameras, in a comparable form."""
    objects = sorted((obj.name, obj.type, obj.parent.name if obj.parent else "",
                      triangles(obj) if obj.type == 'MESH' else 0) for obj in bpy.data.objects)
    materials = sorted((base_color(material), material.use_backface_culling) for material in bpy.data.materials)
    lights = sorted((light.type, tuple(round(c, 4) for c in light.color), round(light.energy, 4))
                    for light in bpy.data.lights)
    cameras = sorted((camera.type, round(camera.lens, 3)) for camera in bpy.data.cameras)
    return {"objects": objects, "materials": materials, "lights": lights, "cameras": cameras}


def vertex_count():
    return sum(len(obj.data.vertices) for obj in bpy.data.objects if obj.type == 'MESH')


def addon_settings():
    return bpy.context.preferences.addons[ADDON].preferences


def leftovers():
    """Temporary folders of the add-on's imports still on disk."""
    return [name for name in os.listdir(tempfile.gettempdir()) if name.startswith("kavrel-blender-")]


class CorpusImport(unittest.TestCase):
    """The add-on's import is what Blender's glTF importer makes of our own .glb."""

    def test_models_match_our_own_glb(self):
        for path in [model(name) for name in CORPUS] + [example("vrml1_house.wrl")]:
            with self.subTest(path=path):
                import_inventor(filepath=path)
                imported = scene_summary()
                import_our_glb(path)
                self.assertGreater(len(imported["objects"]), 0)
                self.assertEqual(imported, scene_summary())
        self.assertEqual(leftovers(), [])

    def test_lights_and_textures_come_through(self):
        import_inventor(filepath=example("vrml1_house.wrl"))
        self.assertEqual(len(bpy.data.lights), 1)
        import_inventor(filepath=model("simple/texture.iv"))
        self.assertEqual([image.packed_file is not None for image in bpy.data.images], [True])


class BadFiles(unittest.TestCase):
    """A file that cannot be imported is an error report and adds nothing."""

    def assert_refused(self, path):
        empty_scene()
        with self.assertRaisesRegex(RuntimeError, "not imported"):
            bpy.ops.import_scene.inventor(filepath=path)
        self.assertEqual((len(bpy.data.objects), len(bpy.data.meshes)), (0, 0))

    def test_unreadable_and_vrml2_files_are_refused(self):
        with tempfile.TemporaryDirectory() as work:
            truncated = os.path.join(work, "truncated.iv")
            with open(truncated, "w") as file:
                file.write("#Inventor V2.1 ascii\nSeparator { Cube {\n")
            vrml2 = os.path.join(work, "box.wrl")
            with open(vrml2, "w") as file:
                file.write("#VRML V2.0 utf8\nShape { geometry Box {} }\n")
            self.assert_refused(truncated)
            self.assert_refused(vrml2)
        self.assertEqual(leftovers(), [])

    def test_missing_converter_names_the_install_command(self):
        settings = addon_settings()
        saved_path, saved_environment = settings.converter_path, os.environ["PATH"]
        try:
            settings.converter_path = ""
            os.environ["PATH"] = os.path.join(tempfile.gettempdir(), "nothing-here")
            empty_scene()
            with self.assertRaisesRegex(RuntimeError, "kavrel-convert was not found on PATH.*cmake --install"):
                bpy.ops.import_scene.inventor(filepath=example("vrml1_house.wrl"))
            self.assertEqual(len(bpy.data.objects), 0)
        finally:
            settings.converter_path, os.environ["PATH"] = saved_path, saved_environment


class Options(unittest.TestCase):
    """Each option reaches the plug-in; unset ones come from the stored options."""

    def test_lights_can_be_left_out(self):
        import_inventor(filepath=example("vrml1_house.wrl"), import_lights=False)
        self.assertEqual([obj for obj in bpy.data.objects if obj.type == 'LIGHT'], [])
        self.assertGreater(len(bpy.data.meshes), 0)

    def test_weld_threshold_changes_the_vertex_count(self):
        import_inventor(filepath=model("buildings/windmill.iv"))
        fine = vertex_count()
        import_inventor(filepath=model("buildings/windmill.iv"), weld_vertices_threshold=0.5)
        self.assertLess(vertex_count(), fine)

    def test_extracted_textures_go_to_the_chosen_folder(self):
        with tempfile.TemporaryDirectory() as folder:
            import_inventor(filepath=model("simple/texture.iv"), texture_location='DIRECTORY',
                            texture_directory=os.path.join(folder, "maps"))
            self.assertEqual(os.listdir(os.path.join(folder, "maps")), ["texture.tif"])

    def test_stored_options_are_the_defaults(self):
        import_inventor(filepath=model("buildings/windmill.iv"), weld_vertices_threshold=0.5)
        coarse = vertex_count()
        support = os.path.join(os.environ["XDG_CONFIG_HOME"], "kavrel", "inventor")
        os.makedirs(support, exist_ok=True)
        stored = os.path.join(support, "vorlix.ini")
        with open(stored, "w") as file:
            file.write("# stored\n# options\n[Preferences]\nimport_lights = 0\nWeldVerticesThreshold = 0.5\n")
        try:
            import_inventor(filepath=model("buildings/windmill.iv"))
            self.assertEqual(vertex_count(), coarse)
            import_inventor(filepath=example("vrml1_house.wrl"))
            self.assertEqual(len(bpy.data.lights), 0)
            import_inventor(filepath=example("vrml1_house.wrl"), import_lights=True)
            self.assertEqual(len(bpy.data.lights), 1)
        finally:
            os.remove(stored)

    def test_stored_texts_reach_the_converter_unchanged(self):
        from io_import_inventor import import_options
        stored = {"smoothing_angle": "30", "MergePolygonsCoplanarAngle": "2.5", "WeldNormalsThreshold": "0.001",
                  "calc_smoothed_normals": "1", "lod_source": "2", "nthlod": "3", "import_cameras": "0",
                  "textures_confirm_overwrite": "0", "txtr_save_dir_same": "0", "txtr_save_dir": "/maps/"}
        tokens, preferences = import_options.run_settings(import_options.stored_values(stored), "/temporary/")
        sent = dict(tokens, **preferences)
        self.assertEqual({key: sent[key] for key in stored}, stored)

    def test_several_files_in_one_call(self):
        counts = []
        for name in ("showcase.iv", "vrml1_house.wrl"):
            import_inventor(filepath=example(name))
            counts.append(len(bpy.data.objects))
        import_inventor(directory=ARGS.examples, files=[{"name": "showcase.iv"}, {"name": "vrml1_house.wrl"}])
        self.assertEqual(len(bpy.data.objects), sum(counts))
        self.assertTrue(all(obj.select_get() for obj in bpy.data.objects))


class Feedback(unittest.TestCase):
    """The converter's messages become reports, one per line; its progress lines reach the indicator."""

    def test_warnings_statistics_and_progress(self):
        from io_import_inventor import converter, import_options, import_run
        reports, progress = [], []
        with tempfile.TemporaryDirectory() as work:
            path = os.path.join(work, "with_missing_part.iv")
            with open(path, "w") as file:
                file.write('#Inventor V2.1 ascii\nSeparator {\n File { name "no_such_part.iv" }\n Cube {}\n}\n')
            settings = types.SimpleNamespace(converter_path=ARGS.converter, support_directory=work)
            empty_scene()
            imported = import_run.import_files(bpy.context, [path], import_options.stored_values({}), settings,
                                               lambda kind, text: reports.append((kind, text)))
            conversion = converter.convert(ARGS.converter, path, os.path.join(work, "out.glb"), work + os.sep, [],
                                           progress.append)
        self.assertIn('MESH', [obj.type for obj in imported])
        warnings = [text for kind, text in reports if kind == {'WARNING'}]
        self.assertRegex(warnings[0], "^with_missing_part.iv: Coin read error: Could not find 'no_such_part.iv'")
        self.assertTrue(all("\n" not in text for kind, text in reports))
        self.assertIn(({'INFO'}, "with_missing_part.iv: Number of polygons output = 12"), reports)
        self.assertFalse([text for kind, text in reports if kind == {'ERROR'}])
        self.assertTrue(conversion.succeeded)
        self.assertIn("Processing 12 polygon Shape node.", progress)
        self.assertEqual(leftovers(), [])


def install_addon():
    """Enables the add-on as the mode says and makes kavrel-convert findable."""
    if ARGS.mode == "installed":
        bpy.context.preferences.filepaths.script_directory = ARGS.addon
        bpy.utils.refresh_script_paths()
        module = addon_utils.enable(ADDON, default_set=True)
        expected_folder = ARGS.addon
    else:
        bpy.ops.preferences.addon_install(filepath=ARGS.addon)
        bpy.ops.preferences.addon_enable(module=ADDON)
        module = sys.modules.get(ADDON)
        expected_folder = os.environ["BLENDER_USER_SCRIPTS"]
        addon_settings().converter_path = ARGS.converter
    assert module and module.__file__.startswith(expected_folder), f"{ADDON} not loaded from {expected_folder}"
    assert hasattr(bpy.types, "IMPORT_SCENE_OT_inventor")


class ZipInstall(unittest.TestCase):
    """Installed from the zip into a clean profile, with the converter set in the preferences."""

    def test_imports_as_our_own_glb(self):
        path = model("vehicles/767.iv")
        import_inventor(filepath=path)
        imported = scene_summary()
        import_our_glb(path)
        self.assertEqual(imported, scene_summary())


def main():
    install_addon()
    cases = [ZipInstall] if ARGS.mode == "zip" else [CorpusImport, BadFiles, Options, Feedback]
    run_cases(cases)


main()
