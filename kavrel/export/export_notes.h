// Repairs an export made to keep bad data out of the file; reported once per
// export as one warning line.
#ifndef KAVREL_EXPORT_EXPORT_NOTES_H
#define KAVREL_EXPORT_EXPORT_NOTES_H

#include <cmath>
#include <cstddef>
#include <string>

namespace kavrel {

struct ExportNotes {
  size_t replaced_numbers = 0;                 // NaN or infinity written as 0 (or a default)
  size_t dropped_polygons = 0;                 // fewer than 3 corners or an index out of range
  size_t ignored_streams = 0;                  // index list whose length is not the corner count
  size_t flattened_projections = 0;            // matrices whose perspective part was dropped
  size_t clamped_values = 0;                   // light or camera values moved into glTF's range

  // v itself when finite, otherwise fallback (counted).
  float Finite(float v, float fallback = 0.0f) {
    if (std::isfinite(v)) return v;
    ++replaced_numbers;
    return fallback;
  }

  // The repairs counted since these notes were `before`, and adding such counts.
  ExportNotes Since(const ExportNotes &before) const;
  void Add(const ExportNotes &more);

  // "" when nothing was repaired, else one sentence naming each repair.
  std::string Summary() const;
};

class Host;

// A warning through the host's error sink at level 2: the export goes on.
void ReportExportWarning(const Host &host, const std::string &text);

}  // namespace kavrel

#endif
