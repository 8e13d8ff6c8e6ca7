// The host's welding, smoothing and merging of a new mesh object.
#ifndef GEOMETRY_MESH_POST_PROCESSING_H
#define GEOMETRY_MESH_POST_PROCESSING_H

// Asks the host for each operation the options switch on, in order:
// weld vertices, normals, texture coordinates, colours; smooth; merge.
void PostProcessMesh(const char *object);

#endif
