// Surfaces, textures, lights and cameras defined with the lists an
// importer sends, checked in the journal and in the scene database.
#include "tests/toolkit/toolkit_fixture.h"

namespace {

TEST_F(ToolkitTest, SurfaceDefinitionCallsBuildTheSurface) {
  float diffuse[3] = {1, 0.5f, 0}, coeff = 0.4f, zero[3] = {0, 0, 0}, one = 1, opacity = 0.75f;
  int32_t shininess = 25;
  const char *s = "surface";
  kv_list(Kv_Surface, s, tok("specularcolor"), tok("enabled"), tok("on"), kGroup, tok("luminouscolor"),
          tok("enabled"), tok("on"), kGroup, tok("ambientcolor"), tok("enabled"), tok("on"), kGroup, tok("model"),
          tok("phong"), kGroup, tok("opacity"), kGroup);
  kv_list(Kv_Surface, s, tok("color"), tok("rgb"), diffuse, kGroup, tok("shadingcoeffs"), tok("diffuse"), &coeff);
  kv_list(Kv_Surface, s, tok("specularcolor"), tok("color"), tok("rgb"), zero, kGroup, tok("shadingcoeffs"),
          tok("specular"), &one);
  kv_list(Kv_Surface, s, tok("model"), tok("phong"), tok("shininess"), &shininess);
  kv_list(Kv_Surface, s, tok("opacity"), tok("facecoeff"), &opacity);

  EXPECT_EQ(Last("Kv_Surface"), "Kv_Surface(\"surface\" opacity facecoeff [0.75] .)");
  EXPECT_EQ(host_.journal().calls("Kv_Surface")[0]->to_string(),
            "Kv_Surface(\"surface\" specularcolor enabled on | luminouscolor enabled on | ambientcolor enabled on | "
            "model phong | opacity | .)");
  const kavrel::Surface &surface = *db().surfaces.find(s);
  EXPECT_TRUE(surface.specular_enabled && surface.luminous_enabled && surface.ambient_enabled);
  EXPECT_EQ(surface.diffuse_color, (kavrel::Vec3{1, 0.5f, 0}));
  EXPECT_FLOAT_EQ(surface.diffuse_coeff, 0.4f);
  EXPECT_FLOAT_EQ(surface.specular_coeff, 1.0f);
  EXPECT_EQ(surface.phong_shininess, 25);
  EXPECT_FLOAT_EQ(surface.opacity, 0.75f);
  EXPECT_TRUE(errors.empty());

  // The untruncated exponent, until an integer exponent replaces it.
  float exponent = 25.6f;
  kv_list(Kv_Surface, s, tok("model"), tok("phong"), tok("exponent"), &exponent);
  EXPECT_FLOAT_EQ(db().surfaces.find(s)->phong_exponent, 25.6f);
  kv_list(Kv_Surface, s, tok("model"), tok("phong"), tok("shininess"), &shininess);
  EXPECT_LT(db().surfaces.find(s)->phong_exponent, 0.0f);
}

TEST_F(ToolkitTest, TextureAndItsLinkWithAlphaModulation) {
  // The file-type value travels by value: 1 is a value here, not a group end.
  kv_list(Kv_Texture, "texture", tok("image"), tok("textureimage"), intptr_t{1}, "maps/wood.rgb", kGroup,
          tok("enabled"), tok("on"), kGroup, tok("alphachansrc"), tok("type"), tok("type3"), tok("invert"),
          tok("enabled"), tok("on"), kGroup, tok("wrapu"), tok("enabled"), tok("off"), kGroup, tok("wrapv"),
          tok("enabled"), tok("on"), kGroup, tok("filter"), tok("mipmap"), kGroup);
  EXPECT_EQ(Last("Kv_Texture"),
            "Kv_Texture(\"texture\" image textureimage <1> \"maps/wood.rgb\" | enabled on | alphachansrc type "
            "type3 invert enabled on | wrapu enabled off | wrapv enabled on | filter mipmap | .)");
  const kavrel::Texture &texture = *db().textures.find("texture");
  EXPECT_EQ(texture.file_type, 1);
  EXPECT_EQ(texture.path, "maps/wood.rgb");
  EXPECT_TRUE(texture.enabled && texture.alpha_invert && !texture.wrap_u && texture.wrap_v);
  EXPECT_EQ(texture.alpha_source, "type3");

  float one = 1, zero = 0;
  kv_list(Kv_Surface, "surface", tok("texture"), "layer 1", tok("enabled"), tok("on"), tok("texturelink"),
          "texture", tok("uscale"), &one, tok("vscale"), &one, tok("uoffset"), &zero, tok("voffset"), &zero,
          tok("modulate"), tok("faceopacity"), tok("enabled"), tok("on"), tok("modulatesrc"), tok("faceopacity"),
          tok("alphachan"), kGroup);
  const kavrel::Surface &surface = *db().surfaces.find("surface");
  ASSERT_EQ(surface.layers.size(), 1u);
  const kavrel::TextureLayer &layer = surface.layers[0];
  EXPECT_EQ(layer.layer, "layer 1");
  EXPECT_EQ(layer.texture, "texture");
  EXPECT_TRUE(layer.enabled && layer.alpha_modulates_opacity);
  EXPECT_TRUE(errors.empty()) << errors[0];
}

TEST_F(ToolkitTest, LightsOfEveryKindAndTheDefaultAmbient) {
  float white[3] = {1, 1, 1}, dir[3] = {0, 0, 1}, from[3] = {11, 2, 3}, at[3] = {0, -1, 0};
  float intensity = 0.5f, distance = 100, cutoff = 45, delta = 0;
  int32_t decay = 2;
  kv_list(Kv_Light, "sun", tok("color"), tok("rgb"), white, kGroup, tok("model"), tok("direction"), kGroup,
          tok("enabled"), tok("off"), kGroup, tok("intensity"), &intensity, kGroup, tok("shinedir"), dir, kGroup);
  kv_list(Kv_Light, "spot", tok("model"), tok("spot"), kGroup, tok("color"), tok("rgb"), white, kGroup,
          tok("enabled"), tok("on"), kGroup, tok("intensity"), &intensity, kGroup, tok("shineat"), at, kGroup,
          tok("shinefrom"), from, kGroup, tok("cutoff"), &cutoff, kGroup, tok("decay"), &decay, kGroup,
          tok("delta"), &delta, kGroup, tok("distance"), &distance, kGroup);
  kv_list(Kv_Light, "defaultambient", tok("enabled"), tok("off"));

  const kavrel::Light &sun = *db().lights.find("sun");
  EXPECT_EQ(sun.model, "direction");
  EXPECT_FALSE(sun.enabled);
  EXPECT_EQ(sun.shinedir, (kavrel::Vec3{0, 0, 1}));
  const kavrel::Light &spot = *db().lights.find("spot");
  EXPECT_EQ(spot.model, "spot");
  EXPECT_EQ(spot.shinefrom, (kavrel::Vec3{11, 2, 3}));
  EXPECT_EQ(spot.decay, 2);
  EXPECT_FLOAT_EQ(spot.cutoff, 45);
  EXPECT_EQ(Last("Kv_Light"), "Kv_Light(\"defaultambient\" enabled off .)");
  EXPECT_EQ(db().lights.find("defaultambient")->model, "ambient");
  EXPECT_FALSE(db().lights.find("defaultambient")->enabled);
}

TEST_F(ToolkitTest, CamerasInTheFullAndTheDefaultForm) {
  float focal = 5, twist = 0, window[2] = {3, 2}, from[3] = {0, 0, 5}, at[3] = {0, 0, -5}, up[3] = {0, 1, 0};
  kv_list(Kv_Camera, "Orthographic", tok("active"), kGroup, tok("formmappingtype"), tok("type4"), kGroup,
          tok("focallength"), &focal, kGroup, tok("twist"), &twist, kGroup, tok("window"), window, kGroup,
          tok("lookfrom"), from, kGroup, tok("lookat"), at, kGroup, tok("lookup"), up, kGroup, tok("projection"),
          tok("orthographic"), kGroup);
  float eye[3] = {0, 0, 10}, target[3] = {0, 0, 0}, square[2] = {4.1421347f, 4.1421347f};
  kv_list(Kv_Camera, "default", tok("lookfrom"), eye, kGroup, tok("lookat"), target, kGroup, tok("focallength"),
          &focal, kGroup, tok("window"), square, kGroup);

  const kavrel::Camera &ortho = *db().cameras.find("Orthographic");
  EXPECT_TRUE(ortho.active);
  EXPECT_EQ(ortho.projection, "orthographic");
  EXPECT_EQ(ortho.form_mapping, "type4");
  EXPECT_EQ(ortho.window, (std::array<float, 2>{3, 2}));
  EXPECT_EQ(ortho.lookat, (kavrel::Vec3{0, 0, -5}));
  const kavrel::Camera &fixed = *db().cameras.find("default");
  EXPECT_FALSE(fixed.active);
  EXPECT_EQ(fixed.lookfrom, (kavrel::Vec3{0, 0, 10}));
  EXPECT_EQ(Last("Kv_Camera"),
            "Kv_Camera(\"default\" lookfrom [0 0 10] | lookat [0 0 0] | focallength [5] | window [4.14213 4.14213] "
            "| .)");
  EXPECT_TRUE(errors.empty());
}

TEST_F(ToolkitTest, OptionsAndTheDisplayDriverAnswerAsTokens) {
  Kv_Token saved = 0, enabled = 0;
  kv_list(Kv_Inquire_Option, tok("confirm"), tok("overwrites"), tok("enabled"), &saved);
  EXPECT_EQ(saved, tok("on"));
  kv_list(Kv_Option, tok("confirm"), tok("overwrites"), tok("enabled"), tok("off"));
  EXPECT_EQ(db().options["confirm overwrites enabled"], "off");
  EXPECT_EQ(Last("Kv_Option"), "Kv_Option(confirm overwrites enabled off .)");

  int32_t exists = 0;
  kv_list(Kv_Handle_Name_Exists, "driver1", &exists, tok("outputdriver"));
  EXPECT_EQ(exists, 1);
  intptr_t unused = 0;
  const char *description = nullptr;
  kv_list(Kv_Inquire_Output_Driver, "driver1", &unused, &description, tok("enabled"), &enabled);
  EXPECT_EQ(enabled, tok("off"));
  ASSERT_NE(description, nullptr);
  EXPECT_EQ(std::string(description).find("Windows v3."), std::string::npos);
  kv_list(Kv_Output_Driver, "driver1", tok("enabled"), tok("on"));
  EXPECT_TRUE(db().drivers.find("driver1")->enabled);

  int64_t value = -1;
  Kv_Inquire_Environment("KV_RUNING_IN_MAX", &value);
  EXPECT_EQ(value, 0);
  host_.settings().environment["KV_RUNING_IN_MAX"] = 7;
  Kv_Inquire_Environment("KV_RUNING_IN_MAX", &value);
  EXPECT_EQ(value, 7);
  EXPECT_TRUE(errors.empty());
}

TEST_F(ToolkitTest, TokensAreStableDistinctAndNeverListMarkers) {
  Kv_Token color = Kv_Inquire_Token("color");
  EXPECT_EQ(color, Kv_Inquire_Token("color"));
  EXPECT_NE(color, Kv_Inquire_Token("colour"));
  EXPECT_NE(color, KV_LIST_END);
  EXPECT_NE(color, KV_GROUP_END);
  EXPECT_EQ(Kv_Inquire_Token(nullptr), 0);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(Last("Kv_Inquire_Token"), "Kv_Inquire_Token(*) !! word is a null pointer");
}

}  // namespace
