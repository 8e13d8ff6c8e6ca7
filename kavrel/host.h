// The stand-alone host as the command line and the tests see it: the Host
// session object that holds everything one conversion's host side keeps
// (scene database, call journal, tokens, the import support library's run,
// images being written, the texture files it may read), the settings a
// front end gives each new Host, the one accessor the plug-in's Kv_* and
// Import_IO_* calls reach it through, and the exporters.
#ifndef KAVREL_HOST_H
#define KAVREL_HOST_H

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "kavrel/image/texture_access.h"
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
  const char *call = "";                       // "Kv_Surface": a literal, copied by no call
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

// ---- Settings -------------------------------------------------------------

// Where the host's messages go. A member left empty prints: report lines
// to stdout, errors and progress to stderr.
struct ReportSinks {
  std::function<void(const std::string &)> report;       // Import_IO_printf text, as printed
  std::function<void(int level, const std::string &)> error;  // Import_IO_Report_Error, Kv_Report_Error
  std::function<void(const std::string &)> progress;     // Import_IO_Display_Info_Text
};

// What a front end gives each Host it makes. These outlive one conversion:
// a front end that converts several inputs in one process keeps its
// settings and hands them to every new Host (a Ctrl-C during the first
// input must stop the next one too). Every member may also be changed on a
// living Host through Host::settings(); the host reads them at each use.
struct HostSettings {
  ReportSinks sinks;
  // The front end's own stop request (a Ctrl-C seen), asked by the
  // plug-in's abort poll and by the export beside Host::RequestAbort.
  // Called on the plug-in's thread, so it must only read a flag. Empty:
  // never.
  std::function<bool()> stop_requested;
  // Whether an output driver may overwrite an existing file while the
  // "confirm overwrites" option is on. Empty answers yes (a batch host
  // that the user asked to convert); tests and interactive front ends
  // answer otherwise.
  std::function<bool(const std::string &path)> confirm_overwrite;
  // Confines the texture image files the host reads (type checks, headers,
  // pixels for the export) to these trees; files made by the current run
  // stay readable. Empty: no confinement.
  TextureRoots texture_roots;
  // Values answered by Kv_Inquire_Environment; unknown names answer 0.
  std::unordered_map<std::string, int64_t> environment;
};

// ---- The host -------------------------------------------------------------

class TokenTable;
class TextureFiles;
class WeldAhead;
class MeshWorkMemo;
class MeshQueue;
struct ImageSave;
namespace import_io {
struct ImportState;
}

// What a call of the plug-in may do to the meshes of the scene database.
enum class CallEffect {
  kMayChangeMeshes,                            // the default: the mesh work handed on is waited for first,
                                               // and the welds worked out ahead are forgotten
  kLeavesMeshes,                               // reads and changes no mesh; may come while mesh work runs
                                               // and between the welds of one object
  kManipulatesMeshes,                          // Kv_Manipulate_IndexedPolygons: hands its work on
};

// One conversion's host side. A new conversion makes a fresh Host, so
// nothing of an earlier one (names handed out, a polygon buffer, an abort
// request, images half written) reaches it; what must outlive it comes in
// with the settings.
class Host {
 public:
  explicit Host(HostSettings settings = {});
  ~Host();  // closes and deletes the images still being written
  Host(const Host &) = delete;
  Host &operator=(const Host &) = delete;

  // The scene database that the calls change and the exporters read.
  Scene &scene() { return scene_; }
  const Scene &scene() const { return scene_; }
  // Every call the plug-in made, decoded.
  Journal &journal() { return journal_; }
  const Journal &journal() const { return journal_; }
  HostSettings &settings() { return settings_; }
  const HostSettings &settings() const { return settings_; }

  // Through the report sinks, or printed where a sink is empty.
  void Report(const std::string &text) const;
  void ReportError(int level, const std::string &text) const;
  void ShowProgress(const std::string &text) const;

  // Makes Import_IO_Check_For_Abort answer nonzero from now on
  // (async-signal-safe: sets a flag only).
  void RequestAbort() { abort_requested_.store(true, std::memory_order_relaxed); }
  // The host's own request or the front end's stop request.
  bool AbortRequested() const;

  // The confirmer's answer for overwriting path.
  bool ConfirmOverwrite(const std::string &path) const;
  // The environment value of name; 0 for one never set.
  int64_t EnvironmentValue(const std::string &name) const;

  // Texture image files read under the texture roots, relative names
  // found beside the imported file too.
  TextureFiles &texture_files() { return *texture_files_; }
  const TextureFiles &texture_files() const { return *texture_files_; }

  // ---- For the toolkit and the import support library ----
  TokenTable &tokens() { return *tokens_; }
  WeldAhead &welds_ahead() { return *welds_ahead_; }
  MeshWorkMemo &mesh_work_memo() { return *mesh_work_memo_; }
  MeshQueue &mesh_queue() { return *mesh_queue_; }
  // Waits for the mesh work handed on (kavrel/toolkit/mesh_queue.h): the
  // meshes are then as the calls made them. Each call that may read or
  // change a mesh does this as it begins, and so does the export; whoever
  // else reads meshes while the plug-in is in the middle of a conversion
  // must too.
  void SettleMeshes() const;
  ImageSave &image_save() { return *image_save_; }
  import_io::ImportState &import_state() { return *import_state_; }

  // A call of the plug-in begins: unless it leaves every mesh as it is, the
  // mesh work handed on is waited for and the welds worked out ahead no
  // longer apply.
  void BeginCall(CallEffect effect);

 private:
  HostSettings settings_;
  Scene scene_;
  Journal journal_;
  std::atomic<bool> abort_requested_{false};
  std::unique_ptr<TokenTable> tokens_;
  std::unique_ptr<TextureFiles> texture_files_;
  std::unique_ptr<WeldAhead> welds_ahead_;
  std::unique_ptr<MeshWorkMemo> mesh_work_memo_;
  std::unique_ptr<ImageSave> image_save_;
  std::unique_ptr<import_io::ImportState> import_state_;
  // Last, so that it ends first: its work uses the scene, the welds ahead
  // and the memo.
  std::unique_ptr<MeshQueue> mesh_queue_;
};

// The host that the plug-in's Kv_* and Import_IO_* calls reach: the one
// of the innermost CurrentHostScope, or, in a process that installs none,
// one with default settings made on first use.
Host &CurrentHost();

// Makes host the one the calls reach while this lives; the host current
// before comes back after it. Made and ended on the thread that drives the
// plug-in, with no call of the plug-in under way.
class CurrentHostScope {
 public:
  explicit CurrentHostScope(Host &host);
  ~CurrentHostScope();
  CurrentHostScope(const CurrentHostScope &) = delete;
  CurrentHostScope &operator=(const CurrentHostScope &) = delete;

 private:
  Host *previous_;
};

// ---- Export ---------------------------------------------------------------

// glTF, OBJ, VRML97, X3D and the JSON dump by our own writers, the others
// through assimp.
enum class ExportFormat { kGlb, kGltf, kJson, kObj, kPly, kStl, kDae, k3mf, kFbx, kX3d, kWrl };

// Format from the extension of path (.glb, .gltf, .json, .obj, .ply, .stl,
// .dae, .3mf, .fbx, .x3d, .wrl, in any case); false when unknown.
bool ExportFormatFromPath(const std::string &path, ExportFormat *format);
// The format's extension without the dot: "glb".
const char *ExportFormatName(ExportFormat format);
// Every extension known, for messages: ".glb, .gltf, ..., .wrl".
std::string ExportExtensionList();

// What an export wrote, as the file holds it: a format that stores one
// world-space mesh (PLY, STL) has no nodes and counts every placement's
// triangles; one without materials, lights or cameras counts none.
struct ExportSummary {
  size_t nodes = 0, meshes = 0, triangles = 0, materials = 0, textures = 0, lights = 0, cameras = 0;
  size_t lines = 0, points = 0;                // line segments and points, in the formats that keep them
  uint64_t bytes = 0;                          // of every file written (an OBJ's .mtl and textures too)
};

// Writes the host's scene, its texture images read through the host's
// texture files, its warnings to its sinks; a stop request before the
// files are in place abandons them. Writes to temporary files beside path
// and renames them into place, so a failed export leaves no partial file.
// On failure returns false with a message in *error; on success fills
// *summary when given.
bool ExportScene(const Host &host, const std::string &path, ExportFormat format, std::string *error,
                 ExportSummary *summary = nullptr);

// The JSON dump of every entity and attribute, in a stable order.
std::string DumpSceneJson(const Scene &scene);

}  // namespace kavrel

#endif
