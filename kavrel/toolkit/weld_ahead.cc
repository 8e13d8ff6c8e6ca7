#include "kavrel/toolkit/weld_ahead.h"

#include <cstdint>
#include <new>

#include "kavrel/mesh/parallel_tasks.h"

namespace kavrel {
namespace {

// Below this many corners, welding stays on the caller's thread. A weld
// needs about 16 bytes per corner while it runs; for smaller meshes the
// welds are the run's peak of memory (for larger ones writing the output
// is), and the time saved is a few tens of milliseconds.
constexpr size_t kAheadCorners = 1000000;

constexpr MeshStream kOtherStreams[] = {MeshStream::kNormal, MeshStream::kTexcoord, MeshStream::kColor};

}  // namespace

void WeldAhead::Combine(Mesh &mesh, MeshStream stream, float threshold) {
  if (stream == MeshStream::kPosition) return CombinePositions(mesh, threshold);
  if (&mesh == mesh_) {
    for (auto it = ahead_.begin(); it != ahead_.end(); ++it) {
      if (it->stream != stream || it->threshold != threshold) continue;
      ApplyWeld(mesh, stream, it->weld);
      ahead_.erase(it);
      return;
    }
  }
  CombineStream(mesh, stream, threshold);
}

void WeldAhead::CombinePositions(Mesh &mesh, float threshold) {
  Forget();
  if (mesh.corner_count() < kAheadCorners) return CombineStream(mesh, MeshStream::kPosition, threshold);
  std::vector<Ahead> welds{{MeshStream::kPosition, threshold, {}}};
  for (MeshStream other : kOtherStreams) {
    if (HasStream(mesh, other)) welds.push_back({other, threshold, {}});
  }
  std::vector<uint8_t> failed(welds.size(), 0);  // bytes: the tasks set theirs at the same time
  RunTasks(welds.size(), [&](size_t k) {
    if (k == 0) {
      welds[0].weld = WeldValues(mesh, MeshStream::kPosition, threshold);
      return;
    }
    // A weld ahead that runs out of memory is simply not kept: its own
    // call does it again, and meets the failure there.
    try {
      welds[k].weld = WeldValues(mesh, welds[k].stream, threshold);
    } catch (const std::bad_alloc &) {
      failed[k] = 1;
    }
  });
  if (ApplyWeld(mesh, MeshStream::kPosition, welds[0].weld)) return;
  mesh_ = &mesh;
  for (size_t k = 1; k < welds.size(); ++k) {
    if (!failed[k]) ahead_.push_back(std::move(welds[k]));
  }
}

}  // namespace kavrel
