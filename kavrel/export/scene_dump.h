// The JSON dump of the scene database (DumpSceneJson in kavrel/host.h),
// with what it lists for the command's summary line.
#ifndef KAVREL_EXPORT_SCENE_DUMP_H
#define KAVREL_EXPORT_SCENE_DUMP_H

#include <string>

#include "kavrel/host.h"

namespace kavrel {

// The dump's text; *summary counts its instances (as nodes), objects (as
// meshes) with their polygons' fan triangles, surfaces (as materials),
// textures, lights and cameras.
std::string DumpScene(const Scene &scene, ExportSummary *summary);

}  // namespace kavrel

#endif
