"""The import's options in the file browser's side bar, grouped as the
plug-in's options dialog groups them."""

import bpy

OPERATOR_ID = "IMPORT_SCENE_OT_inventor"


class _OptionsPanel:
    bl_space_type = 'FILE_BROWSER'
    bl_region_type = 'TOOL_PROPS'
    bl_parent_id = "FILE_PT_operator"

    @classmethod
    def poll(cls, context):
        return context.space_data.active_operator.bl_idname == OPERATOR_ID

    def draw(self, context):
        layout = self.layout
        layout.use_property_split = True
        layout.use_property_decorate = False
        self.draw_options(layout, context.space_data.active_operator)


def _prop_when(layout, operator, name, enabled, **text):
    row = layout.row()
    row.active = enabled
    row.prop(operator, name, **text)


def _switch_with_value(layout, operator, heading, switch, value):
    """A check box and the value it switches on, on one row, as Blender's
    own Auto Smooth and its angle."""
    row = layout.row(heading=heading)
    row.prop(operator, switch, text="")
    _prop_when(row, operator, value, getattr(operator, switch), text="")


class INVENTOR_PT_import_include(_OptionsPanel, bpy.types.Panel):
    bl_label = "Include"

    def draw_options(self, layout, operator):
        column = layout.column(heading="Import")
        column.prop(operator, "import_lights")
        column.prop(operator, "import_cameras")
        column.prop(operator, "import_materials")
        layout.prop(operator, "quick_naming")
        layout.prop(operator, "lod_source")
        _prop_when(layout, operator, "nth_lod", operator.lod_source == 'NTH')


class INVENTOR_PT_import_geometry(_OptionsPanel, bpy.types.Panel):
    bl_label = "Welding & Merging"

    def draw_options(self, layout, operator):
        layout.label(text="Weld, with threshold:")
        for stream, heading in (("vertices", "Vertices"), ("normals", "Normals"), ("texcoords", "UVs"),
                                ("vertex_colors", "Vertex Colors")):
            _switch_with_value(layout, operator, heading, f"weld_{stream}", f"weld_{stream}_threshold")
        layout.prop(operator, "merge_polygons")
        _prop_when(layout, operator, "merge_coplanar_angle", operator.merge_polygons)
        _prop_when(layout, operator, "merge_quads_only", operator.merge_polygons)


class INVENTOR_PT_import_normals(_OptionsPanel, bpy.types.Panel):
    bl_label = "Normals"

    def draw_options(self, layout, operator):
        layout.prop(operator, "override_smoothing")
        _prop_when(layout, operator, "smoothing_angle", operator.override_smoothing)


class INVENTOR_PT_import_textures(_OptionsPanel, bpy.types.Panel):
    bl_label = "Extracted Textures"

    def draw_options(self, layout, operator):
        layout.prop(operator, "texture_location", text="Write")
        _prop_when(layout, operator, "texture_directory", operator.texture_location == 'DIRECTORY')
        _prop_when(layout, operator, "overwrite_textures", operator.texture_location != 'TEMPORARY')


PANELS = (INVENTOR_PT_import_include, INVENTOR_PT_import_geometry, INVENTOR_PT_import_normals,
          INVENTOR_PT_import_textures)
