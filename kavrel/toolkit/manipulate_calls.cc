// Kv_Manipulate_IndexedPolygons: welding, smoothing and merging of a
// defined object's mesh through the mesh operations.
#include <cstdarg>

#include "host/kv_toolkit.h"
#include "kavrel/mesh/mesh_ops.h"
#include "kavrel/toolkit/call_recorder.h"
#include "kavrel/toolkit/weld_ahead.h"

namespace kavrel {
namespace {

// "merge" comes as two attributes, the mode and the angle; the merge runs
// once both are known, at the end of the list.
struct MergeRequest {
  bool requested = false;
  bool quads_only = false;
  float angle = 0.0f;
};

bool CombineStreamOf(Attr id, MeshStream *stream) {
  switch (id) {
    case Attr::kCombineVertex: *stream = MeshStream::kPosition; return true;
    case Attr::kCombineNormal: *stream = MeshStream::kNormal; return true;
    case Attr::kCombineTexture: *stream = MeshStream::kTexcoord; return true;
    case Attr::kCombineColor: *stream = MeshStream::kColor; return true;
    default: return false;
  }
}

void ApplyMeshAttribute(CallRecorder &call, Mesh &mesh, const Attribute &a, MergeRequest &merge) {
  WeldAhead &welds = call.host().welds_ahead();
  if (a.rule->value == ValueKind::kFloats && !(a.number() >= 0.0f)) {
    call.fail("a threshold or angle must not be negative");
    return;
  }
  MeshStream stream;
  if (CombineStreamOf(a.id(), &stream)) {
    welds.Combine(mesh, stream, a.number());
    return;
  }
  welds.Forget();  // the other operations change the streams
  if (a.id() == Attr::kSmoothAngle) {
    CalcSmoothNormals(mesh, a.number());
  } else if (a.id() == Attr::kMergeQuads) {
    merge.requested = true;
    merge.quads_only = a.on();
  } else if (a.id() == Attr::kMergeAngle) {
    merge.requested = true;
    merge.angle = a.number();
  }
}

int Manipulate(Host &host, const char *name, intptr_t reserved, ListReader &list) {
  CallRecorder call(host, "Kv_Manipulate_IndexedPolygons", CallEffect::kManipulatesMeshes);
  if (!call.text(name, "object name")) return call.finish();
  call.integers({static_cast<int64_t>(reserved)});
  call.list(Family::kManipulate, list);
  Object *object = FindNamed(call, host.scene().objects, name, "object");
  if (!object) return call.finish();
  MergeRequest merge;
  for (const Attribute &attribute : call.attributes()) ApplyMeshAttribute(call, object->mesh, attribute, merge);
  if (merge.requested && !call.failed()) {
    host.welds_ahead().Forget();
    MergeCoplanarPolygons(object->mesh, merge.quads_only, merge.angle);
  }
  return call.finish();
}

}  // namespace
}  // namespace kavrel

extern "C" int Kv_Manipulate_IndexedPolygons(const char *object, intptr_t reserved, ...) {
  KAVREL_LIST_AFTER(reserved, list);
  return kavrel::Manipulate(kavrel::CurrentHost(), object, reserved, list);
}
