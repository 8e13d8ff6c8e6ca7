#include "geometry/mesh_post_processing.h"

#include "host/import_io.h"
#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "state/state.h"

namespace {

struct WeldStep {
  int16_t ImportOptions::*enabled;
  int32_t ShapeAccumulator::*stream_count;  // null: the positions, always present
  const char *message;
  const char *stream;  // "combine" keyword of the stream
  float ImportOptions::*threshold;
};

const WeldStep kWeldSteps[] = {
    {&ImportOptions::forceWeldVertices, nullptr, "Welding vertices together.", "vertex",
     &ImportOptions::WeldVerticesThreshold},
    {&ImportOptions::forceWeldNormals, &ShapeAccumulator::normal_count, "Welding normals together.", "normal",
     &ImportOptions::WeldNormalsThreshold},
    {&ImportOptions::forceWeldTexCoords, &ShapeAccumulator::texcoord_count, "Welding texture coordinates together.",
     "texture", &ImportOptions::WeldTexCoordsThreshold},
    {&ImportOptions::forceWeldVertexColors, &ShapeAccumulator::vertex_color_count, "Welding vertex colors together.",
     "color", &ImportOptions::WeldVertexColorsThreshold},
};

bool StepApplies(const WeldStep &step, ImportOptions &options, const ShapeAccumulator &shape) {
  return options.*step.enabled && (!step.stream_count || shape.*step.stream_count);
}

void Weld(const char *object, const WeldStep &step, ImportOptions &options) {
  Import_IO_Display_Info_Text(step.message);
  kv::kv_list(Kv_Manipulate_IndexedPolygons, object, intptr_t{0}, kv::tok("combine"), kv::tok(step.stream),
              &(options.*step.threshold));
}

void Smooth(const char *object, ImportOptions &options) {
  Import_IO_Display_Info_Text("Calculating smooth normals using user-supplied smoothing angle.");
  kv::kv_list(Kv_Manipulate_IndexedPolygons, object, intptr_t{0}, kv::tok("calcnormals"), kv::tok("angle"),
              &options.smoothing_angle);
}

void Merge(const char *object, ImportOptions &options) {
  kv::kv_list(Kv_Manipulate_IndexedPolygons, object, intptr_t{0}, kv::tok("merge"), kv::tok("quads"),
              kv::tok("enabled"), kv::on_off(options.MergePolygonsQuadsOnly != 0), kv::tok("angle"),
              &options.MergePolygonsCoplanarAngle);
}

}  // namespace

void PostProcessMesh(const char *object) {
  ImportOptions &options = plugin.state->options;
  for (const WeldStep &step : kWeldSteps) {
    if (StepApplies(step, options, plugin.state->shape)) Weld(object, step, options);
  }
  // Segments and points have no surface to smooth or merge.
  const ShapeAccumulator &shape = plugin.state->shape;
  if (shape.corners < 3 || shape.outline != ShapeOutline::kNone) return;
  if (options.calc_smoothed_normals == 1) Smooth(object, options);
  if (options.EnaMergePolygons) Merge(object, options);
}
