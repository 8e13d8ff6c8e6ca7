// VRML97 and X3D outputs of real models: Coin3D reads every .wrl back, with
// no complaint and the triangles, segments and points the .glb places, and
// the files pass the sibling checks (indices in range, texture files beside
// them).
#include <gtest/gtest.h>

#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/nodes/SoShape.h>

#include "convert_process.h"
#include "corpus_read_back.h"
#include "corpus_runs.h"
#include "corpus_table.h"
#include "vrml_reader.h"

namespace kavrel_test {
namespace {

struct CoinRead {
  bool read = false;                           // SoDB::readAll gave a graph
  std::string complaints;                      // Coin3D's read errors and warnings
  long triangles = 0;                          // delivered by a callback action over the graph
  long segments = 0;                           // the same
  long points = 0;                             // the same
};

void NoteComplaint(const SoError *error, void *data) {
  *static_cast<std::string *>(data) += std::string(error->getDebugString().getString()) + "\n";
}

void CountTriangle(void *data, SoCallbackAction *, const SoPrimitiveVertex *, const SoPrimitiveVertex *,
                   const SoPrimitiveVertex *) {
  ++*static_cast<long *>(data);
}

void CountSegment(void *data, SoCallbackAction *, const SoPrimitiveVertex *, const SoPrimitiveVertex *) {
  ++*static_cast<long *>(data);
}

void CountPoint(void *data, SoCallbackAction *, const SoPrimitiveVertex *) { ++*static_cast<long *>(data); }

CoinRead ReadWithCoin(const std::string &path) {
  static const bool initialized = (SoDB::init(), true);
  (void)initialized;
  CoinRead result;
  SoReadError::setHandlerCallback(NoteComplaint, &result.complaints);
  SoInput input;
  if (!input.openFile(path.c_str())) return result;
  SoSeparator *root = SoDB::readAll(&input);
  if (root == nullptr) return result;
  result.read = true;
  root->ref();
  SoCallbackAction action;
  action.addTriangleCallback(SoShape::getClassTypeId(), CountTriangle, &result.triangles);
  action.addLineSegmentCallback(SoShape::getClassTypeId(), CountSegment, &result.segments);
  action.addPointCallback(SoShape::getClassTypeId(), CountPoint, &result.points);
  action.apply(root);
  root->unref();
  return result;
}

TEST(VrmlFiles, BothEncodingsOfRealModelsReadBackWithTheGltfsTriangles) {
  // Shared meshes, per-face materials, a light and an extracted texture.
  for (const char *model : {"buildings/windmill.iv", "vehicles/767.iv", "scenes/chesschairs.iv", "simple/texture.iv"}) {
    ScratchDirectory scratch;
    const std::string input = std::string(KAVREL_INVENTOR_MODELS) + "/" + model;
    for (const char *output : {"model.glb", "model.wrl", "model.x3d"}) {
      ASSERT_EQ(RunConvert(scratch, {"-q", "-o", output, input}, scratch.path()).status, 0) << model << output;
    }
    const long triangles = CountGlbTriangles(scratch.path() + "/model.glb");
    const CoinRead coin = ReadWithCoin(scratch.path() + "/model.wrl");
    EXPECT_TRUE(coin.read) << model;
    EXPECT_EQ(coin.complaints, "") << model;
    EXPECT_EQ(coin.triangles, triangles) << model;
    for (const char *output : {"model.wrl", "model.x3d"}) {
      const VrmlFile file = ReadVrmlFile(scratch.path() + "/" + output);
      EXPECT_EQ(VrmlProblems(file, scratch.path()), std::vector<std::string>{}) << model << " " << output;
      EXPECT_EQ(PlacedTriangles(file), triangles) << model << " " << output;
    }
  }
}

TEST(VrmlFiles, LineSetsPointSetsAndShapesDrawnAsLinesReadBackAsLinesAndPoints) {
  ScratchDirectory scratch;
  const std::string input = scratch.Write("lines.iv", R"(#Inventor V2.1 ascii
Separator {
  Material { diffuseColor 1 0.5 0 }
  Coordinate3 { point [ 0 0 0, 1 0 0, 1 1 0, 0 1 0 ] }
  LineSet { numVertices [ 3 ] }
  PointSet { numPoints 4 }
  Translation { translation 3 0 0 }
  DrawStyle { style LINES }
  Cube {}
}
)");
  Counts said[2];
  int f = 0;
  for (const char *output : {"lines.wrl", "lines.x3d"}) {
    const ProcessResult run = RunConvert(scratch, {"-o", output, input}, scratch.path());
    ASSERT_EQ(run.status, 0) << output << run.err;
    said[f] = SummaryCounts(run.out);
    said[f].erase("bytes");
    const VrmlFile file = ReadVrmlFile(scratch.path() + "/" + output);
    EXPECT_EQ(said[f], VrmlCounts(file)) << output;
    EXPECT_EQ(VrmlProblems(file, scratch.path()), std::vector<std::string>{}) << output;
    ++f;
  }
  EXPECT_EQ(said[0], said[1]);
  // The LineSet's 2 segments, the cube's 12 edges and its sides' 6
  // diagonals; the PointSet's 4 points.
  EXPECT_EQ(said[0]["triangles"], 0);
  EXPECT_EQ(said[0]["lines"], 2 + 12 + 6);
  EXPECT_EQ(said[0]["points"], 4);
  const CoinRead coin = ReadWithCoin(scratch.path() + "/lines.wrl");
  EXPECT_TRUE(coin.read);
  EXPECT_EQ(coin.complaints, "");
  EXPECT_EQ(coin.triangles, 0);
  EXPECT_EQ(coin.segments, said[0]["lines"]);
  EXPECT_EQ(coin.points, 4);
}

TEST(VrmlFiles, CoinReadsEveryCorpusModelBackWithItsRecordedTriangles) {
  ASSERT_GT(AllModels().size(), 90u) << "the inventor-data models are missing: run scripts/setup.sh";
  const std::vector<Model> models = FormatCorpus();
  const CorpusTable recorded = ReadCorpusTable(std::string(KAVREL_SOURCE_DIR) + "/tests/cli/corpus_statistics.txt");
  ScratchDirectory scratch;
  ConvertAll(scratch, models, ".wrl", [&](const Model &model, const ProcessResult &, const std::string &wrl) {
    const CoinRead coin = ReadWithCoin(wrl);
    EXPECT_TRUE(coin.read && coin.complaints.empty()) << model.name << ": " << coin.complaints;
    EXPECT_EQ(VrmlProblems(ReadVrmlFile(wrl), scratch.path()), std::vector<std::string>{}) << model.name;
    auto expected = recorded.find(model.name);
    ASSERT_NE(expected, recorded.end()) << model.name;
    EXPECT_EQ(coin.triangles, expected->second.triangles) << model.name;
  });
}

}  // namespace
}  // namespace kavrel_test
