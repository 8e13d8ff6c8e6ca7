// Every traversal callback and subsystem operation that one folder of the
// plug-in calls in another. Each section names the folder that defines it.
#ifndef PLUGIN_CALLBACKS_H
#define PLUGIN_CALLBACKS_H

#include <cstdint>
#include <vector>

#include <Inventor/SbMatrix.h>
#include <Inventor/SbString.h>
#include <Inventor/actions/SoCallbackAction.h>

#include "host/host_records.h"
#include "host/platform_types.h"
#include "plugin/inventor_state.h"

class SoState;
class SoLOD;
class SoPrimitiveVertex;

using Response = SoCallbackAction::Response;

// ---- scene/: conversion driver, group hierarchy, unique naming ----------
void ReadAndConvertFile_Inventor(const char *path);
void ResetRunState(const char *path, SoNode *root, SoInput *input);
void ResetShapeState();
void FreeInventorState();
// After an abort: releases the record lists, name tables and dictionaries the
// run built, empties parent_stack and resets shape; the state and its
// options stay for the next run.
void AbandonRunRecords();
void MoveRootChildrenToNewObjects(const char *name);
Response inventorCB_EnvironmentPre(void *data, SoCallbackAction *action, const SoNode *node);
Response inventorCB_GroupPre(void *data, SoCallbackAction *action, const SoNode *node);
Response inventorCB_GroupPost(void *data, SoCallbackAction *action, const SoNode *node);
void ChooseLODChild(SoCallbackAction *action, SoLOD *node);
void NewInstanceRecord(const SbString &name, uint32_t object_hash, uint32_t parent_hash, SoNode *node,
                       const SbMatrix &matrix);
void NewObjectRecord(int16_t kind, const SbString &name, SoNode *node);
void MakeUniqueName(Kv_Token kind, SbDict &dict, NameEntry *&list, const SbString &base, SbString &result);
void QuickUniqueName(SbDict &dict, NameEntry *&list, const SbString &base, SbString &result);
void FreeNameEntries(NameEntry *&list);

// ---- geometry/: shape callbacks, triangle collection, mesh output --------
Response inventorCB_VertexShapePre(void *data, SoCallbackAction *action, const SoNode *node);
Response inventorCB_ShapePre(void *data, SoCallbackAction *action, const SoNode *node);
Response inventorCB_ShapePost(void *data, SoCallbackAction *action, const SoNode *node);
Response inventorCB_VertexShapePost(void *data, SoCallbackAction *action, const SoNode *node);
void inventorCB_TrianglePrimitive(void *data, SoCallbackAction *action, const SoPrimitiveVertex *v1,
                                  const SoPrimitiveVertex *v2, const SoPrimitiveVertex *v3);
void RegisterTriangleCallbacks(SoCallbackAction *action);
void GetShapeName(SbString &result, const SoNode *node);
int ProcessShape(int pass, SoCallbackAction *action, SoNode *node);
void MatrixToFloats(const SbMatrix &matrix, float out[16]);
bool ColorEquals(const SbColor &color, float r, float g, float b);

// NURBS surfaces are tessellated by our own code (Coin3D's needs OpenGL).
// Fills corners (3 per triangle, in delivery order) for the surface node in
// the action's current state; false with a reason when it cannot.
bool TessellateNurbsSurface(SoCallbackAction *action, const SoNode *node, std::vector<SoPrimitiveVertex> &corners,
                            SbString &reason);
// The same, and warning (when not null) receives what the surface could not
// honour although it was imported: trim curves or texture coordinates that
// were ignored. Empty when there is nothing to say; otherwise a lower-case
// phrase about the surface, to be reported once at level 1.
bool TessellateNurbsSurface(SoCallbackAction *action, const SoNode *node, std::vector<SoPrimitiveVertex> &corners,
                            SbString &reason, SbString *warning);

// ---- materials/: material capture, surfaces, textures --------------------
Response inventorCB_MaterialPre(void *data, SoCallbackAction *action, const SoNode *node);
Response inventorCB_Texture2Pre(void *data, SoCallbackAction *action, const SoNode *node);
void CaptureMaterial(MaterialSnapshot &snapshot, SoState *state, int ambient, int diffuse, int specular,
                     int emissive, int shininess, int transparency);
MaterialSnapshot *FindSharedSurface(const MaterialSnapshot &snapshot);
void AssignShapeSurface(const SbString &instance, int use_default_material, SoCallbackAction *action);
void AssignFaceSurface(int material_index, SoState *state);
void GetVertexColor(int color_index, int slot, float *colors, int use_emissive, SoState *state);
void UnpackColor(uint32_t packed, float &r, float &g, float &b, float &transparency);
bool SameFaceMaterial(const MaterialSnapshot &a, const MaterialSnapshot &b);
SbString DefineSurface(const MaterialSnapshot &snapshot);
void DefineTexture(const MaterialSnapshot &snapshot, SoState *state);
bool ExtractEmbeddedTexture(SbString &path, const SbString &texture, SoState *state);
// Forgets the index that FindSharedSurface keeps over surface_list; the
// end-of-run clean-up calls it when it releases surface_list. (The index
// also notices a list that was emptied or replaced by itself.)
void ClearSurfaceIndex();

// ---- lights/: lights, cameras, headlights ---------------------------------
Response inventorCB_DirectionalLight(void *data, SoCallbackAction *action, const SoNode *node);
Response inventorCB_PointLight(void *data, SoCallbackAction *action, const SoNode *node);
Response inventorCB_SpotLight(void *data, SoCallbackAction *action, const SoNode *node);
Response inventorCB_Camera(void *data, SoCallbackAction *action, const SoNode *node);
void CreateDefaultCamera();
void CreateHeadLight(const float eye[3], const float target[3], const SbString &camera);

// ---- options/: preferences file, options dialog, about box ---------------
int16_t LoadImportConvertOptions_Inventor(const char *path);
int16_t SaveImportConvertOptions_Inventor(const char *path);
INT_PTR CALLBACK OptionsDialogProc_Inventor(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK AboutBoxProc_Inventor(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

#endif
