// The materials subsystem as the other folders see it: the material and
// texture callbacks, the surfaces of meshes and faces, vertex colours.
#ifndef MATERIALS_MATERIALS_H
#define MATERIALS_MATERIALS_H

#include <Inventor/SbString.h>
#include <Inventor/actions/SoCallbackAction.h>

class SoState;

// SoMaterial pre-callback: records the node's name (or "surface") as the base name of surfaces.
SoCallbackAction::Response inventorCB_MaterialPre(void *data, SoCallbackAction *action, const SoNode *node);
// SoTexture2 pre-callback: puts the node's file name into the traversal state.
SoCallbackAction::Response inventorCB_Texture2Pre(void *data, SoCallbackAction *action, const SoNode *node);

// Makes the traversal state carry the current texture file name (SoTextureFilenameElement).
void EnableTextureFilenameElement();

// Links the surface of the shape's material (or of the default material) to the instance.
void AssignShapeSurface(const SbString &instance, int use_default_material, SoCallbackAction *action);
// Names the surface of the current triangle's material in its polygon's slot.
void AssignFaceSurface(int material_index, SoState *state);
// Writes the red, green and blue of one corner's colour into colors at slot.
void GetVertexColor(int color_index, int slot, float *colors, int use_emissive, SoState *state);

// Forgets the index kept over surface_list; the end-of-run clean-up calls it when it releases the list.
void ClearSurfaceIndex();

#endif
