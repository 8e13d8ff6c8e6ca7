// What the light, camera and headlight callbacks share: unique names,
// point transforms, the directional light's host call and the run's records.
#ifndef LIGHTS_LIGHT_DEFINITION_H
#define LIGHTS_LIGHT_DEFINITION_H

#include <Inventor/SbString.h>

#include "state/inventor_state.h"

class SoCallbackAction;
class SoNode;

// A light name unique in the run (kind "light").
SbString UniqueLightName(const SbString &wanted);

// The model matrix of the action's state as 16 floats, translation in 12..14.
void ModelMatrixFloats(SoCallbackAction *action, float matrix[16]);

// p = p x matrix, translation included, through the host.
void TransformPoint(float p[3], const float matrix[16]);

// One directional light: colour, on or off, intensity and the direction
// towards the light (not normalised).
void DefineDirectionalLight(const SbString &name, const float color[3], bool on, float intensity,
                            const float shinedir[3]);

// Counts a light of the run and lists it for the clean-up.
void RecordLight(const SbString &name);

// Puts a record holding name at the head of list.
void PushNamedRecord(NamedRecord *&list, const SbString &name);

// A light that follows a camera: at eye, pointing at target, named after the camera.
void CreateHeadLight(const float eye[3], const float target[3], const SbString &camera);

#endif
