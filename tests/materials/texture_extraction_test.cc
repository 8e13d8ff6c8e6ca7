// Embedded Texture2 pixels written to TIFF files through the host's output
// drivers, and the host settings put back afterwards.
#include <gtest/gtest.h>

#include <filesystem>

#include <Inventor/SoDB.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/nodes/SoCube.h>
#include <Inventor/nodes/SoSeparator.h>

#include "materials/texture_extraction.h"
#include "options/options.h"
#include "plugin/plugin.h"
#include "tests/materials/scenario_support.h"

using Lines = std::vector<std::string>;

namespace {

std::string EmbeddedCube(const char *image) {
  return std::string("#Inventor V2.1 ascii\nSeparator { Texture2 { image ") + image + " } Cube {} Sphere {} }";
}

void WindowedDisplay() {
  kavrel::OutputDriver *display = kavrel::CurrentHost().scene().drivers.find("driver1");
  display->description = "Windows v3.1 display";
  display->enabled = false;
}

}  // namespace

// Inventor's first image row is the bottom one; a TIFF file starts at the top.
TEST(TextureExtraction, PixelsAreWrittenBesideTheFileInTheirModesTopRowFirst) {
  const struct { const char *image, *mode; int samples; std::vector<uint8_t> bytes; } cases[] = {
      {"2 2 4 0xff000080 0x00ff00ff 0x0000ffff 0xffffff00", "rgba", 4,
       {0, 0, 0xff, 0xff, 0xff, 0xff, 0xff, 0, 0xff, 0, 0, 0x80, 0, 0xff, 0, 0xff}},
      {"3 1 3 0x102030 0x405060 0x708090", "rgb", 3, {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90}},
      {"2 1 2 0x11ff 0x2280", "a", 1, {0x11, 0x22}},  // grey+alpha: the alpha is lost
      {"1 2 1 0x33 0x44", "a", 1, {0x44, 0x33}}};
  for (const auto &c : cases) {
    plugin_test::Conversion run;
    run.ConvertText(EmbeddedCube(c.image));
    const std::string tiff = run.dir() + "texture.tif";
    EXPECT_EQ(material_test::Lines("Kv_Output_Driver").at(1), "Kv_Output_Driver(\"INVENTORConverterTIFF\" file tiff | "
                                                         "filename \"" + tiff + "\" | mode " + c.mode + " | .)");
    int width = 0, height = 0, samples = 0;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(material_test::ReadTiff(tiff, &width, &height, &samples, &bytes)) << c.image;
    EXPECT_EQ(samples, c.samples);
    EXPECT_EQ(width * height * samples, static_cast<int>(c.bytes.size()));
    EXPECT_EQ(bytes, c.bytes) << c.image;
    EXPECT_EQ(material_test::Lines("Kv_Texture").size(), 1u);
    EXPECT_TRUE(run.errors.empty());
  }
}

TEST(TextureExtraction, UnwritableDirectoryIsReportedAndSettingsComeBack) {
  plugin_test::Conversion run;
  const std::string unwritable = run.dir() + "no/";
  run.ConvertText(EmbeddedCube("1 1 1 0x33"), {{"txtr_save_dir", unwritable}, {"textures_confirm_overwrite", "0"}});
  EXPECT_FALSE(std::filesystem::exists(unwritable + "texture.tif"));
  ASSERT_FALSE(run.Errors(1).empty());
  EXPECT_EQ(run.Errors(1).back(), "Error creating texture map from embedding pixel data in Texture2 node.");
  EXPECT_TRUE(material_test::Lines("Kv_Texture").empty());
  EXPECT_NE(kavrel::CurrentHost().scene().instances.find("Sphere"), nullptr);  // the conversion went on
  EXPECT_EQ(material_test::Lines("Kv_Option"), (Lines{"Kv_Option(confirm overwrites enabled off .)",
                                                 "Kv_Option(confirm overwrites enabled on .)"}));
  EXPECT_EQ(kavrel::CurrentHost().scene().drivers.find("INVENTORConverterTIFF"), nullptr);

  // A display that can show the image takes it alone; the texture then
  // refers to the file that is not there.
  run.ConvertText(EmbeddedCube("1 1 1 0x33"), {{"txtr_save_dir", unwritable}}, WindowedDisplay);
  const Lines drivers = material_test::Lines("Kv_Output_Driver");
  EXPECT_EQ(drivers.front(), "Kv_Output_Driver(\"driver1\" enabled on .)");
  EXPECT_EQ(drivers.back(), "Kv_Output_Driver(\"driver1\" enabled off .)");
  EXPECT_EQ(run.Errors(1).back(), "Texture image file '" + unwritable + "texture.tif' type not supported or not found.");

  run.environment["KV_RUNING_IN_MAX"] = 1;  // inside that host nothing is shown
  run.ConvertText(EmbeddedCube("1 1 1 0x33"), {}, WindowedDisplay);
  EXPECT_EQ(material_test::Lines("Kv_Output_Driver").front(), "Kv_Output_Driver(\"driver1\" enabled off .)");
}

TEST(TextureExtraction, InvalidPixelDataIsRefusedBeforeAnyDriverIsTouched) {
  plugin_test::Conversion run;
  SoDB::init();
  SetDefaultOptions_Inventor();
  kavrel::CurrentHost().journal().clear();
  SoSeparator *root = new SoSeparator;
  root->ref();
  root->addChild(new SoCube);
  bool extracted[2] = {true, true};
  SoCallbackAction action;
  action.addPreCallback(SoCube::getClassTypeId(), [](void *data, SoCallbackAction *a, const SoNode *node) {
    SbString path;
    static_cast<bool *>(data)[0] = ExtractEmbeddedTexture(path, "texture", a->getState());  // no pixels
    static const unsigned char five[5] = {};
    SoTextureImageElement::set(a->getState(), const_cast<SoNode *>(node), SbVec2s(1, 1), 5, five,
                               SoTextureImageElement::REPEAT, SoTextureImageElement::REPEAT,
                               SoTextureImageElement::MODULATE, SbColor(0, 0, 0));
    static_cast<bool *>(data)[1] = ExtractEmbeddedTexture(path, "texture", a->getState());
    return SoCallbackAction::CONTINUE;
  }, extracted);
  action.apply(root);
  root->unref();
  EXPECT_FALSE(extracted[0] || extracted[1]);
  EXPECT_EQ(run.Errors(1), Lines{"Invalid Texture2 pixel data."});
  EXPECT_TRUE(material_test::Lines("Kv_Output_Driver").empty());
  EXPECT_TRUE(material_test::Lines("Kv_Handle_Name_Exists").empty());
}
