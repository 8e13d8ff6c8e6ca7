// One preferences file ("vorlix.ini") through everything that uses it: the
// reader at "initialize", the options dialog accepted with OK (which fills
// its controls from the options, checks them and writes the file again),
// the reader once more, and a conversion of a small scene whose lights,
// camera, levels of detail, materials and meshes every option touches.
#include <string>

#include "fuzz/fuzz_session.h"
#include "win32/dialog_driver.h"

using kavrel_fuzz::FuzzSession;

namespace {

const char kScene[] = R"(#Inventor V2.0 ascii
Separator {
  PerspectiveCamera { position 0 0 8 }
  DirectionalLight { direction 0 -1 -1 }
  PointLight { location 2 2 2 color 1 0.5 0.5 }
  SpotLight { location 0 4 0 direction 0 -1 0 }
  DEF Shared Separator {
    Material { diffuseColor [ 1 0 0, 0 1 0 ] transparency [ 0.25, 0.5 ] shininess 0.3 }
    MaterialBinding { value PER_FACE }
    Texture2 { filename "kavrel-fuzz-texture.png" }
    Coordinate3 { point [ 0 0 0, 1 0 0, 1 1 0, 0 1 0, 2 0 0, 2 1 0, 2 1 1 ] }
    TextureCoordinate2 { point [ 0 0, 1 0, 1 1, 0 1 ] }
    IndexedFaceSet { coordIndex [ 0, 1, 2, 3, -1, 1, 4, 5, 2, -1, 4, 6, 5, -1 ]
                     textureCoordIndex [ 0, 1, 2, 3, -1, 0, 1, 2, 3, -1, 0, 1, 2, -1 ] }
  }
  Texture2 { image 2 2 3 0xff0000 0x00ff00 0x0000ff 0xffffff }
  LOD { range [ 5, 10 ] Sphere { radius 0.5 } Cone {} Cube {} }
  Translation { translation 3 0 0 }
  USE Shared
}
)";

// The user of the options dialog: presses OK and answers any message box
// (a refused value) with its default button.
void AcceptOptionsDialog() {
  win32::ScriptedUser user{[](win32::DialogDriver &window) { window.PressOk(); }};
  win32::ScopedDialogUser scoped(&user);
  kavrel_fuzz::CallPlugin({{"show_options_dialog", nullptr}});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzSession &session = FuzzSession::Get();
  static const std::string scene = session.WriteSupportFile("scene.iv", kScene);
  session.ClearRunDir();
  session.WriteSupportFile("vorlix.ini", std::string(reinterpret_cast<const char *>(data), size));
  session.StartPlugin();
  AcceptOptionsDialog();
  session.StartPlugin();
  kavrel_fuzz::ConvertFile(scene, size % 2 == 1);
  return 0;
}
