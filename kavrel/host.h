// What the command line and the tests need of the stand-alone host beyond
// the Kv_* and Import_IO_* calls: the call journal, report routing, the
// abort request and the exporters.
#ifndef KAVREL_HOST_H
#define KAVREL_HOST_H

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "kavrel/toolkit/scene.h"

namespace kavrel {

// ---- Call journal -------------------------------------------------------

// One decoded item of a call.
struct JournalItem {
  enum Kind { kToken, kString, kFloats, kInts, kGroupEnd, kListEnd, kPointer };
  Kind kind;
  std::string text;                            // token word or string
  std::vector<float> floats;                   // kFloats
  std::vector<int64_t> ints;                   // kInts
};

struct JournalEntry {
  std::string call;                            // "Kv_Surface"
  std::vector<JournalItem> items;
  std::string error;                           // "" when the call decoded and applied cleanly
  std::thread::id thread;                      // the thread that made the call

  // Readable one-line form: Kv_Surface("red" color rgb [1 0 0] | shadingcoeffs diffuse [0.4] .)
  std::string to_string() const;
};

class Journal {
 public:
  void add(JournalEntry entry);
  const std::vector<JournalEntry> &entries() const { return entries_; }
  void clear() { entries_.clear(); }
  void set_enabled(bool on) { enabled_ = on; }
  bool enabled() const { return enabled_; }
  // Entries whose call name equals call, in order.
  std::vector<const JournalEntry *> calls(const std::string &call) const;

 private:
  std::vector<JournalEntry> entries_;
  bool enabled_ = true;
};

Journal &journal();

// ---- Reports ------------------------------------------------------------

// Where the host's messages go. Defaults: report lines to stdout, errors
// and progress to stderr.
struct ReportSinks {
  std::function<void(const std::string &)> report;       // Import_IO_printf text, as printed
  std::function<void(int level, const std::string &)> error;  // Import_IO_Report_Error, Kv_Report_Error
  std::function<void(const std::string &)> progress;     // Import_IO_Display_Info_Text
};

void SetReportSinks(ReportSinks sinks);
ReportSinks &report_sinks();

// ---- Run control ----------------------------------------------------------

// Makes Import_IO_Check_For_Abort answer nonzero until ClearAbortRequest
// (async-signal-safe: sets a flag only).
void RequestAbort();
void ClearAbortRequest();
bool AbortRequested();

// Answers whether an output driver may overwrite an existing file while the
// "confirm overwrites" option is on. The default answers yes (a batch host
// that the user asked to convert); tests and interactive front ends replace it.
void SetOverwriteConfirmer(std::function<bool(const std::string &path)> confirm);

// Confines the texture image files the host reads (type checks, headers,
// pixels for the export) to these directory trees, after symbolic links and
// ".." are resolved; files made by the current run stay readable. An empty
// list lifts the confinement. False with a message when a root is not an
// existing directory (the roots stay as they were).
bool SetTextureRoots(const std::vector<std::string> &roots, std::string *error);

// Values answered by Kv_Inquire_Environment; unknown names answer 0.
void SetEnvironmentValue(const std::string &name, int64_t value);

// Back to a new scene, an empty journal and no abort request.
void ResetHost();

// ---- Export ---------------------------------------------------------------

// glTF and the JSON dump by our own writers, the others through assimp.
enum class ExportFormat { kGlb, kGltf, kJson, kObj, kPly, kStl, kDae, k3mf, kFbx, kX3d };

// Format from the extension of path (.glb, .gltf, .json, .obj, .ply, .stl,
// .dae, .3mf, .fbx, .x3d, in any case); false when unknown.
bool ExportFormatFromPath(const std::string &path, ExportFormat *format);
// The format's extension without the dot: "glb".
const char *ExportFormatName(ExportFormat format);
// Every extension known, for messages: ".glb, .gltf, ..., .x3d".
std::string ExportExtensionList();

// What an export wrote, as the file holds it: a format that stores one
// world-space mesh (PLY, STL) has no nodes and counts every placement's
// triangles; one without materials, lights or cameras counts none.
struct ExportSummary {
  size_t nodes = 0, meshes = 0, triangles = 0, materials = 0, textures = 0, lights = 0, cameras = 0;
  uint64_t bytes = 0;                          // of every file written (an OBJ's .mtl and textures too)
};

// Writes the scene. Writes to temporary files beside path and renames them
// into place, so a failed export leaves no partial file. On failure returns
// false with a message in *error; on success fills *summary when given.
bool ExportScene(const Scene &scene, const std::string &path, ExportFormat format, std::string *error,
                 ExportSummary *summary = nullptr);

// The JSON dump of every entity and attribute, in a stable order.
std::string DumpSceneJson(const Scene &scene);

}  // namespace kavrel

#endif
