// Triangles that repeat another one's three vertices. Inventor files hold
// them (triangle strips that turn back on themselves, faces given twice),
// and readers differ on them: Blender's glTF importer drops them and its
// OBJ importer keeps them, so one scene would count differently in the
// two formats. A repeat draws nothing new (faces wound both ways only
// matter to single-sided materials, and a mesh holding them is drawn
// double-sided unless it also encloses a solid), so exports leave it out.
#ifndef KAVREL_EXPORT_REPEATED_TRIANGLES_H
#define KAVREL_EXPORT_REPEATED_TRIANGLES_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavrel {

// Removes from indices (three vertices per triangle, each below
// vertex_count) every triangle whose vertices an earlier triangle has, in
// any order; the others keep their order. Linear expected time.
void DropRepeatedTriangles(std::vector<uint32_t> *indices, size_t vertex_count);

}  // namespace kavrel

#endif
