"""Imports Open Inventor 2.x and VRML 1.0 files into Blender: kavrel-convert
converts each file into a temporary glTF 2.0 binary, which Blender's own
glTF importer reads."""

bl_info = {
    "name": "Open Inventor / VRML 1.0",
    "author": "kavrel developers",
    "version": (0, 1, 0),
    "blender": (3, 4, 0),
    "location": "File > Import > Open Inventor / VRML 1.0 (.iv, .wrl, .iv.gz)",
    "description": "Imports Open Inventor 2.x and VRML 1.0 files through kavrel-convert",
    "category": "Import-Export",
}

import bpy

from . import operator, options_panel, preferences

CLASSES = (preferences.InventorImportPreferences, operator.IMPORT_SCENE_OT_inventor, *options_panel.PANELS)


def register():
    for cls in CLASSES:
        bpy.utils.register_class(cls)
    bpy.types.TOPBAR_MT_file_import.append(operator.menu_entry)


def unregister():
    bpy.types.TOPBAR_MT_file_import.remove(operator.menu_entry)
    for cls in reversed(CLASSES):
        bpy.utils.unregister_class(cls)
