// Embedded Texture2 pixels written to a TIFF file through the host's output
// drivers. The host's display driver and its overwrite confirmation are
// changed for the write and put back on every way out.
#include "materials/texture_extraction.h"

#include <cstring>

#include <Inventor/SbVec2s.h>

#include "host/import_io.h"
#include "host/kv_call.hpp"
#include "host/kv_toolkit.h"
#include "materials/texture_paths.h"
#include "state/state.h"

using kv::on_off;
using kv::tok;

namespace {

const char kDisplayDriver[] = "driver1";
const char kTiffDriver[] = "INVENTORConverterTIFF";

// Tokens 0 and 1 are never handed out: such an answer means the host did
// not say, and sending it back would end or close the list early.
bool IsToken(Kv_Token token) { return token != KV_LIST_END && token != KV_GROUP_END; }

struct DisplayDriver {
  int32_t exists = 0;
  Kv_Token saved_enabled = 0;                  // "on"/"off" before the extraction
  bool shown = false;                          // switched on to show the image
};

// Shows the image on the host's display while it is written, when the host
// runs stand-alone with a display that can show it and the user asked for it.
DisplayDriver SwitchDisplayDriver() {
  DisplayDriver display;
  kv::kv_list(Kv_Handle_Name_Exists, kDisplayDriver, &display.exists, tok("outputdriver"));
  if (!display.exists) return display;
  intptr_t unused = 0;
  const char *description = nullptr;
  kv::kv_list(Kv_Inquire_Output_Driver, kDisplayDriver, &unused, &description, tok("enabled"),
              &display.saved_enabled);
  int64_t embedded = 0;
  Kv_Inquire_Environment("KV_RUNING_IN_MAX", &embedded);
  display.shown =
      embedded == 0 && plugin.state->options.display_textures != 0 && ContainsText(description, "Windows v3.");
  kv::kv_list(Kv_Output_Driver, kDisplayDriver, tok("enabled"), on_off(display.shown));
  return display;
}

const char *ModeWord(int components) {
  if (components == 3) return "rgb";
  if (components == 4) return "rgba";
  return "a";
}

void CreateTiffDriver(const SbString &path, int components) {
  kv::kv_list(Kv_Output_Driver, kTiffDriver, tok("file"), tok("tiff"), KV_GROUP_END, tok("filename"),
              path.getString(), KV_GROUP_END, tok("mode"), tok(ModeWord(components)), KV_GROUP_END);
}

Kv_Token SetOverwriteConfirmation() {
  Kv_Token saved = 0;
  kv::kv_list(Kv_Inquire_Option, tok("confirm"), tok("overwrites"), tok("enabled"), &saved);
  kv::kv_list(Kv_Option, tok("confirm"), tok("overwrites"), tok("enabled"),
              on_off(plugin.state->options.textures_confirm_overwrite != 0));
  return saved;
}

void RestoreOutputSettings(Kv_Token saved_confirmation, const DisplayDriver &display) {
  if (IsToken(saved_confirmation)) {
    kv::kv_list(Kv_Option, tok("confirm"), tok("overwrites"), tok("enabled"), saved_confirmation);
  }
  if (display.exists && IsToken(display.saved_enabled)) {
    kv::kv_list(Kv_Output_Driver, kDisplayDriver, tok("enabled"), display.saved_enabled);
  }
  kv::kv_list(Kv_Remove, tok("outputdriver"), kTiffDriver);
}

int32_t SaveImage(Kv_ImageRecord &image, const char *step) {
  int32_t status = 0;
  kv::kv_list(Kv_Image_Save, &image, &status, tok(step));
  return status;
}

Kv_ImageRecord ImageRecord(const SbVec2s &size, int components) {
  Kv_ImageRecord image;
  std::memset(&image, 0, sizeof image);
  image.width = static_cast<uint16_t>(size[0]);
  image.height = static_cast<uint16_t>(size[1]);
  image.channels = static_cast<uint16_t>(components == 2 ? 1 : components);
  image.rows_per_strip = 1;
  return image;
}

// Header, rows and close. When the file cannot be started the image may
// still go to the display alone; the call then counts as written, and the
// texture refers to whatever file already has that name.
bool WriteImage(Kv_ImageRecord &image, const unsigned char *pixels, int components, const DisplayDriver &display) {
  if (SaveImage(image, "writeheader") != 0) {
    kv::kv_list(Kv_Output_Driver, kTiffDriver, tok("enabled"), tok("off"));
    if (!(display.exists && display.shown) || SaveImage(image, "writeheader") != 0) return false;
  }
  int32_t status = 0;
  size_t offset = 0;
  for (int row = 0; row < image.height && status == 0; ++row) {
    ConvertScanline(image, pixels, offset, image.width, components);
    status = SaveImage(image, "writescanline");
  }
  SaveImage(image, "close");
  return status == 0;
}

}  // namespace

bool ContainsText(const char *text, const char *pattern) {
  return text != nullptr && pattern != nullptr && std::strstr(text, pattern) != nullptr;
}

void ConvertScanline(Kv_ImageRecord &image, const unsigned char *pixels, size_t &offset, int width,
                     int components) {
  const int planes = components >= 3 ? components : 1;
  bool writable = true;
  for (int c = 0; c < planes; ++c) writable = writable && image.planes[c] != nullptr;
  if (writable) {
    for (int i = 0; i < width; ++i) {
      const unsigned char *pixel = pixels + offset + static_cast<size_t>(i) * components;
      for (int c = 0; c < planes; ++c) image.planes[c][i] = pixel[c];
    }
  }
  offset += static_cast<size_t>(width) * components;
}

bool ExtractEmbeddedTexture(SbString &path, const SbString &texture, SoState *traversal) {
  SbVec2s size(0, 0);
  int components = 0;
  const unsigned char *pixels = SoTextureImageElement::getImage(traversal, size, components);
  if (pixels == nullptr || size[0] < 1 || size[1] < 1 || components < 1) return false;
  if (components > 4) {
    Import_IO_Report_Error(1, "Invalid Texture2 pixel data.");
    return false;
  }
  const DisplayDriver display = SwitchDisplayDriver();
  const SbString file = ExtractedTexturePath(texture);
  Kv_ImageRecord image = ImageRecord(size, components);
  CreateTiffDriver(file, components);
  const Kv_Token saved_confirmation = SetOverwriteConfirmation();
  const bool written = WriteImage(image, pixels, components, display);
  RestoreOutputSettings(saved_confirmation, display);
  if (written) path = file;
  return written;
}
