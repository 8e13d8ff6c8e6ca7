// Gathering the meshes below the root instance into few objects: one per
// distinct (surface, hidden, kind) triple, each with the transforms between
// its instances and the root baked into its points, placed by one new
// instance directly below the root. The kinds are faces and lines: objects
// of segments and points gather apart from those with faces, so that an
// object holds one or the other as the importer made them. The instances that were below the root go, and
// so do the objects that no instance uses any more.
#include <unordered_map>
#include <unordered_set>

#include "host/import_io.h"
#include "kavrel/import_io/import_support.h"
#include "kavrel/mesh/mesh_ops.h"
#include "kavrel/toolkit/call_recorder.h"
#include "kavrel/toolkit/instance_tree.h"

namespace kavrel {
namespace import_io {

namespace {

// Meshes that end up in one new object.
struct Gathering {
  std::string surface;                         // the linked surface all of them render with
  bool hidden = false;
  Mesh mesh;
};

// An instance met on the way down, with what it inherits.
struct Visit {
  int32_t instance;
  Matrix to_root;                              // its matrix relative to the root
  std::string surface;                         // its own linked surface, or the nearest ancestor's
  bool hidden;                                 // hidden itself or below a hidden instance
};

class Gatherer {
 public:
  explicit Gatherer(Scene &scene) : scene_(scene) {}

  void Collect(int32_t root) {
    std::vector<Visit> pending;
    PushChildren(root, IdentityMatrix(), std::string(), false, &pending);
    while (!pending.empty()) {
      Visit visit = std::move(pending.back());
      pending.pop_back();
      const Instance &instance = scene_.instances.items[visit.instance];
      if (instance.object != kNone) Add(visit, instance.object);
      PushChildren(visit.instance, visit.to_root, visit.surface, visit.hidden, &pending);
    }
  }

  std::vector<Gathering> &gatherings() { return gatherings_; }
  const std::unordered_set<int32_t> &objects_used() const { return objects_used_; }

 private:
  void PushChildren(int32_t parent, const Matrix &to_root, const std::string &surface, bool hidden,
                    std::vector<Visit> *pending) const {
    const auto &children = scene_.instances.items[parent].children;
    // Pushed backwards so that children come out in their attach order.
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      const Instance &child = scene_.instances.items[*it];
      if (child.removed) continue;
      pending->push_back(Visit{*it, MultiplyMatrix(child.matrix, to_root),
                               child.surface.empty() ? surface : child.surface, hidden || child.hidden});
    }
  }

  void Add(const Visit &visit, int32_t object) {
    objects_used_.insert(object);
    const Object &source = scene_.objects.items[object];
    const bool lines = !source.mesh.face_sizes.empty() && !HasFaces(source.mesh);
    const std::string key = visit.surface + (visit.hidden ? "\n1" : "\n0") + (lines ? "l" : "f");
    auto it = index_.emplace(key, gatherings_.size()).first;
    if (it->second == gatherings_.size()) gatherings_.push_back(Gathering{visit.surface, visit.hidden, Mesh{}});
    if (WellFormed(source)) AppendMesh(gatherings_[it->second].mesh, source.mesh, visit.to_root);
  }

  Scene &scene_;
  std::vector<Gathering> gatherings_;
  std::unordered_map<std::string, size_t> index_;
  std::unordered_set<int32_t> objects_used_;
};

// Forgets the objects of candidates that no live instance uses any more.
void RemoveUnusedObjects(Scene &scene, const std::unordered_set<int32_t> &candidates) {
  std::unordered_set<int32_t> still_used;
  for (const Instance &instance : scene.instances.items)
    if (!instance.removed && instance.object != kNone) still_used.insert(instance.object);
  for (int32_t object : candidates) {
    if (still_used.count(object)) continue;
    Object &item = scene.objects.items[object];
    scene.objects.erase(item.name);
    item.mesh = Mesh{};
  }
}

// A new object for the gathering and an instance below root placing it.
void PlaceGathering(Host &host, int32_t root, Gathering &gathering) {
  if (gathering.mesh.face_sizes.empty()) return;
  Scene &scene = host.scene();
  const std::string &root_name = scene.instances.items[root].name;
  const std::string base = gathering.surface.empty() ? root_name : gathering.surface;
  const std::string object_name = MakeUniqueName(host, "object", base);
  Object &object = scene.objects.get_or_add(object_name);
  object.mesh = std::move(gathering.mesh);
  object.checked = true;                       // appended from well-formed meshes only
  object.defined = true;
  MeshBounds(object.mesh, &object.bbox_min, &object.bbox_max);
  object.bounded = true;
  const int32_t object_index = scene.objects.find_index(object_name);
  const int32_t instance = AddInstance(scene, MakeUniqueName(host, "instance", base));
  AttachInstance(scene, instance, root);
  Instance &placed = scene.instances.items[instance];
  placed.object = object_index;
  placed.surface = gathering.surface;
  placed.hidden = gathering.hidden;
}

}  // namespace

}  // namespace import_io
}  // namespace kavrel

extern "C" int Import_IO_RecursivelyMoveChildrenOfRootInstanceToNewObjects(intptr_t a, const char *root,
                                                                           intptr_t b, intptr_t c, intptr_t d) {
  kavrel::Host &host = kavrel::CurrentHost();
  kavrel::CallRecorder call(host, "Import_IO_RecursivelyMoveChildrenOfRootInstanceToNewObjects");
  call.integers({a});
  if (!call.text(root, "root")) return call.finish();
  call.integers({b, c, d});
  kavrel::Scene &scene = host.scene();
  const int32_t root_index = scene.instances.find_index(root);
  if (root_index == kavrel::kNone) {
    call.fail(std::string("no instance named \"") + root + "\"");
    return call.finish();
  }
  kavrel::import_io::Gatherer gatherer(scene);
  gatherer.Collect(root_index);
  const std::vector<int32_t> old_children = scene.instances.items[root_index].children;
  for (int32_t child : old_children) kavrel::RemoveInstanceTree(scene, child);
  kavrel::import_io::RemoveUnusedObjects(scene, gatherer.objects_used());
  for (kavrel::import_io::Gathering &gathering : gatherer.gatherings())
    kavrel::import_io::PlaceGathering(host, root_index, gathering);
  return call.finish();
}
