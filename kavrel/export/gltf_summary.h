// What a built glTF document holds, for the command's summary line.
#ifndef KAVREL_EXPORT_GLTF_SUMMARY_H
#define KAVREL_EXPORT_GLTF_SUMMARY_H

#include "kavrel/export/gltf_document.h"
#include "kavrel/host.h"

namespace kavrel {

// Counts of the document's arrays; triangles are those of its index
// accessors, each counted once however many meshes share it. Bytes stay 0.
ExportSummary SummarizeGltf(GltfDocument &doc);

}  // namespace kavrel

#endif
