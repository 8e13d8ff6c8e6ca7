// DumpSceneJson: every entity of the scene database with every attribute,
// in a stable order, for tests and inspection. Instances come in hierarchy
// order from "world", followed by those outside the hierarchy (detached or
// removed); the other tables in creation order; options sorted by key.
#include <map>

#include "kavrel/export/scene_dump.h"

#include "kavrel/export/json_value.h"
#include "kavrel/export/scene_walk.h"

namespace kavrel {
namespace {

std::string NameOr(const Scene &scene, int32_t instance) {
  return IsLive(scene.instances, instance) ? scene.instances.items[instance].name : "";
}

Json InstanceJson(const Scene &scene, const Instance &instance) {
  Json children = Json::array();
  for (int32_t child : instance.children) children.push_back(NameOr(scene, child));
  std::string object = IsLive(scene.objects, instance.object) ? scene.objects.items[instance.object].name : "";
  Json out = {{"name", instance.name},       {"parent", NameOr(scene, instance.parent)},
              {"object", object},            {"surface", instance.surface},
              {"hidden", instance.hidden},   {"removed", instance.removed},
              {"matrix", instance.matrix},   {"children", std::move(children)}};
  if (instance.cull_back_faces) out["cull_back_faces"] = true;
  return out;
}

Json InstancesJson(const Scene &scene) {
  Json out = Json::array();
  std::vector<bool> listed(scene.instances.items.size(), false);
  auto add = [&](int32_t i) {
    listed[i] = true;
    out.push_back(InstanceJson(scene, scene.instances.items[i]));
  };
  int32_t world = scene.instances.find_index("world");
  if (world != kNone) add(world);
  for (const HierarchyEntry &entry : WalkHierarchy(scene)) add(entry.instance);
  for (int32_t i = 0; i < static_cast<int32_t>(listed.size()); ++i) {
    if (!listed[i] && IsLive(scene.instances, i)) add(i);
  }
  return out;
}

Json ObjectJson(const Object &object) {
  const Mesh &m = object.mesh;
  Json counts = {{"positions", m.positions.size()}, {"normals", m.normals.size()},
                 {"texcoords", m.texcoords.size()}, {"colors", m.colors.size()},
                 {"polygons", m.face_sizes.size()}, {"corners", m.corner_count()}};
  return {{"name", object.name},
          {"defined", object.defined},
          {"bbox_min", object.bbox_min},
          {"bbox_max", object.bbox_max},
          {"clockwise", m.clockwise},
          {"counts", std::move(counts)},
          {"positions", m.positions},
          {"normals", m.normals},
          {"texcoords", m.texcoords},
          {"colors", m.colors},
          {"face_sizes", m.face_sizes},
          {"position_index", m.position_index},
          {"normal_index", m.normal_index},
          {"texcoord_index", m.texcoord_index},
          {"color_index", m.color_index},
          {"face_surface", m.face_surface},
          {"surface_names", m.surface_names}};
}

Json SurfaceJson(const Surface &s) {
  Json layers = Json::array();
  for (const TextureLayer &l : s.layers) {
    layers.push_back({{"layer", l.layer},       {"enabled", l.enabled},   {"texture", l.texture},
                      {"uscale", l.uscale},     {"vscale", l.vscale},     {"uoffset", l.uoffset},
                      {"voffset", l.voffset},   {"alpha_modulates_opacity", l.alpha_modulates_opacity}});
  }
  Json surface = {{"name", s.name},
          {"specular_enabled", s.specular_enabled},
          {"luminous_enabled", s.luminous_enabled},
          {"ambient_enabled", s.ambient_enabled},
          {"model", s.model},
          {"diffuse_color", s.diffuse_color},
          {"diffuse_coeff", s.diffuse_coeff},
          {"specular_color", s.specular_color},
          {"specular_coeff", s.specular_coeff},
          {"luminous_color", s.luminous_color},
          {"luminous_coeff", s.luminous_coeff},
          {"ambient_color", s.ambient_color},
          {"phong_shininess", s.phong_shininess},
          {"opacity", s.opacity},
          {"layers", std::move(layers)}};
  if (s.phong_exponent >= 0) surface["phong_exponent"] = s.phong_exponent;
  return surface;
}

Json TextureJson(const Texture &t) {
  return {{"name", t.name},     {"file_type", t.file_type},       {"path", t.path},
          {"enabled", t.enabled}, {"alpha_source", t.alpha_source}, {"alpha_invert", t.alpha_invert},
          {"wrap_u", t.wrap_u}, {"wrap_v", t.wrap_v},             {"filter", t.filter}};
}

Json LightJson(const Light &l) {
  return {{"name", l.name},           {"model", l.model},         {"color", l.color},
          {"enabled", l.enabled},     {"intensity", l.intensity}, {"shinedir", l.shinedir},
          {"shinefrom", l.shinefrom}, {"shineat", l.shineat},     {"decay", l.decay},
          {"distance", l.distance},   {"cutoff", l.cutoff},       {"delta", l.delta}};
}

Json CameraJson(const Camera &c) {
  return {{"name", c.name},         {"active", c.active},   {"form_mapping", c.form_mapping},
          {"focal_length", c.focal_length}, {"twist", c.twist}, {"window", c.window},
          {"lookfrom", c.lookfrom}, {"lookat", c.lookat},   {"lookup", c.lookup},
          {"projection", c.projection}};
}

Json DriverJson(const OutputDriver &d) {
  return {{"name", d.name}, {"kind", d.kind}, {"format", d.format}, {"filename", d.filename},
          {"mode", d.mode}, {"description", d.description}, {"enabled", d.enabled}};
}

// The live entries of a table in creation order.
template <typename T, typename Items, typename ToJson>
Json TableJson(const NamedTable<T, Items> &table, ToJson to_json) {
  Json out = Json::array();
  for (int32_t i = 0; i < static_cast<int32_t>(table.items.size()); ++i) {
    if (IsLive(table, i)) out.push_back(to_json(table.items[i]));
  }
  return out;
}

// The triangles that fanning the listed objects' faces gives, and their
// segments (polygons of two corners) and points (of one).
void CountPrimitives(const Scene &scene, ExportSummary *summary) {
  summary->triangles = summary->lines = summary->points = 0;
  for (int32_t i = 0; i < static_cast<int32_t>(scene.objects.items.size()); ++i) {
    if (!IsLive(scene.objects, i)) continue;
    for (int32_t size : scene.objects.items[i].mesh.face_sizes) {
      if (size >= 3) summary->triangles += size - 2;
      else if (size == 2) ++summary->lines;
      else if (size == 1) ++summary->points;
    }
  }
}

}  // namespace

std::string DumpSceneJson(const Scene &scene) {
  ExportSummary summary;
  return DumpScene(scene, &summary);
}

std::string DumpScene(const Scene &scene, ExportSummary *summary) {
  Json dump;
  dump["instances"] = InstancesJson(scene);
  dump["objects"] = TableJson(scene.objects, ObjectJson);
  dump["surfaces"] = TableJson(scene.surfaces, SurfaceJson);
  dump["textures"] = TableJson(scene.textures, TextureJson);
  dump["lights"] = TableJson(scene.lights, LightJson);
  dump["cameras"] = TableJson(scene.cameras, CameraJson);
  dump["drivers"] = TableJson(scene.drivers, DriverJson);
  dump["options"] = std::map<std::string, std::string>(scene.options.begin(), scene.options.end());
  summary->nodes = dump["instances"].size();
  summary->meshes = dump["objects"].size();
  CountPrimitives(scene, summary);
  summary->materials = dump["surfaces"].size();
  summary->textures = dump["textures"].size();
  summary->lights = dump["lights"].size();
  summary->cameras = dump["cameras"].size();
  return dump.dump(2, ' ', false, Json::error_handler_t::replace);
}

}  // namespace kavrel
