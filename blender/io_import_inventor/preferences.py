"""The add-on's preferences: which kavrel-convert to run and where the
plug-in's stored options are."""

import bpy
from bpy.props import StringProperty

from . import converter, stored_options


class InventorImportPreferences(bpy.types.AddonPreferences):
    bl_idname = __package__

    converter_path: StringProperty(
        name="kavrel-convert",
        description="The converter to run; empty: kavrel-convert found on PATH",
        subtype='FILE_PATH')
    support_directory: StringProperty(
        name="Stored Options",
        description="The folder of the plug-in's stored options (vorlix.ini), which give the import's "
                    "defaults; empty: kavrel-convert's own default",
        subtype='DIR_PATH')

    def draw(self, context):
        layout = self.layout
        layout.prop(self, "converter_path")
        try:
            found = converter.find_converter(bpy.path.abspath(self.converter_path))
            layout.label(text=f"Converts with {found}", icon='CHECKMARK')
        except converter.ConverterMissing as missing:
            layout.label(text=str(missing).split(";")[0], icon='ERROR')
        layout.prop(self, "support_directory")
        if not self.support_directory:
            layout.label(text=f"Stored options from {stored_options.default_support_directory()}")


def settings(context):
    """The add-on's preferences."""
    return context.preferences.addons[__package__].preferences
