// The control ids of the options dialog and the about box as their
// description numbers them, written down apart from options/resource.h:
// the resource script and the dialog procedures share that file, so a test
// naming controls through it would pass with a control id swapped in both.
#ifndef TESTS_WINDOWS_DESCRIBED_IDS_H
#define TESTS_WINDOWS_DESCRIBED_IDS_H

namespace described {

enum : int {
  kStatic = -1,  // controls without an id of their own
  // Buttons along the bottom (the about box has OK and Help)
  kOk = 1,
  kCancel = 2,
  kHelp = 200,
  kAbout = 201,
  kReset = 202,
  // Inventor Import Options
  kSmoothNormals = 154,
  kSmoothingAngle = 155,
  kFlipYUp = 142,
  kCameraHeadlight = 143,
  kQuickNaming = 144,
  kPrintStats = 107,
  kTransparencySource = 135,
  kLodSource = 172,
  kLodLevelLabel = 174,
  kLodLevel = 173,
  kOptimizeHierarchy1 = 149,
  kOptimizeHierarchy2 = 150,
  kOptimizeObjects = 175,
  kObjectOptions = 176,
  kShadingAttribute = 151,
  kShadingOperation = 152,
  kShadingValue = 153,
  // Polygon Welding & Merging
  kWeldVertices = 156,
  kWeldVerticesThreshold = 160,
  kWeldTexCoords = 157,
  kWeldTexCoordsThreshold = 161,
  kWeldVertexColors = 158,
  kWeldVertexColorsThreshold = 162,
  kWeldNormals = 159,
  kWeldNormalsThreshold = 163,
  kMergePolygons = 164,
  kQuadsOnly = 165,
  kCoplanarAngle = 166,
  kCoplanarAngleLabel = 167,
  // Texture Map Extraction
  kLoadTextures = 118,
  kDisplayTextures = 119,
  kSaveDirLabel = 122,
  kSaveDirSame = 123,
  kSaveDirSpecific = 124,
  kSaveDir = 125,
  kSaveDirBrowse = 126,
  kConfirmOverwrite = 127,
  kRefDirStrip = 128,
  kRefDirSpecific = 129,
  kRefDir = 130,
  kRefDirBrowse = 131,
  kAlphaSource = 132,
  kAlphaInvert = 133,
  kAlphaSourceLabel = 134,
  // Selective Loading
  kImportLights = 110,
  kImportCameras = 111,
  kImportMaterials = 112,
  kImportTextureReferences = 168,
  kImportVertexNormals = 169,
  kImportUvCoordinates = 170,
  kImportVertexColors = 171,
};

}  // namespace described

#endif
