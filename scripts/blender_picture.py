"""Run by scripts/render_blender_picture.sh inside Blender: installs the
add-on from its zip into the (temporary) profile, imports a corpus model
with it and renders the scene with Workbench into the picture.

  blender -b --factory-startup -P blender_picture.py -- ZIP KAVREL_CONVERT MODEL PICTURE"""

import math
import sys

import bpy
from mathutils import Vector

zip_path, converter, model, picture = sys.argv[sys.argv.index("--") + 1:]

bpy.ops.preferences.addon_install(filepath=zip_path)
bpy.ops.preferences.addon_enable(module="io_import_inventor")
bpy.context.preferences.addons["io_import_inventor"].preferences.converter_path = converter

for obj in list(bpy.data.objects):
    bpy.data.objects.remove(obj)
bpy.ops.import_scene.inventor(filepath=model)
scene = bpy.context.scene

# Frame every mesh: a camera from the front right, a little above, at the
# distance where the bounding sphere fills the narrower field of view.
corners = [obj.matrix_world @ Vector(corner) for obj in scene.objects if obj.type == 'MESH'
           for corner in obj.bound_box]
low = Vector(map(min, *corners))
high = Vector(map(max, *corners))
center, radius = (low + high) / 2, (high - low).length / 2
camera = bpy.data.objects.new("Picture camera", bpy.data.cameras.new("Picture camera"))
scene.collection.objects.link(camera)
scene.camera = camera
direction = Vector((math.cos(math.radians(-60)), math.sin(math.radians(-60)), 0.45)).normalized()
field = camera.data.angle * 400 / 640
camera.location = center + direction * radius / math.sin(field / 2) * 0.8
camera.rotation_euler = (center - camera.location).to_track_quat('-Z', 'Y').to_euler()
camera.data.clip_end = radius * 10

scene.render.engine = 'BLENDER_WORKBENCH'
scene.render.resolution_x, scene.render.resolution_y, scene.render.resolution_percentage = 640, 400, 100
scene.display.shading.light = 'STUDIO'
scene.display.shading.color_type = 'MATERIAL'
scene.display.shading.show_cavity = True
scene.display.shading.show_shadows = True
scene.display_settings.display_device = 'sRGB'
scene.view_settings.view_transform = 'Standard'
scene.world = scene.world or bpy.data.worlds.new("World")
scene.world.color = (0.82, 0.85, 0.9)
scene.render.image_settings.file_format = 'PNG'
scene.render.image_settings.color_mode = 'RGB'
scene.render.image_settings.compression = 100
scene.render.dither_intensity = 0  # no noise over the flat background, which keeps the file small
scene.render.filepath = picture
bpy.ops.render.render(write_still=True)
