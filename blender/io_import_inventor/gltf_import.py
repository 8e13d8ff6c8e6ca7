"""Reading a converted .glb with Blender's own glTF 2.0 importer."""

import warnings

import addon_utils
import bpy

GLTF_ADDON = "io_scene_gltf2"


class GltfImportFailed(Exception):
    """Blender's glTF importer is missing or refused the file."""


def _give_numpy_its_bool_alias():
    # Blender 3.4's glTF importer makes arrays of dtype numpy.bool, an alias
    # of the built-in bool that numpy 1.24 removed; Debian ships Blender 3.4
    # with numpy 1.24, where the importer would fail on every mesh.
    import numpy
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", FutureWarning)  # numpy 1.24 warns when asked for the name
        missing = not hasattr(numpy, "bool")
    if missing:
        numpy.bool = bool


def _ensure_gltf_importer():
    if hasattr(bpy.types, "IMPORT_SCENE_OT_gltf"):
        return
    addon_utils.enable(GLTF_ADDON, default_set=False)
    if not hasattr(bpy.types, "IMPORT_SCENE_OT_gltf"):
        raise GltfImportFailed(f"Blender's glTF 2.0 importer ({GLTF_ADDON}) cannot be enabled")


def import_glb(path):
    """Imports path into the current scene; the new objects."""
    _ensure_gltf_importer()
    _give_numpy_its_bool_alias()
    before = set(bpy.data.objects)
    try:
        # The converter writes the normals it wants kept; its images are
        # inside the .glb, which is deleted afterwards, so they are packed.
        result = bpy.ops.import_scene.gltf(filepath=path, import_shading='NORMALS', merge_vertices=False,
                                           import_pack_images=True)
    except RuntimeError as error:
        raise GltfImportFailed(str(error)) from error
    if 'FINISHED' not in result:
        raise GltfImportFailed("Blender's glTF importer did not read the converted file")
    return [obj for obj in bpy.data.objects if obj not in before]
