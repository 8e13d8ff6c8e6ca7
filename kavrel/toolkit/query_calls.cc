// Queries: answers written through the pointers the caller passes.
#include <cstdarg>
#include <cstring>

#include "host/kv_toolkit.h"
#include "kavrel/image/image_file.h"
#include "kavrel/toolkit/call_recorder.h"
#include "kavrel/toolkit/instance_tree.h"
#include "kavrel/toolkit/journal_items.h"
#include "kavrel/toolkit/tokens.h"

namespace kavrel {
namespace {

template <typename T>
void Answer(const Attribute &attribute, T value) {
  std::memcpy(attribute.out, &value, sizeof value);
}

Kv_Token OnOffToken(TokenTable &tokens, bool on) { return tokens.Intern(on ? "on" : "off"); }

int InquireInstance(Host &host, const char *name, ListReader &list) {
  CallRecorder call(host, "Kv_Inquire_Instance");
  if (!call.text(name, "instance name")) return call.finish();
  call.list(Family::kInquireInstance, list);
  int32_t index = FindInstance(call, name);
  if (index == kNone) return call.finish();
  for (const Attribute &attribute : call.attributes()) {
    Answer(attribute, static_cast<int32_t>(host.scene().instances.items[index].children.size()));
  }
  return call.finish();
}

// Fills the image-information record from the texture's file. Reading
// the header is all the record needs, so "headeronly" changes nothing.
void AnswerImageInfo(CallRecorder &call, const Texture &texture, const Attribute &attribute) {
  Kv_ImageInfo info{};
  ImagePixels header;
  std::string error;
  if (call.host().texture_files().ReadHeader(texture.path, &header, &error)) {
    info.width = static_cast<uint16_t>(header.width);
    info.height = static_cast<uint16_t>(header.height);
    info.bits_per_component = 8;
    info.components = static_cast<int16_t>(header.components);
    info.file_type = texture.file_type;
  } else {
    call.fail(error);
  }
  Answer(attribute, info);
}

int InquireTexture(Host &host, const char *name, void *result, ListReader &list) {
  CallRecorder call(host, "Kv_Inquire_Texture");
  if (!call.text(name, "texture name")) return call.finish();
  call.slot(result);  // an answer slot that no query fills
  call.list(Family::kInquireTexture, list);
  const Texture *texture = FindNamed(call, host.scene().textures, name, "texture");
  for (const Attribute &attribute : call.attributes()) {
    if (texture && attribute.id() == Attr::kImageInfo) AnswerImageInfo(call, *texture, attribute);
  }
  return call.finish();
}

bool Exists(const Scene &db, Attr kind, const std::string &name) {
  switch (kind) {
    case Attr::kKindInstance: return db.instances.find(name) != nullptr;
    case Attr::kKindObject: return db.objects.find(name) != nullptr;
    case Attr::kKindSurface: return db.surfaces.find(name) != nullptr;
    case Attr::kKindTexture: return db.textures.find(name) != nullptr;
    case Attr::kKindLight: return db.lights.find(name) != nullptr;
    case Attr::kKindCamera: return db.cameras.find(name) != nullptr;
    case Attr::kKindOutputDriver: return db.drivers.find(name) != nullptr;
    default: return false;
  }
}

int NameExists(Host &host, const char *name, int32_t *exists, ListReader &list) {
  CallRecorder call(host, "Kv_Handle_Name_Exists", kavrel::CallEffect::kLeavesMeshes);
  bool usable = call.text(name, "name");
  usable = call.pointer(exists, "answer") && usable;
  if (!usable) return call.finish();
  *exists = 0;
  call.list(Family::kEntityKind, list);
  if (call.attributes().size() != 1) {
    call.fail("exactly one kind of entity must be given");
    return call.finish();
  }
  *exists = Exists(host.scene(), call.attributes()[0].id(), name) ? 1 : 0;
  return call.finish();
}

int InquireOption(Host &host, ListReader &list) {
  CallRecorder call(host, "Kv_Inquire_Option");
  call.list(Family::kInquireOption, list);
  for (const Attribute &attribute : call.attributes()) {
    Answer(attribute, host.tokens().Intern(host.scene().options[attribute.rule->path]));
  }
  return call.finish();
}

int InquireOutputDriver(Host &host, const char *name, void *result, const char **description, ListReader &list) {
  CallRecorder call(host, "Kv_Inquire_Output_Driver");
  if (!call.text(name, "driver name")) return call.finish();
  call.slot(result);  // an answer slot that no query fills
  if (!call.pointer(description, "description answer")) return call.finish();
  call.list(Family::kInquireOutputDriver, list);
  const OutputDriver *driver = FindNamed(call, host.scene().drivers, name, "output driver");
  if (!driver) return call.finish();
  *description = driver->description.c_str();
  for (const Attribute &attribute : call.attributes()) Answer(attribute, OnOffToken(host.tokens(), driver->enabled));
  return call.finish();
}

}  // namespace
}  // namespace kavrel

extern "C" int Kv_Inquire_Instance(const char *instance, ...) {
  KAVREL_LIST_AFTER(instance, list);
  return kavrel::InquireInstance(kavrel::CurrentHost(), instance, list);
}

extern "C" int Kv_Inquire_Texture(const char *texture, void *result, ...) {
  KAVREL_LIST_AFTER(result, list);
  return kavrel::InquireTexture(kavrel::CurrentHost(), texture, result, list);
}

extern "C" int Kv_Handle_Name_Exists(const char *name, int32_t *exists, ...) {
  KAVREL_LIST_AFTER(exists, list);
  return kavrel::NameExists(kavrel::CurrentHost(), name, exists, list);
}

extern "C" int Kv_Inquire_Option(Kv_Token first, ...) {
  KAVREL_LIST_FROM(first, list);
  return kavrel::InquireOption(kavrel::CurrentHost(), list);
}

extern "C" int Kv_Inquire_Output_Driver(const char *driver, void *result, const char **description, ...) {
  KAVREL_LIST_AFTER(description, list);
  return kavrel::InquireOutputDriver(kavrel::CurrentHost(), driver, result, description, list);
}

extern "C" int Kv_Inquire_Environment(const char *name, int64_t *value) {
  kavrel::Host &host = kavrel::CurrentHost();
  kavrel::CallRecorder call(host, "Kv_Inquire_Environment");
  bool usable = call.text(name, "name");
  usable = call.pointer(value, "answer") && usable;
  if (usable) *value = host.EnvironmentValue(name);
  return call.finish();
}

extern "C" int Kv_Determine_Image_File_Type(const char *path, int32_t *file_type) {
  kavrel::Host &host = kavrel::CurrentHost();
  kavrel::CallRecorder call(host, "Kv_Determine_Image_File_Type");
  bool usable = call.text(path, "path");
  usable = call.pointer(file_type, "answer") && usable;
  if (!usable) return 1;
  // A type from the signature counts only when the image library can read
  // the header too: a truncated or mislabelled file is as good as missing.
  kavrel::ImagePixels header;
  std::string error;
  const kavrel::TextureFiles &files = host.texture_files();
  *file_type = files.Sniff(path);
  if (*file_type != kavrel::kImageUnknown && !files.ReadHeader(path, &header, &error)) {
    *file_type = kavrel::kImageUnknown;
  }
  int status = *file_type == kavrel::kImageUnknown ? 1 : 0;
  call.integers({status, *file_type});
  return status;
}
