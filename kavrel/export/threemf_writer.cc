#include "kavrel/export/threemf_writer.h"

#include <sys/types.h>

#include <cstdio>
#include <map>
#include <utility>

#include "kavrel/export/staged_files.h"
#include "kavrel/export/texture_copies.h"
#include "kavrel/export/threemf_stages.h"

namespace kavrel {
namespace {

// The scene's Y up turned to 3MF's Z up: p x kZUp = (x, -z, y).
const Matrix kZUp = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1};

double LinearDeterminant(const Matrix &m) {
  const double a = m[0], b = m[1], c = m[2], d = m[4], e = m[5], f = m[6], g = m[8], h = m[9], i = m[10];
  return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

// lib3mf's transform holds column vectors (p' = F p, the translation in the
// last column); ours are row vectors.
NMR::MODELTRANSFORM ThreeMfTransform(const Matrix &m) {
  NMR::MODELTRANSFORM out;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) out.m_fFields[row][column] = m[column * 4 + row];
    out.m_fFields[row][3] = m[12 + row];
  }
  return out;
}

// text as XML can hold it. lib3mf writes names byte for byte, and a name
// may come in any 8-bit encoding or hold control characters, which make
// the document not well-formed (slicers then refuse the whole file); each
// byte that is not part of a UTF-8 character XML allows becomes U+FFFD.
std::string XmlText(const std::string &text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    bool valid = length > 0 && i + length <= text.size() && (length > 1 || lead >= 0x20) && lead != 0x7F;
    for (size_t k = 1; valid && k < length; ++k) valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
    // Overlong three- and four-byte forms, and UTF-16 surrogates.
    if (valid && length > 2) {
      const unsigned char second = static_cast<unsigned char>(text[i + 1]);
      valid = !(lead == 0xE0 && second < 0xA0) && !(lead == 0xED && second >= 0xA0) &&
              !(lead == 0xF0 && second < 0x90) && !(lead == 0xF4 && second >= 0x90);
    }
    out.append(valid ? text.substr(i, length) : "\xEF\xBF\xBD");
    i += valid ? length : 1;
  }
  return out;
}

// The writer's output through lib3mf's callbacks, which report success as 0.
uint32_t WriteBlock(const uint8_t *data, uint32_t bytes, void *file) {
  return std::fwrite(data, 1, bytes, static_cast<FILE *>(file)) == bytes ? 0 : 1;
}

uint32_t SeekTo(uint64_t position, void *file) {
  return fseeko(static_cast<FILE *>(file), static_cast<off_t>(position), SEEK_SET) == 0 ? 0 : 1;
}

class ThreeMfDocument {
 public:
  explicit ThreeMfDocument(const ExportModel &model) : model_(model), uuids_(model) {}

  // The materials, then every placement's object (made or shared) and build item.
  void Build();
  void Write(FILE *file);
  const ExportSummary &summary() const { return summary_; }

 private:
  // A mesh object in the mesh's own coordinates, placed by transforms.
  struct Shared {
    ThreeMfHandle object;
    size_t triangles = 0;
  };

  void AddMaterials();
  void Place(const ModelPlacement &placement);
  size_t NewObject(const ThreeMfMeshSource &source, const std::string &name, ThreeMfHandle *object);
  void AddItem(NMR::PLib3MFBase *object, const ModelPlacement &placement, NMR::MODELTRANSFORM *transform);

  const ExportModel &model_;
  ThreeMfUuids uuids_;
  ThreeMfHandle document_;
  DWORD materials_id_ = 0;
  std::map<std::pair<int32_t, int32_t>, Shared> shared_;  // by model mesh and instance material
  ExportSummary summary_;
};

void ThreeMfDocument::Build() {
  CheckThreeMf(NMR::lib3mf_createmodel(document_.Out()), nullptr, "cannot make a 3MF model");
  CheckThreeMf(NMR::lib3mf_model_setunit(document_.get(), NMR::MODELUNIT_MILLIMETER), document_.get(),
               "cannot set the unit");
  AddMaterials();
  // Line segments and points have no place in 3MF: a mesh of them alone
  // gives no object (an object without triangles is not valid).
  for (const ModelPlacement &placement : model_.placements) {
    if (placement.mesh != kNone && !model_.meshes[placement.mesh].flat.groups.empty()) Place(placement);
  }
  CheckThreeMf(NMR::lib3mf_model_setbuilduuidutf8(document_.get(), uuids_.Next().c_str()), document_.get(),
               "cannot identify the build");
}

void ThreeMfDocument::AddMaterials() {
  ThreeMfHandle group;
  CheckThreeMf(NMR::lib3mf_model_addbasematerialgroup(document_.get(), group.Out()), document_.get(),
               "cannot add the materials");
  CheckThreeMf(NMR::lib3mf_basematerial_getresourceid(group.get(), &materials_id_), group.get(),
               "cannot add the materials");
  for (const ModelMaterial &material : model_.materials) {
    const NMR::MODELMESHCOLOR_SRGB color = MaterialColor(material);
    DWORD index = 0;
    CheckThreeMf(NMR::lib3mf_basematerial_addmaterialutf8(group.get(), XmlText(material.distinct_name).c_str(),
                                                          color.m_Red, color.m_Green, color.m_Blue, &index),
                 group.get(), "cannot add a material");
    CheckThreeMf(NMR::lib3mf_basematerial_setdisplaycolorrgba(group.get(), index, color.m_Red, color.m_Green,
                                                              color.m_Blue, color.m_Alpha),
                 group.get(), "cannot add a material");
  }
  summary_.materials = model_.materials.size();
}

void ThreeMfDocument::Place(const ModelPlacement &placement) {
  const Matrix matrix = MultiplyMatrix(placement.world, kZUp);
  const FlatMesh &flat = model_.meshes[placement.mesh].flat;
  if (LinearDeterminant(matrix) > 0) {
    Shared &shared = shared_[{placement.mesh, placement.instance_material}];
    if (shared.object.get() == nullptr) {
      shared.triangles =
          NewObject({&flat, &placement, nullptr, false}, model_.meshes[placement.mesh].name, &shared.object);
    }
    NMR::MODELTRANSFORM transform = ThreeMfTransform(matrix);
    AddItem(shared.object.get(), placement, &transform);
    summary_.triangles += shared.triangles;
    return;
  }
  // Mirrored or collapsed: its own copy in world space, with a build item
  // that leaves it where it is.
  ThreeMfHandle object;
  summary_.triangles += NewObject({&flat, &placement, &matrix, placement.mirrors}, placement.name, &object);
  AddItem(object.get(), placement, nullptr);
}

size_t ThreeMfDocument::NewObject(const ThreeMfMeshSource &source, const std::string &name, ThreeMfHandle *object) {
  CheckThreeMf(NMR::lib3mf_model_addmeshobject(document_.get(), object->Out()), document_.get(),
               "cannot add a mesh object");
  CheckThreeMf(NMR::lib3mf_object_setnameutf8(object->get(), XmlText(name).c_str()), object->get(),
               "cannot name a mesh object");
  CheckThreeMf(NMR::lib3mf_object_setuuidutf8(object->get(), uuids_.Next().c_str()), object->get(),
               "cannot identify a mesh object");
  ++summary_.meshes;
  return FillMeshObject(object->get(), model_, source, materials_id_);
}

void ThreeMfDocument::AddItem(NMR::PLib3MFBase *object, const ModelPlacement &placement,
                              NMR::MODELTRANSFORM *transform) {
  ThreeMfHandle item;
  CheckThreeMf(NMR::lib3mf_model_addbuilditem(document_.get(), object, transform, item.Out()), document_.get(),
               "cannot add a build item");
  CheckThreeMf(NMR::lib3mf_builditem_setpartnumberutf8(item.get(), XmlText(placement.name).c_str()), item.get(),
               "cannot name a build item");
  CheckThreeMf(NMR::lib3mf_builditem_setuuidutf8(item.get(), uuids_.Next().c_str()), item.get(),
               "cannot identify a build item");
  ++summary_.nodes;
}

void ThreeMfDocument::Write(FILE *file) {
  ThreeMfHandle writer;
  CheckThreeMf(NMR::lib3mf_model_querywriter(document_.get(), "3mf", writer.Out()), document_.get(),
               "cannot make the 3MF writer");
  CheckThreeMf(NMR::lib3mf_writer_writetocallback(writer.get(), reinterpret_cast<void *>(&WriteBlock),
                                                  reinterpret_cast<void *>(&SeekTo), file),
               writer.get(), "cannot write the archive");
}

}  // namespace

bool ExportThreeMf(const Host &host, const ExportModel &model, const std::string &path, std::string *error,
                   ExportSummary *summary) {
  StagedFiles files(host);
  FILE *file = files.Open(path);
  if (file != nullptr) {
    try {
      ThreeMfDocument document(model);
      document.Build();
      document.Write(file);
      *summary = document.summary();
    } catch (const std::exception &e) {  // lib3mf's refusals, or out of memory
      files.Fail("cannot write '" + path + "': " + e.what());
    }
    files.Close(file, path);
  }
  return CommitWithTextureCopies(files, TextureCopies{}, path, error, summary);
}

}  // namespace kavrel
