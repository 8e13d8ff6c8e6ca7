// bench_mesh_weld OUTPUT.glb [TRIANGLES]: builds a grid of TRIANGLES
// (default 1,000,000) stored as three separate corners each, the way the
// importer hands shapes over, welds positions, normals and texture
// coordinates with threshold 0.0001 and exports the scene to OUTPUT.glb.
// Prints the time of each phase; run.sh adds wall time and peak memory.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <string>

#include "kavrel/cli/process_memory.h"
#include "kavrel/host.h"
#include "kavrel/mesh/mesh_ops.h"
#include "kavrel/toolkit/instance_tree.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time of this process: on a busy machine the honest measure of
// the work done, next to the wall time.
double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Height field over a grid of columns x rows quads, two triangles each;
// every corner copy is nudged by up to 0.00002 so that welding has to
// search neighbouring cells, as it does for values Coin3D computed twice.
kavrel::Mesh SeparateGrid(int columns, int rows) {
  kavrel::Mesh mesh;
  const size_t corners = static_cast<size_t>(columns) * rows * 6;
  mesh.positions.reserve(corners);
  mesh.normals.reserve(corners);
  mesh.texcoords.reserve(corners);
  mesh.face_sizes.assign(corners / 3, 3);
  auto height = [](int x, int y) { return 0.2f * std::sin(x * 0.05f) * std::cos(y * 0.07f); };
  unsigned nudge = 1;
  auto corner = [&](int x, int y) {
    nudge = nudge * 1103515245u + 12345u;
    const float jitter = (static_cast<float>((nudge >> 16) & 0xff) / 255.0f - 0.5f) * 0.00004f;
    const float h0 = height(x, y), hx = height(x + 1, y) - h0, hy = height(x, y + 1) - h0;
    const float length = std::sqrt(hx * hx + hy * hy + 1e-4f);
    mesh.positions.push_back({x * 0.01f + jitter, y * 0.01f, h0});
    mesh.normals.push_back({-hx / length, -hy / length, 0.01f / length});
    mesh.texcoords.push_back({static_cast<float>(x) / columns, static_cast<float>(y) / rows, 0});
  };
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x) {
      for (auto [cx, cy] : {std::pair{x, y}, {x + 1, y}, {x + 1, y + 1}}) corner(cx, cy);
      for (auto [cx, cy] : {std::pair{x, y}, {x + 1, y + 1}, {x, y + 1}}) corner(cx, cy);
    }
  std::vector<int32_t> identity(corners);
  for (size_t c = 0; c < corners; ++c) identity[c] = static_cast<int32_t>(c);
  mesh.position_index = identity;
  mesh.normal_index = identity;
  mesh.texcoord_index = std::move(identity);
  return mesh;
}

}  // namespace

int main(int argc, char **argv) {
  kavrel::TuneProcessMemory();  // as kavrel-convert runs
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.glb [TRIANGLES]\n", argv[0]);
    return 2;
  }
  const long triangles = argc > 2 ? std::atol(argv[2]) : 1000000;
  const int rows = 500, columns = static_cast<int>(std::max(1L, triangles / (2 * rows)));

  Clock::time_point start = Clock::now();
  kavrel::Host host;
  kavrel::Scene &scene = host.scene();
  kavrel::Object &object = scene.objects.get_or_add("grid");
  object.mesh = SeparateGrid(columns, rows);
  object.defined = true;
  const int32_t instance = kavrel::AddInstance(scene, "grid");
  scene.instances.items[instance].object = scene.objects.find_index("grid");
  const double build_s = SecondsSince(start);

  start = Clock::now();
  double cpu = CpuSeconds();
  const float threshold = 0.0001f;
  for (kavrel::MeshStream stream : {kavrel::MeshStream::kPosition, kavrel::MeshStream::kNormal,
                                    kavrel::MeshStream::kTexcoord}) {
    const double stream_cpu = CpuSeconds();
    kavrel::CombineStream(object.mesh, stream, threshold);
    std::printf("weld of stream %d: cpu %.3f s\n", static_cast<int>(stream), CpuSeconds() - stream_cpu);
  }
  kavrel::MeshBounds(object.mesh, &object.bbox_min, &object.bbox_max);
  const double weld_s = SecondsSince(start), weld_cpu = CpuSeconds() - cpu;

  start = Clock::now();
  cpu = CpuSeconds();
  std::string error;
  if (!kavrel::ExportScene(host, argv[1], kavrel::ExportFormat::kGlb, &error)) {
    std::fprintf(stderr, "export failed: %s\n", error.c_str());
    return 1;
  }
  const double export_s = SecondsSince(start), export_cpu = CpuSeconds() - cpu;

  std::printf("after welding: triangles %zu, positions %zu, normals %zu, texcoords %zu\n",
              object.mesh.face_sizes.size(), object.mesh.positions.size(), object.mesh.normals.size(),
              object.mesh.texcoords.size());
  std::printf("build %.3f s, weld %.3f s (cpu %.3f), export %.3f s (cpu %.3f)\n", build_s, weld_s, weld_cpu,
              export_s, export_cpu);
  std::printf("weld+export: wall %.3f s, cpu %.3f s\n", weld_s + export_s, weld_cpu + export_cpu);
  return 0;
}
