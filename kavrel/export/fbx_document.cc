// The top level of an FBX file, in the order the reference writers use:
// header extension, file id, creation time, creator, global settings,
// documents, references, definitions, objects, connections, takes.
//
// The file carries no time of its own: the creation time is the fixed one,
// with the file id that belongs to it, that the reference writers use when
// they are asked for reproducible files, so the same scene gives the same
// bytes. The global settings say: Y up, -Z to the front, X to the right
// (right-handed, as glTF and the host), and a unit of 1 m
// (UnitScaleFactor 100, in FBX's centimetres): Blender then imports at the
// size its glTF importer gives, and readers that honour the unit (game
// engines) size the model as its glTF.
#include "kavrel/export/fbx_properties.h"
#include "kavrel/export/fbx_stages.h"

namespace kavrel {
namespace {

constexpr unsigned char kFileId[16] = {0x28, 0xb3, 0x2a, 0xeb, 0xb6, 0x24, 0xcc, 0xc2,
                                       0xbf, 0xc8, 0xb0, 0x2a, 0xa9, 0x2b, 0xfc, 0xf1};
constexpr char kCreationTime[] = "1970-01-01 10:00:00:000";
constexpr char kCreator[] = "kavrel-convert";
constexpr double kCentimetresPerUnit = 100;
constexpr int64_t kDocumentId = 1;             // below kFbxFirstId, above the root's 0

void HeaderExtension(FbxBinary &out) {
  out.Begin("FBXHeaderExtension");
  out.IntRecord("FBXHeaderVersion", 1003);
  out.IntRecord("FBXVersion", static_cast<int32_t>(kFbxVersion));
  out.IntRecord("EncryptionType", 0);
  out.Begin("CreationTimeStamp");
  const std::pair<const char *, int32_t> stamp[] = {{"Version", 1000}, {"Year", 1970}, {"Month", 1}, {"Day", 1},
                                                    {"Hour", 10},      {"Minute", 0},  {"Second", 0},
                                                    {"Millisecond", 0}};
  for (const auto &[field, value] : stamp) out.IntRecord(field, value);
  out.End();
  out.StringRecord("Creator", kCreator);
  out.Begin("SceneInfo");
  out.String(FbxName("GlobalInfo", "SceneInfo"));
  out.String("UserData");
  out.StringRecord("Type", "UserData");
  out.IntRecord("Version", 100);
  out.Begin("MetaData");
  out.IntRecord("Version", 100);
  for (const char *field : {"Title", "Subject", "Author", "Keywords", "Revision", "Comment"}) out.StringRecord(field, "");
  out.End();
  out.End();
  out.End();
  out.Begin("FileId");
  out.Raw(kFileId, sizeof kFileId);
  out.End();
  out.StringRecord("CreationTime", kCreationTime);
  out.StringRecord("Creator", kCreator);
}

void GlobalSettings(const FbxPlan &plan, FbxBinary &out) {
  out.Begin("GlobalSettings");
  out.IntRecord("Version", 1000);
  {
    FbxProperties properties(out);
    const std::pair<const char *, int32_t> axes[] = {{"UpAxis", 1},    {"UpAxisSign", 1}, {"FrontAxis", 2},
                                                   {"FrontAxisSign", 1}, {"CoordAxis", 0},  {"CoordAxisSign", 1},
                                                   {"OriginalUpAxis", 1}, {"OriginalUpAxisSign", 1}};
    for (const auto &[axis, value] : axes) properties.Int(axis, value);
    properties.Double("UnitScaleFactor", kCentimetresPerUnit);
    properties.Double("OriginalUnitScaleFactor", kCentimetresPerUnit);
    properties.Color("AmbientColor", plan.ambient);
    properties.String("DefaultCamera", "Producer Perspective");
    properties.Enum("TimeMode", 11);  // 24 frames per second; there is no animation
    properties.Time("TimeSpanStart", 0);
    properties.Time("TimeSpanStop", 0);
    properties.Double("CustomFrameRate", 24);
  }
  out.End();
}

void Documents(FbxBinary &out) {
  out.Begin("Documents");
  out.IntRecord("Count", 1);
  out.Begin("Document");
  out.Int64(kDocumentId);
  out.String("Scene");
  out.String("Scene");
  {
    FbxProperties properties(out);
    properties.String("ActiveAnimStackName", "");
  }
  out.Begin("RootNode");
  out.Int64(0);
  out.End();
  out.End();
  out.End();
  out.Begin("References");
  out.End();
}

// The object types with their counts.
void Definitions(const FbxPlan &plan, FbxBinary &out) {
  const size_t attributes = plan.lights + plan.cameras;
  size_t videos = plan.copies.copies.size(), textures = 0;
  for (int64_t id : plan.texture_ids) textures += id != 0;
  const std::pair<const char *, size_t> types[] = {
      {"GlobalSettings", 1},         {"Model", plan.models.size()},    {"Geometry", plan.geometries.size()},
      {"Material", plan.materials.size()}, {"Texture", textures}, {"Video", videos},
      {"NodeAttribute", attributes}};
  size_t total = 0;
  for (const auto &type : types) total += type.second;
  out.Begin("Definitions");
  out.IntRecord("Version", 100);
  out.IntRecord("Count", static_cast<int32_t>(total));
  for (const auto &[type, count] : types) {
    if (count == 0) continue;
    out.Begin("ObjectType");
    out.String(type);
    out.IntRecord("Count", static_cast<int32_t>(count));
    out.End();
  }
  out.End();
}

void Objects(const ExportModel &model, const FbxPlan &plan, FbxBinary &out) {
  out.Begin("Objects");
  for (const FbxModel &fbx_model : plan.models) {
    if (fbx_model.kind == FbxModelKind::kLight) WriteFbxLight(model.lights[fbx_model.source], fbx_model, out);
    if (fbx_model.kind == FbxModelKind::kCamera) WriteFbxCamera(model.cameras[fbx_model.source], fbx_model, out);
  }
  for (const FbxGeometry &geometry : plan.geometries) WriteFbxGeometry(model, geometry, out);
  for (const FbxModel &fbx_model : plan.models) WriteFbxModel(fbx_model, out);
  WriteFbxMaterials(model, plan, out);
  out.End();
}

void Connections(const FbxPlan &plan, FbxBinary &out) {
  out.Begin("Connections");
  for (const FbxConnection &connection : plan.connections) {
    out.Begin("C");
    out.String(connection.property == nullptr ? "OO" : "OP");
    out.Int64(connection.child);
    out.Int64(connection.parent);
    if (connection.property != nullptr) out.String(connection.property);
    out.End();
  }
  out.End();
  out.Begin("Takes");
  out.StringRecord("Current", "");
  out.End();
}

}  // namespace

void WriteFbxDocument(const ExportModel &model, const FbxPlan &plan, FbxBinary &out) {
  HeaderExtension(out);
  GlobalSettings(plan, out);
  Documents(out);
  Definitions(plan, out);
  Objects(model, plan, out);
  Connections(plan, out);
  out.Finish();
}

}  // namespace kavrel
