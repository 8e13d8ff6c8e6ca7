// The abort poll the mesh output calls before each pass over a shape.
#include "host/import_io.h"
#include "state/state.h"

int CheckForAbort_Inventor() {
  Import_IO_AbortCheckRecord progress = {};
  progress.size = sizeof progress;
  progress.reserved = 0;
  progress.file_size = plugin.input_file_size;
  progress.objects_created = plugin.state ? plugin.state->objects_created : 0;
  progress.polygons_output = plugin.state ? plugin.state->polygons_output : 0;
  return Import_IO_Check_For_Abort(&progress) ? 1 : 0;
}
