// The whole conversion of one input inside this process, as kavrel-convert
// runs it: header check, the plug-in's run on a fresh host, then the glTF
// export and the scene dump of whatever was imported. ASCII and binary
// files alike (fuzz/bounded_allocation.cc bounds what a binary file's array
// sizes make Coin3D allocate).
#include <string>

#include "fuzz/fuzz_session.h"
#include "kavrel/host.h"

using kavrel_fuzz::FuzzSession;

namespace {

// The plug-in answers 0 even when Coin3D could not read the file; the sign
// of a real import is the root instance it attaches below "world".
bool ImportedAnything(const kavrel::Host &host) { return host.scene().instances.items.size() > 1; }

void ExportImported(const kavrel::Host &host) {
  std::string error;
  kavrel::ExportScene(host, FuzzSession::Get().run_dir() + "output.glb", kavrel::ExportFormat::kGlb, &error);
  kavrel::DumpSceneJson(host.scene());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzSession &session = FuzzSession::Get();
  session.ClearRunDir();
  const std::string input = session.WriteRunFile("input.iv", data, size);
  session.StartPlugin();
  if (size == 0 || kavrel_fuzz::CallPlugin({{"validate_header", input.c_str()}}) != 1) return 0;
  // Both ways of counting a shape's triangles, chosen by the input itself
  // so that a finding reproduces.
  const bool count_in_traversal_state = size % 2 == 1;
  if (kavrel_fuzz::ConvertFile(input, count_in_traversal_state) == 0 && ImportedAnything(session.host())) {
    ExportImported(session.host());
  }
  return 0;
}
