/* The import support library: run frame, reporting, the root instance of
 * an import, naming, polygon buffers, strings and dialog support. */
#ifndef HOST_IMPORT_IO_H
#define HOST_IMPORT_IO_H

#include <stdint.h>
#include "host/host_records.h"
#include "host/platform_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Run frame */
void Import_IO_Initialize(const char *path, Import_IO_ErrorHook hook);
void Import_IO_Cleanup(void);
void Import_IO_Abort_Cleanup(void);
/* Nonzero once the host was asked to stop (for example by Ctrl-C). */
int Import_IO_Check_For_Abort(Import_IO_AbortCheckRecord *progress);

/* Reporting. Level 5 hands the error record to the run's hook. */
void Import_IO_Report_Error(int level, const char *text);
void Import_IO_Display_Info_Text(const char *text);
void Import_IO_printf(const char *format, ...);

/* Root instance: made after the file's base name, attached under "world";
 * its name is written into name (512 bytes). */
void Import_IO_MakeSaveAndAttachRootInstance(const char *path, char *name);
const char *Import_IO_Get_Root_Imported_Instance_Name(void);
void Import_IO_Set_Root_Imported_Instance_Name(const char *name);
/* Gathers the meshes below the root into fewer objects, transforms baked in. */
int Import_IO_RecursivelyMoveChildrenOfRootInstanceToNewObjects(intptr_t a, const char *root,
                                                                intptr_t b, intptr_t c, intptr_t d);

/* Naming: a name of that kind not yet in the database, recorded so that
 * later calls never return it again; result holds 512 bytes. */
int Import_IO_MakeAndSaveUniqueName(Kv_Token kind, const char *base, char *result);

/* Polygon buffers: one current buffer at a time. data_flags says what a
   buffer carries: positions, normals and texture coordinates, and with 7
   vertex colours too. */
enum { kPolygonData = 5, kPolygonDataWithColors = 7 };
IndexedPolygons *Import_IO_Alloc_Indexedpolygons(int32_t num_polygons, int32_t num_vertex_indices,
                                                 int32_t num_vertices, int32_t num_normals,
                                                 int32_t num_colors, int32_t num_texcoords,
                                                 int32_t extra1, int32_t extra2, int32_t extra3,
                                                 int32_t texture_layers, int32_t clockwise,
                                                 int32_t data_flags, int32_t with_surface_names);
void Import_IO_Compute_BoundingBox(int32_t num_vertices, const float *positions);
/* Writes the current buffer into the object being defined (Kv_Object_Define).
   Its arrays move to the object: afterwards the record's array fields (but
   for the surface names) are null; the counts stay. */
int Import_IO_Output_Indexedpolygons(intptr_t a, const char *object, intptr_t b, float c);
void Import_IO_Free_Indexedpolygons(void);

/* Strings: *field = heap copy of text (released with Kv_Free_Memory); returns it. */
char *Import_IO_Copy_String(char **field, const char *text);
/* Removes white space at both ends in place; nonzero when text remains. */
int16_t Import_IO_Strip_Whitespace(char *text);

/* Dialog support */
void Import_IO_Center_Window(HWND parent, HWND dialog);
void Import_IO_DisplayHelpTopic(HWND dialog, const char *directory, const char *file, const char *topic);
/* Reads a number from an edit control; nonzero when the text was a number. */
int Import_IO_Dialog_To_NdFloat(HWND dialog, int id, float *value);
int Import_IO_Dialog_To_NdInt(HWND dialog, int id, int32_t *value);
void Import_IO_NdFloat_To_Dialog(HWND dialog, int id, float value);
void Import_IO_NdInt_To_Dialog(HWND dialog, int id, int32_t value);
void Import_IO_Set_Control_Enable(HWND dialog, int id, int enable);
void Import_IO_SetFocus_Edit_Control(HWND dialog, int id);
/* Reads, tests and stores the smoothing angle; nonzero when acceptable. */
int Import_IO_Check_Smoothing_Angle(HWND dialog, int id, float *angle);
/* Lets the user choose a directory into *field (a new Import_IO_Copy_String
 * string); nonzero when one was chosen. */
int Import_IO_GetWindowsOutputDirectory(HWND dialog, char **field, const char *title, const char *prompt);
void Import_IO_ShowMoveChildrenOfYellowFolderOptionsDialogBox(HWND dialog, int flag);

#ifdef __cplusplus
}
#endif

#endif
