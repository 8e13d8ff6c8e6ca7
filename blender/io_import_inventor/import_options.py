"""The plug-in options that the import offers, one row each: the operator
property, the preference key, whether the plug-in takes the key as a
run-time token, and the plug-in's default for when no preferences file
exists (plugin/import_options.cc applies them from options/option_table.cc).

The plug-in takes only some keys per run; welding, merging and smoothing it
reads from its preferences file alone, so those travel in the file that
one import runs with (see run_settings)."""

import math
import re

from bpy.props import BoolProperty, EnumProperty, FloatProperty, IntProperty, StringProperty

# Properties start from the stored options at every invocation, never from
# what the previous import used.
_OPTIONS = {'SKIP_SAVE'}

_INT32_MAX = 2**31 - 1
_INTEGER = re.compile(r"\s*[+-]?\d+")
_FLOAT = re.compile(r"\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?")


def _leading(pattern, convert, text, fallback):
    """The number that text starts with, as strtol and strtod read it; fallback without one."""
    match = pattern.match(text)
    try:
        return convert(match.group(0)) if match else fallback
    except (OverflowError, ValueError):
        return fallback


class _Option:
    """One row: the property's name, the preference key, whether the key is a
    run-time token, the plug-in's default as stored, and the property's text."""

    def __init__(self, name, key, token, default, label, description):
        self.name, self.key, self.token, self.default = name, key, token, default
        self.label, self.description = label, description


class Flag(_Option):
    """A 16-bit flag; inverted when the property means its opposite."""

    def __init__(self, *row, inverted=False):
        super().__init__(*row)
        self.inverted = inverted

    def property_default(self):
        return bool(self.default) != self.inverted

    def make_property(self):
        return BoolProperty(name=self.label, description=self.description, default=self.property_default(),
                            options=_OPTIONS)

    def from_text(self, text):
        return (_leading(_INTEGER, int, text, self.default) != 0) != self.inverted

    def to_text(self, value):
        return "1" if bool(value) != self.inverted else "0"


class Number(_Option):
    """A float option, written as the plug-in writes it (%g, "." decimal point)."""

    def __init__(self, *row, minimum, maximum, precision):
        super().__init__(*row)
        self.minimum, self.maximum, self.precision = minimum, maximum, precision

    def property_default(self):
        return self.default

    def make_property(self):
        return FloatProperty(name=self.label, description=self.description, default=self.property_default(),
                             min=self.minimum, max=self.maximum, precision=self.precision, options=_OPTIONS)

    def from_text(self, text):
        return min(max(_leading(_FLOAT, float, text, self.default), self.minimum), self.maximum)

    def to_text(self, value):
        return "%g" % value


class Angle(Number):
    """An angle the plug-in keeps in degrees; the property holds radians, as
    every angle in Blender does, and shows degrees."""

    def __init__(self, *row, maximum):
        super().__init__(*row, minimum=0.0, maximum=maximum, precision=2)

    def property_default(self):
        return math.radians(self.default)

    def make_property(self):
        return FloatProperty(name=self.label, description=self.description, default=self.property_default(),
                             min=0.0, max=math.radians(self.maximum), subtype='ANGLE', options=_OPTIONS)

    def from_text(self, text):
        return math.radians(super().from_text(text))

    def to_text(self, value):
        return super().to_text(math.degrees(value))


class Count(_Option):
    """A whole number from 1 (the LOD level)."""

    def property_default(self):
        return self.default

    def make_property(self):
        return IntProperty(name=self.label, description=self.description, default=self.default,
                           min=1, max=_INT32_MAX, options=_OPTIONS)

    def from_text(self, text):
        return max(1, min(_leading(_INTEGER, int, text, self.default), _INT32_MAX))

    def to_text(self, value):
        return str(value)


class Choice(_Option):
    """An option stored as the index of one of its items."""

    def __init__(self, *row, items):
        super().__init__(*row)
        self.items = items

    def property_default(self):
        return self.items[self.default][0]

    def make_property(self):
        return EnumProperty(name=self.label, description=self.description, items=self.items,
                            default=self.property_default(), options=_OPTIONS)

    def from_text(self, text):
        index = _leading(_INTEGER, int, text, self.default)
        return self.items[index if 0 <= index < len(self.items) else self.default][0]

    def to_text(self, value):
        return str([item[0] for item in self.items].index(value))


def _weld(stream, key_stem, what):
    return (
        Flag(f"weld_{stream}", f"forceWeld{key_stem}", False, 1, f"Weld {what.title()}",
             f"Join the {what} of each mesh that lie within the threshold of each other"),
        Number(f"weld_{stream}_threshold", f"Weld{key_stem}Threshold", False, 0.0001, "Threshold",
               f"Largest distance between {what} that are joined", minimum=0.000001, maximum=1.0e6,
               precision=6),
    )


OPTIONS = (
    Flag("import_lights", "import_lights", True, 1, "Lights", "Import the file's lights"),
    Flag("import_cameras", "import_cameras", True, 1, "Cameras", "Import the file's cameras"),
    Flag("import_materials", "import_materials", True, 1, "Materials",
         "Import the file's materials; without, every shape gets one default material"),
    *_weld("vertices", "Vertices", "vertices"),
    *_weld("normals", "Normals", "normals"),
    *_weld("texcoords", "TexCoords", "texture coordinates"),
    *_weld("vertex_colors", "VertexColors", "vertex colors"),
    Flag("merge_polygons", "EnaMergePolygons", False, 0, "Merge Polygons",
         "Merge triangles and coplanar polygons into larger polygons"),
    Flag("merge_quads_only", "MergePolygonsQuadsOnly", False, 1, "Quads Only",
         "When merging, make only quadrilaterals"),
    Angle("merge_coplanar_angle", "MergePolygonsCoplanarAngle", False, 0.1, "Coplanar Angle",
          "Largest angle between polygons that still count as coplanar", maximum=180.0),
    Flag("override_smoothing", "calc_smoothed_normals", False, 0, "Override Smoothing",
         "Replace the file's normals with normals smoothed up to the smoothing angle"),
    Angle("smoothing_angle", "smoothing_angle", False, 45.0, "Angle",
          "Largest angle between faces that are shaded smoothly across their edge", maximum=180.0),
    Flag("quick_naming", "quick_naming", True, 0, "Quick Naming",
         "Make object names unique with the plug-in's fast dictionary instead of the converter's naming"),
    Choice("lod_source", "lod_source", True, 0, "Level of Detail",
           "Which child of each level-of-detail node is imported",
           items=(("FIRST", "First", "The first, most detailed child"),
                  ("LAST", "Last", "The last, least detailed child"),
                  ("NTH", "Level", "The child numbered by Level"))),
    Count("nth_lod", "nthlod", True, 1, "Level", "The level-of-detail child to import, counted from 1"),
    Flag("overwrite_textures", "textures_confirm_overwrite", True, 1, "Overwrite Existing Files",
         "Replace texture files of the same name in the chosen folder; otherwise they are kept "
         "and the texture is not used", inverted=True),
)

TEXTURE_LOCATIONS = (
    ("TEMPORARY", "Packed Only", "Extracted into a temporary folder and packed into the .blend file"),
    ("BESIDE_INPUT", "Beside the File", "Also written beside the imported file"),
    ("DIRECTORY", "Folder", "Also written into the folder below"),
)


PROPERTY_NAMES = tuple(option.name for option in OPTIONS) + ("texture_location", "texture_directory")


def operator_properties():
    """The annotations that give the import operator its options."""
    properties = {option.name: option.make_property() for option in OPTIONS}
    properties["texture_location"] = EnumProperty(
        name="Extracted Textures", description="Where the images embedded in the file are written",
        items=TEXTURE_LOCATIONS, default="TEMPORARY", options=_OPTIONS)
    properties["texture_directory"] = StringProperty(
        name="Texture Folder", description="The folder that extracted textures are written into",
        subtype='DIR_PATH', options=_OPTIONS)
    return properties


def stored_values(stored):
    """Property values from the stored options; a key not stored gives the default."""
    values = {option.name: option.from_text(stored[option.key]) if option.key in stored
              else option.property_default() for option in OPTIONS}
    directory = stored.get("txtr_save_dir", "")
    directory = "" if directory == '""' else directory
    if _leading(_INTEGER, int, stored.get("txtr_save_dir_same", "0"), 0) == 1:
        values["texture_location"] = "BESIDE_INPUT"
    else:
        values["texture_location"] = "DIRECTORY" if directory else "TEMPORARY"
    values["texture_directory"] = directory
    return values


def run_settings(values, temporary_texture_directory):
    """The run-time tokens and the file-only preferences of one import.

    Returns (tokens, preferences): tokens as (key, text) pairs for -O, in
    table order; preferences as {key: text} for the run's preferences file."""
    tokens, preferences = [], {}
    for option in OPTIONS:
        text = option.to_text(values[option.name])
        if option.token:
            tokens.append((option.key, text))
        else:
            preferences[option.key] = text
    if values["texture_location"] == "BESIDE_INPUT":
        tokens.append(("txtr_save_dir_same", "1"))
    else:
        directory = values["texture_directory"]
        if values["texture_location"] == "TEMPORARY":
            directory = temporary_texture_directory
        tokens += [("txtr_save_dir_same", "0"), ("txtr_save_dir", directory)]
    return tokens, preferences
