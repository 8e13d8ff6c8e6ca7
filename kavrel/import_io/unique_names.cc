// Unique names per kind of entity, across the whole scene database.
//
// Each base name keeps the number of candidates already tried, so a call
// tries each candidate at most once over the run: constant expected time
// per call however often a base repeats. A candidate is free when no
// entity of the kind holds it and it was never handed out before (the
// plug-in may define the entity long after it asked for the name).
#include <algorithm>
#include <cstring>

#include "host/import_io.h"
#include "kavrel/import_io/import_support.h"
#include "kavrel/toolkit/call_recorder.h"
#include "kavrel/toolkit/tokens.h"

namespace kavrel {
namespace import_io {

namespace {

constexpr size_t kNameBuffer = 512;
// Room left after a base for " #" and ten digits, inside 511 bytes.
constexpr size_t kMaxBaseBytes = kNameBuffer - 1 - 12;
// Stands in for an empty base, as the plug-in's own naming does.
constexpr const char *kEmptyBase = "a";

bool InDatabase(const Scene &s, const std::string &kind, const std::string &name) {
  if (kind == "instance") return s.instances.find(name) != nullptr;
  if (kind == "object") return s.objects.find(name) != nullptr;
  if (kind == "surface") return s.surfaces.find(name) != nullptr;
  if (kind == "texture") return s.textures.find(name) != nullptr;
  if (kind == "light") return s.lights.find(name) != nullptr;
  if (kind == "camera") return s.cameras.find(name) != nullptr;
  return false;
}

// Cuts base to kMaxBaseBytes without splitting a UTF-8 sequence.
std::string Shortened(const std::string &base) {
  if (base.size() <= kMaxBaseBytes) return base;
  size_t cut = kMaxBaseBytes;
  while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80) --cut;
  return base.substr(0, cut);
}

std::string Candidate(const std::string &base, uint32_t tried) {
  return tried == 0 ? base : base + " #" + std::to_string(tried + 1);
}

}  // namespace

std::string MakeUniqueName(Host &host, const std::string &kind, const std::string &base_in) {
  const std::string base = base_in.empty() ? kEmptyBase : Shortened(base_in);
  KindNames &names = host.import_state().names[kind];
  uint32_t &tried = names.tried[base];
  for (;;) {
    std::string name = Candidate(base, tried++);
    if (InDatabase(host.scene(), kind, name) || !names.handed_out.insert(name).second) continue;
    return name;
  }
}

void CopyName(const std::string &name, char *buffer) {
  const size_t length = std::min(name.size(), kNameBuffer - 1);
  std::memcpy(buffer, name.data(), length);
  buffer[length] = '\0';
}

}  // namespace import_io
}  // namespace kavrel

extern "C" int Import_IO_MakeAndSaveUniqueName(Kv_Token kind, const char *base, char *result) {
  kavrel::Host &host = kavrel::CurrentHost();
  kavrel::CallRecorder call(host, "Import_IO_MakeAndSaveUniqueName", kavrel::CallEffect::kLeavesMeshes);
  kavrel::Attr ignored;
  const bool usable = call.kind(kind, &ignored) && call.text(base, "base") && call.pointer(result, "result");
  if (!usable) return 1;
  const std::string &word = *host.tokens().Word(kind);
  kavrel::import_io::CopyName(kavrel::import_io::MakeUniqueName(host, word, base), result);
  return 0;
}
