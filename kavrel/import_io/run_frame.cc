// The run frame: set-up, clean-up and the abort poll of one import.
#include "common/file_name_start.h"
#include "host/import_io.h"
#include "kavrel/host.h"
#include "kavrel/image/image_file.h"
#include "kavrel/import_io/import_support.h"
#include "kavrel/toolkit/call_recorder.h"

using kavrel::CallRecorder;
namespace io = kavrel::import_io;

extern "C" void Import_IO_Initialize(const char *path, Import_IO_ErrorHook hook) {
  kavrel::Host &host = kavrel::CurrentHost();
  CallRecorder call(host, "Import_IO_Initialize");
  call.text(path, "path");
  if (hook) call.pointer(reinterpret_cast<const void *>(hook), "hook");
  // A new run: names handed out for an earlier one no longer bind; the
  // scene database itself still keeps every name it holds unique.
  io::FreeCurrentBuffer(host);
  io::ImportState &state = host.import_state();
  state.names.clear();
  state.frame.hook = hook;
  const std::string file = path ? path : "";
  host.texture_files().set_search_directory(file.substr(0, common::FileNameStart(file)));
}

extern "C" void Import_IO_Cleanup(void) {
  kavrel::Host &host = kavrel::CurrentHost();
  CallRecorder call(host, "Import_IO_Cleanup");
  io::FreeCurrentBuffer(host);
  host.import_state().frame.hook = nullptr;
}

extern "C" void Import_IO_Abort_Cleanup(void) {
  kavrel::Host &host = kavrel::CurrentHost();
  CallRecorder call(host, "Import_IO_Abort_Cleanup");
  io::FreeCurrentBuffer(host);
}

extern "C" int Import_IO_Check_For_Abort(Import_IO_AbortCheckRecord *progress) {
  kavrel::Host &host = kavrel::CurrentHost();
  CallRecorder call(host, "Import_IO_Check_For_Abort", kavrel::CallEffect::kLeavesMeshes);
  if (call.pointer(progress, "progress record"))
    call.integers({static_cast<int64_t>(progress->file_size), progress->objects_created, progress->polygons_output});
  return host.AbortRequested() ? 1 : 0;
}
