#include "scene/scene_finish.h"

#include <cstdio>
#include <string>

#include "host/import_io.h"
#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "lights/lights.h"
#include "scene/scene.h"
#include "state/state.h"

namespace {

void SwitchOffDefaultAmbientLight() { kv::kv_list(Kv_Light, "defaultambient", kv::tok("enabled"), kv::tok("off")); }

// Inventor's Y axis up becomes the host's: a turn about X by +90 degrees,
// premultiplied onto the import's root instance.
void TurnYUp() {
  float matrix[16];
  Kv_Matrix_Identity(matrix);
  matrix[1 * 4 + 1] = 0;
  matrix[2 * 4 + 2] = 0;
  matrix[1 * 4 + 2] = -1;
  matrix[2 * 4 + 1] = 1;
  kv::kv_list(Kv_Transform, kv::tok("instance"), plugin.root_instance_name, kv::tok("premultiply"),
              kv::tok("matrix"), matrix);
}

void PrintStatistics() {
  Import_IO_printf("Inventor2/VRML1 import parsing statistics:\n");
  Import_IO_printf("\tNumber of polygons output = %ld\n", static_cast<long>(plugin.state->polygons_output));
  Import_IO_printf("\tNumber of objects created = %ld\n", static_cast<long>(plugin.state->objects_created));
  Import_IO_printf("\tNumber of cameras created = %ld\n", static_cast<long>(plugin.state->cameras_created));
  Import_IO_printf("\tNumber of lights created = %ld\n", static_cast<long>(plugin.state->lights_created));
  Import_IO_printf("\tNumber of surfaces created = %ld\n", static_cast<long>(plugin.state->surfaces_created));
}

// An optimiser may have removed or merged the root instance: the import then
// hangs from "world", in the host and in the module record alike.
void CheckRootInstance() {
  int32_t exists = 0;
  const std::string root = Import_IO_Get_Root_Imported_Instance_Name();
  kv::kv_list(Kv_Handle_Name_Exists, root.c_str(), &exists, kv::tok("instance"));
  if (exists) return;
  Import_IO_Set_Root_Imported_Instance_Name("world");
  std::snprintf(plugin.root_instance_name, sizeof plugin.root_instance_name, "%s", "world");
}

void OptimizeHierarchy(const ImportOptions &options) {
  Import_IO_Display_Info_Text("Optimizing hierarchy (may be slow).");
  if (options.optimize_hierarchy1) {
    int32_t removed = 0, merged = 0;
    const std::string root = Import_IO_Get_Root_Imported_Instance_Name();
    Kv_OptimizeHierarchy(root.c_str(), &removed, &merged);
  }
  if (options.optimize_hierarchy2) {
    int32_t removed = 0, merged = 0;
    Kv_OptimizeHierarchy2("world", &removed, &merged);
  }
  CheckRootInstance();
}

void OptimizeNumberOfObjects() {
  CheckRootInstance();
  Import_IO_Display_Info_Text("Optimizing number of objects");
  const std::string root = Import_IO_Get_Root_Imported_Instance_Name();
  MoveRootChildrenToNewObjects(root.c_str());
  CheckRootInstance();
}

}  // namespace

void MoveRootChildrenToNewObjects(const char *name) {
  int32_t children = 0;
  kv::kv_list(Kv_Inquire_Instance, name, kv::tok("numchildren"), &children);
  if (children != 0 && plugin.state->options.optimize_number_of_objects) {
    Import_IO_RecursivelyMoveChildrenOfRootInstanceToNewObjects(0, name, 0, 0, 0);
  }
}

void FinishImportedScene() {
  const ImportOptions &options = plugin.state->options;
  CreateDefaultCamera();
  SwitchOffDefaultAmbientLight();
  if (options.flip_y_up == 1) TurnYUp();
  if (options.print_stats) PrintStatistics();
  if (options.optimize_hierarchy1 || options.optimize_hierarchy2) OptimizeHierarchy(options);
  if (options.optimize_number_of_objects) OptimizeNumberOfObjects();
}
