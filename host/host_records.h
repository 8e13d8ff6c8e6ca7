/* Records exchanged between the plug-in and the host at fixed byte offsets
 * (64-bit pointers, little-endian). Every offset the plug-in relies on is
 * pinned below; the fields in between belong to the host. */
#ifndef HOST_HOST_RECORDS_H
#define HOST_HOST_RECORDS_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Token handle of the host toolkit: pointer-sized, never 0 or 1. */
typedef intptr_t Kv_Token;

/* Closes an attribute group inside an attribute list. */
#define KV_GROUP_END ((intptr_t)1)
/* Ends an attribute list. */
#define KV_LIST_END ((intptr_t)0)

/* Polygon buffer of the import support library. Vertex slot 3n + k holds
 * corner k of triangle n when the plug-in fills it. */
typedef struct IndexedPolygons {
  float *positions;            /* 0: 3 floats x, y, z per vertex */
  float *normals;              /* 8: 3 floats per vertex */
  float *texcoords;            /* 16: 3 floats u, v, w per vertex */
  float *tangents;             /* 24: unused by importers, null */
  float *binormals;            /* 32: unused by importers, null */
  float *colors;               /* 40: 3 floats r, g, b per vertex; null without colours */
  float *alphas;               /* 48: unused by importers, null */
  int32_t *vertex_indices;     /* 56: vertex slot per polygon corner */
  int32_t num_polygons;        /* 64: polygons the arrays hold */
  int32_t num_vertex_indices;  /* 68: entries of vertex_indices */
  int32_t num_vertices;        /* 72: entries of positions */
  int32_t num_normals;         /* 76: entries of normals (0: none) */
  int32_t num_colors;          /* 80: entries of colors (0: none) */
  int32_t num_texcoords;       /* 84: entries of texcoords (0: none) */
  int32_t extra_counts[3];     /* 88: allocation arguments 7 to 9, kept as given */
  int32_t texture_layers;      /* 100: allocation argument 10 */
  int32_t clockwise;           /* 104: 1 when corners run clockwise seen from the front */
  int32_t data_flags;          /* 108: allocation argument 12 (5, or 7 with colours) */
  int32_t *vertices_per_polygon; /* 112: corner count per polygon */
  int32_t has_surface_names;   /* 120: 1 when surface_names is allocated */
  int32_t reserved0;           /* 124: padding */
  float bbox_min[3];           /* 128: bounding box of positions (Import_IO_Compute_BoundingBox) */
  float bbox_max[3];           /* 140 */
  int32_t bbox_valid;          /* 152: 1 once the box was computed */
  int32_t reserved1;           /* 156: padding */
  void *host_private;          /* 160: owned by the import support library */
  char **surface_names;        /* 168: surface name per polygon; null entry = same as previous polygon */
} IndexedPolygons;

/* Progress record handed to Import_IO_Check_For_Abort; 40 bytes. */
typedef struct Import_IO_AbortCheckRecord {
  uint16_t size;               /* 0: 40, the size of the record */
  uint8_t unused[6];           /* 2: not written */
  uint64_t reserved;           /* 8: 0 */
  uint64_t file_size;          /* 16: input file size in bytes */
  int64_t objects_created;     /* 24: objects emitted so far */
  int64_t polygons_output;     /* 32: polygons emitted so far */
} Import_IO_AbortCheckRecord;

/* Error record handed to the plug-in's error hook. */
typedef struct Import_IO_ErrorRecord {
  int32_t level;               /* 0: 1 ordinary ... 5 fatal */
  int32_t reserved;            /* 4: 0 */
  const char *source;          /* 8: reporting library, "Import_IO" */
  const char *message;         /* 16: NUL-terminated message text */
} Import_IO_ErrorRecord;

typedef void (*Import_IO_ErrorHook)(Import_IO_ErrorRecord *record);

/* Image record passed to every Kv_Image_Save call. */
typedef struct Kv_ImageRecord {
  uint16_t width;              /* 0: pixels per row */
  uint16_t height;             /* 2: rows */
  uint16_t channels;           /* 4: planes in use: 1, 3 or 4 */
  uint16_t rows_per_strip;     /* 6: rows per scanline call; importers send 1 */
  uint8_t *planes[4];          /* 8: one row buffer per channel, supplied by the host on "writeheader" */
  int32_t row;                 /* 40: host: next row to write */
  int32_t reserved;            /* 44 */
} Kv_ImageRecord;

/* Answer of Kv_Inquire_Texture "imageinfo". */
typedef struct Kv_ImageInfo {
  uint16_t width;              /* 0: pixels per row */
  uint16_t height;             /* 2: rows */
  uint16_t bits_per_component; /* 4: 8 for the formats read here */
  int16_t components;          /* 6: 1 grey, 2 grey+alpha, 3 rgb, 4 rgba */
  int32_t file_type;           /* 8: Kv_Determine_Image_File_Type value */
  int32_t reserved;            /* 12 */
} Kv_ImageInfo;

#ifdef __cplusplus
} /* extern "C" */

static_assert(offsetof(IndexedPolygons, positions) == 0, "positions at 0");
static_assert(offsetof(IndexedPolygons, normals) == 8, "normals at 8");
static_assert(offsetof(IndexedPolygons, texcoords) == 16, "texcoords at 16");
static_assert(offsetof(IndexedPolygons, colors) == 40, "colors at 40");
static_assert(offsetof(IndexedPolygons, vertex_indices) == 56, "indices at 56");
static_assert(offsetof(IndexedPolygons, vertices_per_polygon) == 112, "counts at 112");
static_assert(offsetof(IndexedPolygons, surface_names) == 168, "surface names at 168");
static_assert(sizeof(Import_IO_AbortCheckRecord) == 40, "abort record is 40 bytes");
static_assert(offsetof(Import_IO_AbortCheckRecord, reserved) == 8, "0 at 8");
static_assert(offsetof(Import_IO_AbortCheckRecord, file_size) == 16, "file size at 16");
static_assert(offsetof(Import_IO_AbortCheckRecord, objects_created) == 24, "objects at 24");
static_assert(offsetof(Import_IO_AbortCheckRecord, polygons_output) == 32, "polygons at 32");
static_assert(offsetof(Import_IO_ErrorRecord, level) == 0, "level at 0");
static_assert(offsetof(Import_IO_ErrorRecord, message) == 16, "message at 16");
static_assert(offsetof(Kv_ImageRecord, width) == 0, "width at 0");
static_assert(offsetof(Kv_ImageRecord, height) == 2, "height at 2");
static_assert(offsetof(Kv_ImageRecord, channels) == 4, "channels at 4");
static_assert(offsetof(Kv_ImageRecord, rows_per_strip) == 6, "fourth field at 6");
static_assert(offsetof(Kv_ImageRecord, planes) == 8, "planes from 8");
static_assert(offsetof(Kv_ImageInfo, components) == 6, "component count at 6");
#endif

#endif
