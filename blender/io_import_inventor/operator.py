"""The import operator: File > Import > Open Inventor / VRML 1.0."""

import os

import bpy
from bpy.props import CollectionProperty, StringProperty
from bpy_extras.io_utils import ImportHelper

from . import import_options, import_run, preferences, stored_options

MENU_TEXT = "Open Inventor / VRML 1.0 (.iv, .wrl, .iv.gz)"


class IMPORT_SCENE_OT_inventor(bpy.types.Operator, ImportHelper):
    """Import Open Inventor 2.x and VRML 1.0 files through kavrel-convert"""
    bl_idname = "import_scene.inventor"
    bl_label = "Import Open Inventor / VRML 1.0"
    bl_options = {'REGISTER', 'UNDO'}

    filename_ext = ".iv"
    filter_glob: StringProperty(default="*.iv;*.wrl;*.iv.gz;*.wrl.gz;*.wrz", options={'HIDDEN'})
    files: CollectionProperty(type=bpy.types.OperatorFileListElement, options={'HIDDEN', 'SKIP_SAVE'})
    directory: StringProperty(subtype='DIR_PATH', options={'HIDDEN', 'SKIP_SAVE'})

    def invoke(self, context, event):
        self.take_stored_options(context)
        return ImportHelper.invoke(self, context, event)

    def execute(self, context):
        self.take_stored_options(context)
        paths = self.chosen_paths()
        missing = [path for path in paths if not os.path.isfile(path)]
        if not paths or missing:
            self.report({'ERROR'}, f"No such file: {missing[0] if missing else self.filepath}")
            return {'CANCELLED'}
        values = {name: getattr(self, name) for name in import_options.PROPERTY_NAMES}
        imported = import_run.import_files(context, paths, values, preferences.settings(context), self.report)
        return {'FINISHED'} if imported else {'CANCELLED'}

    def draw(self, context):
        # The options panels of options_panel.py draw the options.
        pass

    def take_stored_options(self, context):
        """Options the caller did not set take the values the plug-in's
        options dialog stored, so the import starts from what it saved."""
        support = import_run.support_directory(preferences.settings(context))
        stored = import_options.stored_values(stored_options.read_stored_options(support))
        for name, value in stored.items():
            if not self.properties.is_property_set(name):
                setattr(self, name, value)

    def chosen_paths(self):
        """The picked files; the file path alone when none was picked by name."""
        directory = bpy.path.abspath(self.directory)
        names = [item.name for item in self.files if item.name]
        if names and directory:
            return [os.path.join(directory, name) for name in names]
        return [bpy.path.abspath(self.filepath)] if self.filepath else []


def menu_entry(self, context):
    self.layout.operator(IMPORT_SCENE_OT_inventor.bl_idname, text=MENU_TEXT)


IMPORT_SCENE_OT_inventor.__annotations__.update(import_options.operator_properties())
