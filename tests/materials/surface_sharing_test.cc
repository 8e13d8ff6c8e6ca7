// Surface sharing: one host surface per distinct material of a run, per
// shape and per face, and the index that finds it.
#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "materials/materials.h"
#include "materials/surface_sharing.h"
#include "options/options.h"
#include "plugin/plugin.h"
#include "tests/materials/scenario_support.h"

static std::string SurfaceOf(const char *instance) {
  return kavrel::CurrentHost().scene().instances.find(instance)->surface;
}

TEST(SurfaceSharing, EqualMaterialsShareTextureAndWrapModesSeparate) {
  plugin_test::Conversion run;
  ASSERT_TRUE(material_test::WriteSgiImage(run.dir() + "wood.rgb", 1, 1, 3, {9, 9, 9}));
  const std::string texture = "Texture2 { filename \"" + run.dir() + "wood.rgb\"";
  run.ConvertText("#Inventor V2.1 ascii\nSeparator { Material { diffuseColor 1 0 0 } Cube {} Sphere {}\n" +
                  texture + " wrapS CLAMP } Cone {}\n" + texture + " } Cylinder {} }");
  EXPECT_EQ(SurfaceOf("Cube"), SurfaceOf("Sphere"));
  EXPECT_NE(SurfaceOf("Cone"), SurfaceOf("Cube"));
  EXPECT_NE(SurfaceOf("Cylinder"), SurfaceOf("Cone"));  // same file, other wrap modes
  EXPECT_NE(run.printed.find("Number of surfaces created = 3"), std::string::npos);

  run.ConvertText("#Inventor V2.1 ascii\nSeparator { Material { diffuseColor 1 0 0 } Separator { " + texture +
                  " } Cube {} } Sphere {} }");
  EXPECT_NE(SurfaceOf("Cube"), SurfaceOf("Sphere"));  // textured first, untextured after
}

TEST(SurfaceSharing, PerFaceMaterialsNameASlotWhereTheMaterialChanges) {
  auto slot_names = [](const char *material_index) {
    plugin_test::Conversion run;
    run.ConvertText(std::string(R"(#Inventor V2.1 ascii
Separator { Material { diffuseColor [1 0 0, 0 0 1] } MaterialBinding { value PER_FACE_INDEXED }
  Coordinate3 { point [0 0 0, 1 0 0, 1 1 0, 0 1 0, 2 0 0, 2 1 0] }
  IndexedFaceSet { coordIndex [0 1 2 -1, 0 2 3 -1, 1 4 5 -1, 1 5 2 -1] materialIndex [)") +
                    material_index + "] } }");
    return material_test::Lines("Import_IO_Copy_String");
  };
  const std::string red = "Import_IO_Copy_String(\"surface\")", blue = "Import_IO_Copy_String(\"surface #2\")";
  EXPECT_EQ(slot_names("0, 1, 0, 1"), (std::vector<std::string>{red, blue, red, blue}));
  EXPECT_EQ(slot_names("0, 0, 0, 0"), std::vector<std::string>{red});
  EXPECT_EQ(slot_names("0, 7, 0, 7"), std::vector<std::string>{red});  // beyond the list: entry 0
}

// The index must answer what a walk from the head of surface_list answers,
// while the list grows and after it was replaced.
TEST(SurfaceSharing, IndexAgreesWithLinearWalkOnRandomizedList) {
  SetDefaultOptions_Inventor();
  std::mt19937 random(7);
  auto pick = [&](int n) { return static_cast<int>(random() % n); };
  static const unsigned char pixels[2] = {};
  const float values[] = {0.0f, -0.0f, 0.5f, 1.0f, std::nanf("")};
  auto material = [&] {
    MaterialSnapshot s;
    s.diffuse.setValue(values[pick(4)], values[pick(3)], values[pick(5)]);
    s.ambient.setValue(values[pick(3)], 0.2f, 0.2f);
    s.shininess = values[pick(3)];
    s.texture_file = pick(3) == 0 ? "wood.rgb" : "";
    s.image = pick(3) == 0 ? &pixels[pick(2)] : nullptr;
    s.wrap_s = pick(2) ? SoTextureImageElement::REPEAT : SoTextureImageElement::CLAMP;
    return s;
  };
  std::deque<MaterialSnapshot> owned;  // the records of the list
  plugin.state->surface_list = nullptr;
  for (int i = 0; i < 50000; ++i) {
    if (i == 25000) plugin.state->surface_list = nullptr;  // a new run's list, old records still alive
    const MaterialSnapshot query = material();
    const MaterialSnapshot *walked = plugin.state->surface_list;
    while (walked && !SurfacesEqual(*walked, query)) walked = walked->next;
    ASSERT_EQ(FindSharedSurface(query), walked) << "query " << i;
    if (i % 25 == 0) {
      owned.push_back(query);
      owned.back().next = plugin.state->surface_list;
      plugin.state->surface_list = &owned.back();
    }
  }
  plugin.state->surface_list = nullptr;
  ClearSurfaceIndex();
}
