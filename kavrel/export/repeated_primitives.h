// Triangles that repeat another one's three vertices, and segments and
// points given again. Inventor files hold them (triangle strips that turn
// back on themselves, faces given twice, line sets drawn over each other),
// and readers differ on them: Blender's glTF importer drops repeated
// triangles and its OBJ importer keeps them, so one scene would count
// differently in the two formats. A repeat draws nothing new (faces wound
// both ways only matter to single-sided materials, and a mesh holding them
// is drawn double-sided unless it also encloses a solid), so exports leave
// it out.
#ifndef KAVREL_EXPORT_REPEATED_PRIMITIVES_H
#define KAVREL_EXPORT_REPEATED_PRIMITIVES_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavrel {

// Removes from indices (vertices_per_primitive vertices per primitive, 1
// to 3, each below vertex_count) every primitive whose vertices an earlier
// primitive has, in any order; the others keep their order. Linear
// expected time.
void DropRepeatedPrimitives(std::vector<uint32_t> *indices, size_t vertex_count, size_t vertices_per_primitive);

}  // namespace kavrel

#endif
