// Output drivers, host options and Kv_Image_Save: an image goes row by row
// to every enabled driver. The display driver accepts everything and shows
// nothing; a "tiff" file driver writes its file through a TiffWriter.
#include <array>
#include <cstdarg>
#include <memory>
#include <sys/stat.h>
#include <unordered_map>

#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"
#include "kavrel/toolkit/host_services.h"
#include "kavrel/toolkit/tiff_writer.h"

namespace kavrel {
namespace {

constexpr const char *kConfirmOverwrites = "confirm overwrites enabled";

// The image being saved: the row buffers handed out in its record and the
// drivers that accepted its header.
struct ImageOutput {
  Kv_ImageRecord *record = nullptr;
  std::array<std::vector<uint8_t>, 4> planes;
  std::vector<std::string> receivers;
  std::unordered_map<std::string, std::unique_ptr<TiffWriter>> writers;  // file drivers among them
};

ImageOutput &image_output() {
  static ImageOutput output;
  return output;
}

int SamplesOfMode(const std::string &mode) { return mode == "a" ? 1 : mode == "rgb" ? 3 : mode == "rgba" ? 4 : 0; }

bool FileExists(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// Opens the driver's file for the image; "" on success, else the reason.
std::string StartFile(const OutputDriver &driver, const Kv_ImageRecord &record, ImageOutput &output) {
  int samples = SamplesOfMode(driver.mode);
  if (driver.filename.empty() || samples == 0) return "driver \"" + driver.name + "\" has no file name or mode";
  if (record.channels < samples) return "mode \"" + driver.mode + "\" needs " + std::to_string(samples) + " channels";
  if (FileExists(driver.filename) && scene().options[kConfirmOverwrites] == "on" &&
      !ConfirmOverwrite(driver.filename)) {
    return "overwriting \"" + driver.filename + "\" was refused";
  }
  auto writer = std::make_unique<TiffWriter>();
  std::string error;
  if (!writer->open(driver.filename, record.width, record.height, samples, &error)) return error;
  output.writers[driver.name] = std::move(writer);
  return "";
}

// Forgets the image. Its record is not touched: a caller that never closed
// may have released it long ago.
void EndImage(ImageOutput &output) {
  output.writers.clear();  // unfinished files are deleted
  output.receivers.clear();
  output.record = nullptr;
  for (auto &plane : output.planes) plane = {};
}

// "writeheader": hands out the row buffers and lets every enabled driver
// start; nonzero when one of them refuses or none is enabled.
int32_t WriteHeader(CallRecorder &call, Kv_ImageRecord &record) {
  ImageOutput &output = image_output();
  EndImage(output);
  if (record.width < 1 || record.height < 1 || record.channels < 1 || record.channels > 4) {
    call.fail("the image record has no pixels or an unsupported channel count");
    return 1;
  }
  int rows = record.rows_per_strip > 1 ? record.rows_per_strip : 1;
  output.record = &record;
  for (int c = 0; c < record.channels; ++c) {
    output.planes[c].assign(static_cast<size_t>(record.width) * rows, 0);
    record.planes[c] = output.planes[c].data();
  }
  record.row = 0;
  int32_t status = 0;
  for (const OutputDriver &driver : scene().drivers.items) {
    if (!driver.enabled || scene().drivers.find(driver.name) != &driver) continue;
    std::string problem = driver.kind == "file" ? StartFile(driver, record, output) : "";
    if (problem.empty()) {
      output.receivers.push_back(driver.name);
    } else {
      call.fail(problem);
      status = 1;
    }
  }
  return output.receivers.empty() ? 1 : status;
}

// "writescanline": the rows now in the planes go to every receiver.
int32_t WriteRows(Kv_ImageRecord &record) {
  ImageOutput &output = image_output();
  if (output.record != &record || record.row >= record.height) return 1;
  int rows = record.rows_per_strip > 1 ? record.rows_per_strip : 1;
  int32_t status = 0;
  for (int r = 0; r < rows && record.row < record.height; ++r, ++record.row) {
    const uint8_t *planes[4];
    for (int c = 0; c < 4; ++c) planes[c] = output.planes[c].empty() ? nullptr : &output.planes[c][r * record.width];
    for (auto &entry : output.writers) {
      if (!entry.second->write_row(planes)) status = 1;
    }
  }
  return status;
}

// "close": files with every row move into place, others are deleted.
int32_t CloseImage(CallRecorder &call, Kv_ImageRecord &record) {
  ImageOutput &output = image_output();
  if (output.record != &record) return 1;
  int32_t status = 0;
  for (auto &entry : output.writers) {
    std::string error;
    if (!entry.second->finish(&error)) {
      call.fail(error);
      status = 1;
    }
  }
  EndImage(output);
  for (auto &plane : record.planes) plane = nullptr;
  return status;
}

int SaveImage(Kv_ImageRecord *record, int32_t *status, ListReader &list) {
  CallRecorder call("Kv_Image_Save");
  bool usable = call.pointer(record, "image record");
  usable = call.pointer(status, "status") && usable;
  if (!usable) return call.finish();
  if (!call.list(Family::kImageSave, list)) {
    *status = 1;
    return call.finish();
  }
  *status = call.attributes().empty() ? 1 : 0;
  for (const Attribute &attribute : call.attributes()) {
    if (attribute.id() == Attr::kWriteHeader) *status = WriteHeader(call, *record);
    if (attribute.id() == Attr::kWriteScanline) *status = WriteRows(*record);
    if (attribute.id() == Attr::kClose) *status = CloseImage(call, *record);
  }
  return call.finish();
}

void ApplyDriverAttribute(OutputDriver &driver, const Attribute &a) {
  switch (a.id()) {
    case Attr::kDriverFile:
      driver.kind = "file";
      driver.format = *a.word;
      break;
    case Attr::kDriverFilename: driver.filename = a.text; break;
    case Attr::kDriverMode: driver.mode = *a.word; break;
    case Attr::kDriverEnabled: driver.enabled = a.on(); break;
    case Attr::kDriverDescription: driver.description = a.text; break;
    default: break;
  }
}

// A driver comes into being with its "file" attribute, enabled.
int DefineOutputDriver(const char *name, ListReader &list) {
  CallRecorder call("Kv_Output_Driver");
  if (!call.text(name, "driver name")) return call.finish();
  if (!call.list(Family::kOutputDriver, list) && call.attributes().empty()) return call.finish();
  bool creates = false;
  for (const Attribute &attribute : call.attributes()) creates |= attribute.id() == Attr::kDriverFile;
  if (!creates && !FindNamed(call, scene().drivers, name, "output driver")) return call.finish();
  OutputDriver &driver = scene().drivers.get_or_add(name);
  for (const Attribute &attribute : call.attributes()) ApplyDriverAttribute(driver, attribute);
  return call.finish();
}

int SetOption(ListReader &list) {
  CallRecorder call("Kv_Option");
  call.list(Family::kOption, list);
  for (const Attribute &attribute : call.attributes()) scene().options[attribute.rule->path] = *attribute.word;
  return call.finish();
}

}  // namespace

bool RemoveOutputDriver(const std::string &name) {
  if (!scene().drivers.find(name)) return false;
  ImageOutput &output = image_output();
  output.writers.erase(name);
  for (auto it = output.receivers.begin(); it != output.receivers.end();) {
    it = *it == name ? output.receivers.erase(it) : it + 1;
  }
  scene().drivers.erase(name);
  return true;
}

void DiscardImageOutput() { EndImage(image_output()); }

}  // namespace kavrel

extern "C" int Kv_Output_Driver(const char *driver, ...) {
  KAVREL_LIST_AFTER(driver, list);
  return kavrel::DefineOutputDriver(driver, list);
}

extern "C" int Kv_Option(Kv_Token first, ...) {
  KAVREL_LIST_FROM(first, list);
  return kavrel::SetOption(list);
}

extern "C" int Kv_Image_Save(Kv_ImageRecord *image, int32_t *status, ...) {
  KAVREL_LIST_AFTER(status, list);
  return kavrel::SaveImage(image, status, list);
}
