// How many bytes Coin3D keeps for one value of a node's multiple-value
// field, so that a binary array's declared count can be checked against
// what Coin3D's reader can allocate before it allocates it.
#ifndef SCENE_BINARY_VALUE_SIZE_H
#define SCENE_BINARY_VALUE_SIZE_H

#include <Inventor/SbName.h>
#include <Inventor/SoType.h>

#include <cstddef>

// The size of one value of field in nodes of node_type; when either is
// unknown, the largest size a multiple-value field has.
size_t BinaryValueSize(SoType node_type, const SbName &field);

#endif
