// Scene building: objects, instances, the hierarchy and transformations.
#include <algorithm>
#include <cstdarg>

#include "host/kv_toolkit.h"
#include "kavrel/mesh/mesh_ops.h"
#include "kavrel/toolkit/call_recorder.h"
#include "kavrel/toolkit/instance_tree.h"
#include "kavrel/toolkit/output_drivers.h"

namespace kavrel {
namespace {

// The kind argument of the instance calls must say "instance".
bool InstanceKind(CallRecorder &call, Kv_Token kind) {
  Attr id;
  if (!call.kind(kind, &id)) return false;
  if (id == Attr::kKindInstance) return true;
  call.fail("this call takes the kind \"instance\"");
  return false;
}

// A name no live instance has yet; false with the problem recorded.
bool NewInstanceName(CallRecorder &call, const char *name) {
  if (call.host().scene().instances.find(name) == nullptr) return true;
  call.fail("an instance named \"" + std::string(name) + "\" exists already");
  return false;
}

int DefineObject(Host &host, const char *name, ListReader &list) {
  CallRecorder call(host, "Kv_Object_Define", CallEffect::kLeavesMeshes);
  if (!call.text(name, "object name") || !call.list(Family::kNoAttributes, list)) return call.finish();
  Scene &db = host.scene();
  if (db.objects.find(name)) {
    call.fail("an object named \"" + std::string(name) + "\" exists already");
    return call.finish();
  }
  db.objects.get_or_add(name).defined = false;
  db.object_being_defined = db.objects.find_index(name);
  return call.finish();
}

int EndObject(Host &host, ListReader &list) {
  CallRecorder call(host, "Kv_Object_End", CallEffect::kLeavesMeshes);
  if (!call.list(Family::kNoAttributes, list)) return call.finish();
  Scene &db = host.scene();
  if (db.object_being_defined == kNone) {
    call.fail("no object is being defined");
    return call.finish();
  }
  Object &object = db.objects.items[db.object_being_defined];
  // A mesh that came through Import_IO_Output_Indexedpolygons brought its box.
  if (!object.bounded && !object.mesh.positions.empty()) {
    MeshBounds(object.mesh, &object.bbox_min, &object.bbox_max);
  }
  object.defined = true;
  object.corners_at_end = object.mesh.corner_count();
  db.object_being_defined = kNone;
  return call.finish();
}

int ChangeInstance(Host &host, const char *name, ListReader &list) {
  CallRecorder call(host, "Kv_Instance", CallEffect::kLeavesMeshes);
  if (!call.text(name, "instance name")) return call.finish();
  call.list(Family::kInstance, list);
  int32_t index = FindInstance(call, name);
  if (index == kNone) return call.finish();
  Instance &instance = host.scene().instances.items[index];
  for (const Attribute &attribute : call.attributes()) {
    if (attribute.id() == Attr::kHidden) instance.hidden = attribute.on();
    if (attribute.id() == Attr::kCullBackFaces) instance.cull_back_faces = attribute.on();
  }
  return call.finish();
}

int AddObjectInstance(Host &host, Kv_Token kind, const char *name, ListReader &list) {
  CallRecorder call(host, "Kv_Add_Instance", CallEffect::kLeavesMeshes);
  if (!InstanceKind(call, kind) || !call.text(name, "instance name")) return call.finish();
  if (!call.list(Family::kAddInstance, list) || !NewInstanceName(call, name)) return call.finish();
  int32_t object = kNone;
  for (const Attribute &attribute : call.attributes()) {
    object = host.scene().objects.find_index(attribute.text);
    if (object == kNone) call.fail("no object named \"" + attribute.text + "\"");
  }
  if (call.failed()) return call.finish();
  int32_t index = AddInstance(host.scene(), name);
  host.scene().instances.items[index].object = object;
  return call.finish();
}

int AddEmptyNode(Host &host, Kv_Token kind, const char *name, ListReader &list) {
  CallRecorder call(host, "Kv_Add_Empty_Node", CallEffect::kLeavesMeshes);
  if (!InstanceKind(call, kind) || !call.text(name, "instance name")) return call.finish();
  if (!call.list(Family::kNoAttributes, list) || !NewInstanceName(call, name)) return call.finish();
  AddInstance(host.scene(), name);
  return call.finish();
}

int Attach(Host &host, Kv_Token kind, const char *child, ListReader &list) {
  CallRecorder call(host, "Kv_Attach", CallEffect::kLeavesMeshes);
  if (!InstanceKind(call, kind) || !call.text(child, "child name")) return call.finish();
  if (!call.list(Family::kAttach, list)) return call.finish();
  int32_t child_index = FindInstance(call, child);
  if (call.attributes().empty()) call.fail("no parent instance given");
  for (const Attribute &attribute : call.attributes()) {
    int32_t parent = FindInstance(call, attribute.text);
    if (call.failed()) break;
    if (child_index == kWorld || !AttachInstance(host.scene(), child_index, parent)) {
      call.fail("\"" + std::string(child) + "\" cannot go below \"" + attribute.text + "\"");
    }
  }
  return call.finish();
}

int Transform(Host &host, Kv_Token kind, const char *name, ListReader &list) {
  CallRecorder call(host, "Kv_Transform", CallEffect::kLeavesMeshes);
  if (!InstanceKind(call, kind) || !call.text(name, "instance name")) return call.finish();
  call.list(Family::kTransform, list);
  int32_t index = FindInstance(call, name);
  if (index == kNone) return call.finish();
  Matrix &matrix = host.scene().instances.items[index].matrix;
  for (const Attribute &attribute : call.attributes()) {
    Matrix given;
    std::copy(attribute.floats.begin(), attribute.floats.end(), given.begin());
    // Row vectors: premultiplying applies the given matrix before the
    // instance's own, p' = p x (X x M).
    if (attribute.id() == Attr::kPremultiply) matrix = MultiplyMatrix(given, matrix);
    if (attribute.id() == Attr::kPostmultiply) matrix = MultiplyMatrix(matrix, given);
    if (attribute.id() == Attr::kSetMatrix) matrix = given;
  }
  return call.finish();
}

// Removes the named entity of the kind; false when there is none.
bool RemoveEntity(Host &host, Attr kind, const std::string &name) {
  Scene &db = host.scene();
  auto erase = [&name](auto &table) {
    if (!table.find(name)) return false;
    table.erase(name);
    return true;
  };
  switch (kind) {
    case Attr::kKindInstance: {
      int32_t index = db.instances.find_index(name);
      if (index == kNone || index == kWorld) return false;
      RemoveInstanceTree(db, index);
      return true;
    }
    case Attr::kKindObject: return erase(db.objects);
    case Attr::kKindSurface: return erase(db.surfaces);
    case Attr::kKindTexture: return erase(db.textures);
    case Attr::kKindLight: return erase(db.lights);
    case Attr::kKindCamera: return erase(db.cameras);
    case Attr::kKindOutputDriver: return RemoveOutputDriver(host, name);
    default: return false;
  }
}

int Remove(Host &host, Kv_Token kind, const char *name, ListReader &list) {
  CallRecorder call(host, "Kv_Remove");
  Attr id;
  if (!call.kind(kind, &id) || !call.text(name, "name") || !call.list(Family::kNoAttributes, list)) {
    return call.finish();
  }
  if (!RemoveEntity(host, id, name)) {
    call.fail("nothing of that kind named \"" + std::string(name) + "\" can be removed");
  }
  return call.finish();
}

}  // namespace
}  // namespace kavrel

extern "C" int Kv_Object_Define(const char *object, ...) {
  KAVREL_LIST_AFTER(object, list);
  return kavrel::DefineObject(kavrel::CurrentHost(), object, list);
}

extern "C" int Kv_Object_End(intptr_t first, ...) {
  KAVREL_LIST_FROM(first, list);
  return kavrel::EndObject(kavrel::CurrentHost(), list);
}

extern "C" int Kv_Instance(const char *instance, ...) {
  KAVREL_LIST_AFTER(instance, list);
  return kavrel::ChangeInstance(kavrel::CurrentHost(), instance, list);
}

extern "C" int Kv_Add_Instance(Kv_Token kind, const char *instance, ...) {
  KAVREL_LIST_AFTER(instance, list);
  return kavrel::AddObjectInstance(kavrel::CurrentHost(), kind, instance, list);
}

extern "C" int Kv_Add_Empty_Node(Kv_Token kind, const char *instance, ...) {
  KAVREL_LIST_AFTER(instance, list);
  return kavrel::AddEmptyNode(kavrel::CurrentHost(), kind, instance, list);
}

extern "C" int Kv_Attach(Kv_Token kind, const char *child, ...) {
  KAVREL_LIST_AFTER(child, list);
  return kavrel::Attach(kavrel::CurrentHost(), kind, child, list);
}

extern "C" int Kv_Transform(Kv_Token kind, const char *instance, ...) {
  KAVREL_LIST_AFTER(instance, list);
  return kavrel::Transform(kavrel::CurrentHost(), kind, instance, list);
}

extern "C" int Kv_Remove(Kv_Token kind, const char *name, ...) {
  KAVREL_LIST_AFTER(name, list);
  return kavrel::Remove(kavrel::CurrentHost(), kind, name, list);
}
