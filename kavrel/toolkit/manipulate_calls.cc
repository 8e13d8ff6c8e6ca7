// Kv_Manipulate_IndexedPolygons: welding, smoothing and merging of a
// defined object's mesh through the mesh operations. The call checks its
// list at once and hands the work on (mesh_queue.h).
#include <cstdarg>
#include <string>
#include <vector>

#include "host/kv_toolkit.h"
#include "kavrel/mesh/mesh_ops.h"
#include "kavrel/toolkit/call_recorder.h"
#include "kavrel/toolkit/mesh_queue.h"
#include "kavrel/toolkit/mesh_work_memo.h"
#include "kavrel/toolkit/weld_ahead.h"

namespace kavrel {
namespace {

// One operation of the list, in list order.
struct MeshStep {
  enum Kind { kCombine, kSmooth } kind;
  MeshStream stream;                           // kCombine
  float value;                                 // threshold or angle
};

// "merge" comes as two attributes, the mode and the angle; the merge runs
// once both are known, at the end of the list.
struct MergeRequest {
  bool requested = false;
  bool quads_only = false;
  float angle = 0.0f;
};

struct MeshWork {
  std::vector<MeshStep> steps;
  MergeRequest merge;
};

// Meshes of fewer corners have their work handed on. Larger ones are
// rare and their welds run on several threads already; handed on, the
// temporaries of their work would be left in the queue thread's own heap
// (the C library keeps one per thread), up to 16 MB more at the peak.
constexpr size_t kQueuedCorners = 1 << 16;

bool CombineStreamOf(Attr id, MeshStream *stream) {
  switch (id) {
    case Attr::kCombineVertex: *stream = MeshStream::kPosition; return true;
    case Attr::kCombineNormal: *stream = MeshStream::kNormal; return true;
    case Attr::kCombineTexture: *stream = MeshStream::kTexcoord; return true;
    case Attr::kCombineColor: *stream = MeshStream::kColor; return true;
    default: return false;
  }
}

// The work of the list; an attribute with a negative threshold or angle is
// left out (and the call fails), the others stay.
MeshWork PlanWork(CallRecorder &call) {
  MeshWork work;
  for (const Attribute &a : call.attributes()) {
    if (a.rule->value == ValueKind::kFloats && !(a.number() >= 0.0f)) {
      call.fail("a threshold or angle must not be negative");
      continue;
    }
    MeshStream stream = MeshStream::kPosition;
    if (CombineStreamOf(a.id(), &stream)) {
      work.steps.push_back({MeshStep::kCombine, stream, a.number()});
    } else if (a.id() == Attr::kSmoothAngle) {
      work.steps.push_back({MeshStep::kSmooth, stream, a.number()});
    } else if (a.id() == Attr::kMergeQuads) {
      work.merge.requested = true;
      work.merge.quads_only = a.on();
    } else if (a.id() == Attr::kMergeAngle) {
      work.merge.requested = true;
      work.merge.angle = a.number();
    }
  }
  return work;
}

void DoWork(Mesh &mesh, const MeshWork &work, WeldAhead &welds) {
  for (const MeshStep &step : work.steps) {
    if (step.kind == MeshStep::kCombine) {
      welds.Combine(mesh, step.stream, step.value);
      continue;
    }
    welds.Forget();  // smoothing changes the streams
    CalcSmoothNormals(mesh, step.value);
  }
  if (work.merge.requested) {
    welds.Forget();
    MergeCoplanarPolygons(mesh, work.merge.quads_only, work.merge.angle);
  }
}

// The work's steps and parameters as bytes: what the memo tells works by.
std::string Signature(const MeshWork &work) {
  std::string bytes;
  auto add = [&bytes](const auto &value) { bytes.append(reinterpret_cast<const char *>(&value), sizeof value); };
  for (const MeshStep &step : work.steps) {
    add(step.kind);
    add(step.stream);
    add(step.value);
  }
  add(work.merge.requested);
  add(work.merge.quads_only);
  add(work.merge.angle);
  return bytes;
}

// The work, or its result for an identical mesh (mesh_work_memo.h). Welds
// worked out ahead are dropped then, as the work itself may drop them.
void DoRememberedWork(Mesh &mesh, const MeshWork &work, WeldAhead &welds, MeshWorkMemo &memo) {
  if (memo.Run(mesh, Signature(work), [&](Mesh &worked) { DoWork(worked, work, welds); })) welds.Forget();
}

int Manipulate(Host &host, const char *name, intptr_t reserved, ListReader &list) {
  CallRecorder call(host, "Kv_Manipulate_IndexedPolygons", CallEffect::kManipulatesMeshes);
  if (!call.text(name, "object name")) return call.finish();
  call.integers({static_cast<int64_t>(reserved)});
  call.list(Family::kManipulate, list);
  Scene &scene = host.scene();
  Object *object = FindNamed(call, scene.objects, name, "object");
  if (!object) return call.finish();
  MeshWork work = PlanWork(call);
  if (call.failed()) work.merge.requested = false;
  Mesh &mesh = object->mesh;
  WeldAhead &welds = host.welds_ahead();
  MeshWorkMemo &memo = host.mesh_work_memo();
  // The object being defined may still get polygons and its box, and a
  // large mesh's welds use the second core by themselves: their work is
  // done before the call returns.
  const int32_t defined = scene.object_being_defined;
  if ((defined != kNone && &scene.objects.items[defined] == object) || object->corners_at_end >= kQueuedCorners) {
    host.SettleMeshes();
    DoRememberedWork(mesh, work, welds, memo);
  } else {
    host.mesh_queue().Post(
        [&mesh, &welds, &memo, work = std::move(work)] { DoRememberedWork(mesh, work, welds, memo); });
  }
  return call.finish();
}

}  // namespace
}  // namespace kavrel

extern "C" int Kv_Manipulate_IndexedPolygons(const char *object, intptr_t reserved, ...) {
  KAVREL_LIST_AFTER(reserved, list);
  return kavrel::Manipulate(kavrel::CurrentHost(), object, reserved, list);
}
