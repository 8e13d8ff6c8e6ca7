// The root instance of an import: named after the file, attached below
// "world", its name kept for the plug-in to read back or replace.
#include "common/file_name_start.h"
#include "host/import_io.h"
#include "kavrel/import_io/import_support.h"
#include "kavrel/toolkit/call_recorder.h"
#include "kavrel/toolkit/instance_tree.h"

namespace {

// "dir/teapot.iv" -> "teapot"; a leading dot belongs to the name.
std::string BaseNameWithoutExtension(const std::string &path) {
  std::string name = path.substr(common::FileNameStart(path));
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

}  // namespace

namespace io = kavrel::import_io;

extern "C" void Import_IO_MakeSaveAndAttachRootInstance(const char *path, char *name) {
  kavrel::Host &host = kavrel::CurrentHost();
  kavrel::CallRecorder call(host, "Import_IO_MakeSaveAndAttachRootInstance");
  if (!call.text(path, "path") || !call.pointer(name, "name buffer")) return;
  const std::string root = io::MakeUniqueName(host, "instance", BaseNameWithoutExtension(path));
  kavrel::AddInstance(host.scene(), root);
  host.import_state().frame.root_name = root;
  io::CopyName(root, name);
}

extern "C" const char *Import_IO_Get_Root_Imported_Instance_Name(void) {
  kavrel::Host &host = kavrel::CurrentHost();
  kavrel::CallRecorder call(host, "Import_IO_Get_Root_Imported_Instance_Name", kavrel::CallEffect::kLeavesMeshes);
  return host.import_state().frame.root_name.c_str();
}

extern "C" void Import_IO_Set_Root_Imported_Instance_Name(const char *name) {
  kavrel::Host &host = kavrel::CurrentHost();
  kavrel::CallRecorder call(host, "Import_IO_Set_Root_Imported_Instance_Name");
  if (call.text(name, "name")) host.import_state().frame.root_name = name;
}
