"""One import: each chosen file converted into a temporary .glb and read
into the scene, the converter's messages turned into reports and its
progress shown on the window manager's progress indicator. The temporary
folder, with the .glb files, the run's preferences and any extracted
textures, is removed at the end."""

import os
import tempfile

import bpy

from . import converter, gltf_import, import_options, stored_options

# Progress units per file. The converter does not say how many shapes a
# file holds, so its share approaches CONVERSION_UNITS as shapes go by;
# reading the .glb takes the rest.
FILE_UNITS = 100
CONVERSION_UNITS = 90
SHAPES_FOR_HALF = 50


class Progress:
    """The window manager's progress indicator over all files of one import."""

    def __init__(self, window_manager, file_count):
        self.window_manager = window_manager
        self.base = 0
        self.shapes = 0
        window_manager.progress_begin(0, file_count * FILE_UNITS)

    def start_file(self, index):
        self.base = index * FILE_UNITS
        self.shapes = 0
        self.window_manager.progress_update(self.base)

    def converter_line(self, line):
        if converter.is_shape_progress(line):
            self.shapes += 1
            self.window_manager.progress_update(
                self.base + CONVERSION_UNITS * self.shapes / (self.shapes + SHAPES_FOR_HALF))

    def reading_glb(self):
        self.window_manager.progress_update(self.base + CONVERSION_UNITS)

    def end(self):
        self.window_manager.progress_end()


def support_directory(settings):
    """The folder whose stored options give the defaults."""
    configured = bpy.path.abspath(settings.support_directory) if settings.support_directory else ""
    return configured or stored_options.default_support_directory()


def import_files(context, paths, values, settings, report):
    """Imports every file of paths into the current scene; the objects made.

    values: the option values by operator property name; settings: the
    add-on preferences (converter_path, support_directory); report: a
    function of a report type set and a text, as Operator.report."""
    try:
        executable = converter.find_converter(bpy.path.abspath(settings.converter_path))
    except converter.ConverterMissing as missing:
        report({'ERROR'}, str(missing))
        return []
    values = dict(values, texture_directory=bpy.path.abspath(values["texture_directory"]))
    if not _texture_directory_ready(values, report):
        return []
    stored = stored_options.read_stored_options(support_directory(settings))
    imported = []
    with tempfile.TemporaryDirectory(prefix="kavrel-blender-", ignore_cleanup_errors=True) as work:
        textures = os.path.join(work, "textures")
        os.mkdir(textures)
        tokens, preferences = import_options.run_settings(values, textures + os.sep)
        # The plug-in reads welding, merging and smoothing from its
        # preferences file only: the run gets a file of its own, the stored
        # one with this import's choices.
        run_support = os.path.join(work, "support")
        stored_options.write_preferences(run_support, {**stored, **preferences})
        progress = Progress(context.window_manager, len(paths))
        try:
            for index, path in enumerate(paths):
                progress.start_file(index)
                glb = os.path.join(work, f"{index}.glb")
                imported += _import_file(path, glb, executable, run_support, tokens, progress, report)
        finally:
            progress.end()
    for obj in imported:
        obj.select_set(True)
    return imported


def _texture_directory_ready(values, report):
    if values["texture_location"] != "DIRECTORY":
        return True
    directory = values["texture_directory"]
    if not directory:
        report({'ERROR'}, "Choose the folder for extracted textures, or another place for them")
        return False
    try:
        os.makedirs(directory, exist_ok=True)
    except OSError as error:
        report({'ERROR'}, f"Cannot make the texture folder '{directory}': {error.strerror}")
        return False
    return True


def _import_file(path, glb, executable, run_support, tokens, progress, report):
    name = os.path.basename(path)
    try:
        conversion = converter.convert(executable, os.path.abspath(path), glb, run_support + os.sep, tokens,
                                       progress.converter_line)
    except OSError as error:
        report({'ERROR'}, f"{name}: cannot run {executable}: {error.strerror}")
        return []
    kind = {'WARNING'} if conversion.succeeded else {'ERROR'}
    for message in conversion.messages:
        report(kind, f"{name}: {message}")
    for line in conversion.statistics:
        report({'INFO'}, f"{name}: {line}")
    if not conversion.succeeded:
        report({'ERROR'}, f"{name}: not imported: {conversion.failure()}")
        return []
    progress.reading_glb()
    try:
        return gltf_import.import_glb(glb)
    except gltf_import.GltfImportFailed as failure:
        report({'ERROR'}, f"{name}: not imported: {failure}")
        return []
