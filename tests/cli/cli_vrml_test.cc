// VRML97 and X3D outputs of real models: Coin3D reads every .wrl back, with
// no complaint and the triangles the .glb places, and the files pass the
// sibling checks (indices in range, texture files beside them).
#include <gtest/gtest.h>

#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/nodes/SoSeparator.h>
#include <Inventor/nodes/SoShape.h>

#include "convert_process.h"
#include "corpus_runs.h"
#include "corpus_table.h"
#include "vrml_reader.h"

namespace kavrel_test {
namespace {

struct CoinRead {
  bool read = false;                           // SoDB::readAll gave a graph
  std::string complaints;                      // Coin3D's read errors and warnings
  long triangles = 0;                          // delivered by a callback action over the graph
};

void NoteComplaint(const SoError *error, void *data) {
  *static_cast<std::string *>(data) += std::string(error->getDebugString().getString()) + "\n";
}

void CountTriangle(void *data, SoCallbackAction *, const SoPrimitiveVertex *, const SoPrimitiveVertex *,
                   const SoPrimitiveVertex *) {
  ++*static_cast<long *>(data);
}

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

TEST(VrmlFiles, CoinReadsEveryCorpusModelBackWithItsRecordedTriangles) {
  const std::vector<Model> models = AllModels();
  ASSERT_GT(models.size(), 90u) << "the inventor-data models are missing: run scripts/setup.sh";
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
