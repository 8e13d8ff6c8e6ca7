/* The host toolkit: the scene database, output drivers and images, vector
 * and matrix operations, paths, memory and error reports.
 *
 * Attribute lists ("...") are sequences of pointer-sized values: tokens
 * from Kv_Inquire_Token, plain strings, pointers to values, the group
 * closer KV_GROUP_END (1) and the list end KV_LIST_END (0). Every entry is
 * read back as intptr_t, so an int literal must never travel there: the
 * plug-in builds every list through kv_list() of host/kv_call.hpp.
 *
 * Matrices are 16 floats, row by row, translation in elements 12 to 14;
 * points are row vectors: p' = p x M. Definition calls answer 0 on success
 * and nonzero when the host could not decode or apply the call. */
#ifndef HOST_KV_TOOLKIT_H
#define HOST_KV_TOOLKIT_H

#include <stdint.h>
#include "host/host_records.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Tokens */
Kv_Token Kv_Inquire_Token(const char *word);

/* Scene building */
int Kv_Object_Define(const char *object, ...);
int Kv_Object_End(intptr_t first, ...);
int Kv_Instance(const char *instance, ...);
int Kv_Add_Instance(Kv_Token kind, const char *instance, ...);
int Kv_Add_Empty_Node(Kv_Token kind, const char *instance, ...);
int Kv_Attach(Kv_Token kind, const char *child, ...);
int Kv_Transform(Kv_Token kind, const char *instance, ...);
int Kv_Remove(Kv_Token kind, const char *name, ...);

/* Attributes */
int Kv_Surface(const char *surface, ...);
int Kv_Surfacelink(Kv_Token kind, const char *surface, ...);
int Kv_Texture(const char *texture, ...);
int Kv_Light(const char *light, ...);
int Kv_Camera(const char *camera, ...);

/* Meshes: "combine" "vertex"|"normal"|"texture"|"color" threshold,
 * "calcnormals" "angle" degrees, "merge" "quads" "enabled" on|off "angle" degrees. */
int Kv_Manipulate_IndexedPolygons(const char *object, intptr_t reserved, ...);

/* Queries: answers are written through the pointers passed. */
int Kv_Inquire_Instance(const char *instance, ...);
int Kv_Inquire_Texture(const char *texture, void *result, ...);
int Kv_Handle_Name_Exists(const char *name, int32_t *exists, ...);
/* "confirm" "overwrites" "enabled" Kv_Token*: writes the token of "on" or "off". */
int Kv_Inquire_Option(Kv_Token first, ...);
/* *description points at the driver's description while the driver lives;
 * "enabled" Kv_Token*: writes the token of "on" or "off". result is not written. */
int Kv_Inquire_Output_Driver(const char *driver, void *result, const char **description, ...);
int Kv_Inquire_Environment(const char *name, int64_t *value);
/* 0 when the file is an image the host reads (type written to *file_type), 1 when missing or unreadable. */
int Kv_Determine_Image_File_Type(const char *path, int32_t *file_type);

/* Output drivers, options and images */
/* A driver comes into being with "file" "tiff" (then "filename" path, "mode"
 * "a"|"rgb"|"rgba"), enabled; "enabled" on|off switches an existing one. */
int Kv_Output_Driver(const char *driver, ...);
int Kv_Option(Kv_Token first, ...);
/* "writeheader" (the host fills the record's planes with one row buffer per
 * channel), "writescanline" (the rows in the planes), "close"; *status is
 * nonzero when an enabled driver refused or none is enabled. */
int Kv_Image_Save(Kv_ImageRecord *image, int32_t *status, ...);

/* Hierarchy optimisers: may merge or remove instances below root. */
int Kv_OptimizeHierarchy(const char *root, int32_t *removed, int32_t *merged);
int Kv_OptimizeHierarchy2(const char *root, int32_t *removed, int32_t *merged);

/* Maths */
void Kv_Matrix_Identity(float m[16]);
/* out = a x b (row vectors: a is applied first); out may alias a or b. */
void Kv_Matrix_Multiply(int16_t count, const float a[16], const float b[16], float out[16]);
/* Quaternion q = (x, y, z, w) for a rotation of angle radians about axis. */
void Kv_AngleAxis2Q(const float axis[3], double angle, float q[4], int flags);
void Kv_Matrix_Q2RotationMatrix(const float q[4], float m[16]);
/* out = p x m (translation included); the six leading flags are 1. */
void Kv_Vector_Transform(int32_t flag, int16_t f1, int16_t f2, int16_t f3, int16_t f4, int16_t f5,
                         const float p[3], const float m[16], float out[3]);
void Kv_Vector_Normalize(float v[3]);
void Kv_Vector_Zero(float v[3]);

/* Files, memory, errors */
#define KV_MAX_PATH 1024
/* Rewrites path in place into this platform's form (separators). */
void Kv_Convert_Pathname(char *path);
/* File-name part of path into buffer (KV_MAX_PATH bytes); returns buffer. */
char *Kv_ExtractBaseFileName(const char *path, char *buffer, int flags);
/* Directory part of path, ending with a separator, into buffer (KV_MAX_PATH bytes); "" when none. */
char *Kv_ExtractBaseFilePath(const char *path, char *buffer);
void Kv_Free_Memory(void *memory);
/* The number of string arguments after the function name follows from code. */
void Kv_Report_Error(int level, const char *code, const char *function, ...);
void Kv_Report_Error_printf(int level, const char *format, ...);
void Kv_RegisterClassStorage(uint32_t class_id, intptr_t a, intptr_t b);
void Kv_RegisterClassStorageAux(int32_t flag);

#ifdef __cplusplus
}
#endif

#endif
