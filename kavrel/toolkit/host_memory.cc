// Memory release and storage registration.
#include <cstdlib>

#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"

// Releases what the import support library allocated with malloc
// (Import_IO_Copy_String); a null pointer is ignored, as free() does.
extern "C" void Kv_Free_Memory(void *memory) {
  kavrel::CallRecorder call(kavrel::CurrentHost(), "Kv_Free_Memory");
  call.slot(memory);
  std::free(memory);
}

// This host keeps its scene in ordinary containers: a class needs no
// storage prepared before an import, so registration is only journaled.
extern "C" void Kv_RegisterClassStorage(uint32_t class_id, intptr_t a, intptr_t b) {
  kavrel::CallRecorder call(kavrel::CurrentHost(), "Kv_RegisterClassStorage");
  call.integers({static_cast<int64_t>(class_id), static_cast<int64_t>(a), static_cast<int64_t>(b)});
}

extern "C" void Kv_RegisterClassStorageAux(int32_t flag) {
  kavrel::CallRecorder call(kavrel::CurrentHost(), "Kv_RegisterClassStorageAux");
  call.integers({flag});
}
