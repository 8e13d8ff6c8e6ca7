// Output drivers, host options and Kv_Image_Save: an image goes row by row
// to every enabled driver. The display driver accepts everything and shows
// nothing; a "tiff" file driver's rows go to its file through ImageRows.
#include <sys/stat.h>

#include "kavrel/toolkit/output_drivers.h"

#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"

namespace kavrel {
namespace {

constexpr const char *kConfirmOverwrites = "confirm overwrites enabled";

int SamplesOfMode(const std::string &mode) { return mode == "a" ? 1 : mode == "rgb" ? 3 : mode == "rgba" ? 4 : 0; }

bool FileExists(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// Opens the driver's file for the image; "" on success, else the reason.
std::string StartFile(Host &host, const OutputDriver &driver, const Kv_ImageRecord &record, ImageRows &rows) {
  int samples = SamplesOfMode(driver.mode);
  if (driver.filename.empty() || samples == 0) return "driver \"" + driver.name + "\" has no file name or mode";
  if (record.channels < samples) return "mode \"" + driver.mode + "\" needs " + std::to_string(samples) + " channels";
  if (FileExists(driver.filename) && host.scene().options[kConfirmOverwrites] == "on" &&
      !host.ConfirmOverwrite(driver.filename)) {
    return "overwriting \"" + driver.filename + "\" was refused";
  }
  std::string error;
  return rows.OpenFile(driver.name, driver.filename, record.height, samples, &error) ? "" : error;
}

// Forgets the image. Its record is not touched: a caller that never closed
// may have released it long ago.
void EndImage(ImageSave &save) {
  save.rows.Clear();  // unfinished files are deleted
  save.record = nullptr;
}

// "writeheader": hands out the row buffers and lets every enabled driver
// start; nonzero when one of them refuses or none is enabled.
int32_t WriteHeader(CallRecorder &call, Kv_ImageRecord &record) {
  Host &host = call.host();
  ImageSave &save = host.image_save();
  EndImage(save);
  if (record.width < 1 || record.height < 1 || record.channels < 1 || record.channels > 4) {
    call.fail("the image record has no pixels or an unsupported channel count");
    return 1;
  }
  save.record = &record;
  save.rows.Begin(record.width, record.channels, record.rows_per_strip > 1 ? record.rows_per_strip : 1);
  for (int c = 0; c < record.channels; ++c) record.planes[c] = save.rows.plane(c);
  record.row = 0;
  int32_t status = 0;
  int receivers = 0;
  for (const OutputDriver &driver : host.scene().drivers.items) {
    if (!driver.enabled || host.scene().drivers.find(driver.name) != &driver) continue;
    std::string problem = driver.kind == "file" ? StartFile(host, driver, record, save.rows) : "";
    if (problem.empty()) {
      ++receivers;
    } else {
      call.fail(problem);
      status = 1;
    }
  }
  return receivers == 0 ? 1 : status;
}

// "writescanline": the rows now in the planes go to every receiver.
int32_t WriteRows(ImageSave &save, Kv_ImageRecord &record) {
  if (save.record != &record || record.row >= record.height) return 1;
  int rows = record.rows_per_strip > 1 ? record.rows_per_strip : 1;
  int32_t status = 0;
  for (int r = 0; r < rows && record.row < record.height; ++r, ++record.row) {
    if (!save.rows.WriteRow(r)) status = 1;
  }
  return status;
}

// "close": files with every row move into place, others are deleted.
int32_t CloseImage(CallRecorder &call, Kv_ImageRecord &record) {
  ImageSave &save = call.host().image_save();
  if (save.record != &record) return 1;
  std::set<std::string> &written = call.host().scene().images_written;
  const bool finished = save.rows.Finish([&call](const std::string &error) { call.fail(error); },
                                         [&written](const std::string &path) { written.insert(path); });
  EndImage(save);
  for (auto &plane : record.planes) plane = nullptr;
  return finished ? 0 : 1;
}

int SaveImage(Host &host, Kv_ImageRecord *record, int32_t *status, ListReader &list) {
  CallRecorder call(host, "Kv_Image_Save");
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
    if (attribute.id() == Attr::kWriteScanline) *status = WriteRows(host.image_save(), *record);
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
int DefineOutputDriver(Host &host, const char *name, ListReader &list) {
  CallRecorder call(host, "Kv_Output_Driver");
  if (!call.text(name, "driver name")) return call.finish();
  if (!call.list(Family::kOutputDriver, list) && call.attributes().empty()) return call.finish();
  bool creates = false;
  for (const Attribute &attribute : call.attributes()) creates |= attribute.id() == Attr::kDriverFile;
  if (!creates && !FindNamed(call, host.scene().drivers, name, "output driver")) return call.finish();
  OutputDriver &driver = host.scene().drivers.get_or_add(name);
  for (const Attribute &attribute : call.attributes()) ApplyDriverAttribute(driver, attribute);
  return call.finish();
}

int SetOption(Host &host, ListReader &list) {
  CallRecorder call(host, "Kv_Option");
  call.list(Family::kOption, list);
  for (const Attribute &attribute : call.attributes()) host.scene().options[attribute.rule->path] = *attribute.word;
  return call.finish();
}

}  // namespace

bool RemoveOutputDriver(Host &host, const std::string &name) {
  if (!host.scene().drivers.find(name)) return false;
  host.image_save().rows.DropFile(name);
  host.scene().drivers.erase(name);
  return true;
}

}  // namespace kavrel

extern "C" int Kv_Output_Driver(const char *driver, ...) {
  KAVREL_LIST_AFTER(driver, list);
  return kavrel::DefineOutputDriver(kavrel::CurrentHost(), driver, list);
}

extern "C" int Kv_Option(Kv_Token first, ...) {
  KAVREL_LIST_FROM(first, list);
  return kavrel::SetOption(kavrel::CurrentHost(), list);
}

extern "C" int Kv_Image_Save(Kv_ImageRecord *image, int32_t *status, ...) {
  KAVREL_LIST_AFTER(status, list);
  return kavrel::SaveImage(kavrel::CurrentHost(), image, status, list);
}
