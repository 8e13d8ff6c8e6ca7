// Surface sharing: the equality rules of two materials and the run's index
// over surface_list.
//
// The index answers what a walk of surface_list from its head would answer
// (the newest equal record) without the walk. It follows the list rather
// than being told about it: records pushed on the head since the last look
// are indexed on the next look, and a list that was emptied or replaced
// (a new run, a new state) is indexed afresh. So it stays right even when
// the end-of-run clean-up does not call ClearSurfaceIndex.
#include "materials/surface_sharing.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "materials/material_capture.h"
#include "materials/materials.h"
#include "materials/surface_definition.h"
#include "materials/texture_reference.h"
#include "state/state.h"

namespace {

bool SameTexture(const MaterialSnapshot &a, const MaterialSnapshot &b) {
  if (!(a.texture_file == b.texture_file)) return false;
  return a.texture_file.getLength() > 0 || a.image == b.image;
}

bool SameWrap(const MaterialSnapshot &a, const MaterialSnapshot &b) {
  if (!HasTexture(a) && !HasTexture(b)) return true;
  return a.wrap_s == b.wrap_s && a.wrap_t == b.wrap_t;
}

// A snapshot holding a NaN equals nothing, itself included: never indexed.
bool HasNaN(const MaterialSnapshot &s) {
  const SbColor *colors[] = {&s.ambient, &s.diffuse, &s.specular, &s.emissive};
  for (const SbColor *c : colors) {
    if (std::isnan((*c)[0]) || std::isnan((*c)[1]) || std::isnan((*c)[2])) return true;
  }
  return std::isnan(s.shininess) || std::isnan(s.transparency);
}

void Mix(size_t &seed, size_t value) { seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2); }

// Equal floats hash alike: -0 and +0 compare equal, so both hash as +0.
void MixFloat(size_t &seed, float f) {
  if (f == 0.0f) f = 0.0f;
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  Mix(seed, bits);
}

void MixColor(size_t &seed, const SbColor &c) {
  MixFloat(seed, c[0]);
  MixFloat(seed, c[1]);
  MixFloat(seed, c[2]);
}

// Hashes exactly the fields that SurfacesEqual compares.
struct SnapshotHash {
  size_t operator()(const MaterialSnapshot *s) const {
    size_t seed = 0;
    MixColor(seed, s->diffuse);
    MixColor(seed, s->ambient);
    MixColor(seed, s->specular);
    MixColor(seed, s->emissive);
    MixFloat(seed, s->shininess);
    MixFloat(seed, s->transparency);
    Mix(seed, s->texture_file.hash());
    if (s->texture_file.getLength() == 0) Mix(seed, reinterpret_cast<uintptr_t>(s->image));
    if (HasTexture(*s)) {
      Mix(seed, static_cast<size_t>(s->wrap_s));
      Mix(seed, static_cast<size_t>(s->wrap_t));
    }
    return seed;
  }
};

struct SnapshotEqual {
  bool operator()(const MaterialSnapshot *a, const MaterialSnapshot *b) const { return SurfacesEqual(*a, *b); }
};

struct SurfaceIndex {
  const InventorState *owner = nullptr;        // state whose surface_list is indexed
  const MaterialSnapshot *head = nullptr;      // newest record indexed
  // Key: a listed record with the material; value: the newest equal record.
  std::unordered_map<const MaterialSnapshot *, MaterialSnapshot *, SnapshotHash, SnapshotEqual> newest;
  std::vector<MaterialSnapshot *> pending;     // scratch: records not yet indexed, newest first
};

SurfaceIndex &Index() {
  static SurfaceIndex index;
  return index;
}

void Forget(SurfaceIndex &index) {
  index.newest.clear();
  index.head = nullptr;
  index.owner = plugin.state;
}

// Brings the index up to date with surface_list.
void Follow(SurfaceIndex &index) {
  MaterialSnapshot *head = plugin.state ? plugin.state->surface_list : nullptr;
  if (index.owner != plugin.state || head == nullptr) Forget(index);
  if (head == index.head) return;
  index.pending.clear();
  MaterialSnapshot *record = head;
  for (; record != nullptr && record != index.head; record = record->next) index.pending.push_back(record);
  // The known head is no longer on the list: the list was rebuilt, and
  // pending now holds all of it.
  if (record == nullptr && index.head != nullptr) Forget(index);
  for (auto it = index.pending.rbegin(); it != index.pending.rend(); ++it) {
    if (!HasNaN(**it)) index.newest[*it] = *it;  // older first, so the newest wins
  }
  index.head = head;
}

}  // namespace

bool SurfacesEqual(const MaterialSnapshot &a, const MaterialSnapshot &b) {
  return a.diffuse == b.diffuse && a.ambient == b.ambient && a.specular == b.specular &&
         a.emissive == b.emissive && a.shininess == b.shininess && a.transparency == b.transparency &&
         SameTexture(a, b) && SameWrap(a, b);
}

MaterialSnapshot *FindSharedSurface(const MaterialSnapshot &snapshot) {
  SurfaceIndex &index = Index();
  Follow(index);
  if (HasNaN(snapshot)) return nullptr;
  auto found = index.newest.find(&snapshot);
  return found == index.newest.end() ? nullptr : found->second;
}

void ClearSurfaceIndex() {
  SurfaceIndex &index = Index();
  decltype(index.newest)().swap(index.newest);
  std::vector<MaterialSnapshot *>().swap(index.pending);
  index.head = nullptr;
  index.owner = nullptr;
}

const SbString &FindOrDefineSurface(MaterialSnapshot &snapshot, SoState *traversal) {
  if (const MaterialSnapshot *shared = FindSharedSurface(snapshot)) return shared->name;
  snapshot.name = DefineSurface(snapshot);
  DefineTexture(snapshot, traversal);
  return snapshot.name;
}
