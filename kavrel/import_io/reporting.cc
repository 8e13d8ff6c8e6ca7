// Reporting: errors with a level, progress lines and report lines.
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "host/import_io.h"
#include "kavrel/host.h"
#include "kavrel/import_io/import_support.h"
#include "kavrel/toolkit/call_recorder.h"

namespace kavrel {
namespace import_io {

namespace {

constexpr int kFatal = 5;

}  // namespace

void ReportError(Host &host, int level, const std::string &text) {
  host.ReportError(level, text);
  Import_IO_ErrorHook hook = host.import_state().frame.hook;
  if (level != kFatal || !hook) return;
  // The record and the text live on this frame; the hook reads them and,
  // on a fatal error, leaves by an exception that unwinds through here.
  const std::string message = text;
  Import_IO_ErrorRecord record{};
  record.level = level;
  record.source = "Import_IO";
  record.message = message.c_str();
  hook(&record);
}

}  // namespace import_io
}  // namespace kavrel

using kavrel::CallRecorder;

extern "C" void Import_IO_Report_Error(int level, const char *text) {
  kavrel::Host &host = kavrel::CurrentHost();
  std::string message;
  {
    // Journaled before the hook runs: the hook prints, and a fatal error
    // never comes back.
    CallRecorder call(host, "Import_IO_Report_Error", kavrel::CallEffect::kLeavesMeshes);
    call.integers({level});
    if (!call.text(text, "text")) return;
    message = text;
  }
  kavrel::import_io::ReportError(host, level, message);
}

extern "C" void Import_IO_Display_Info_Text(const char *text) {
  kavrel::Host &host = kavrel::CurrentHost();
  CallRecorder call(host, "Import_IO_Display_Info_Text", kavrel::CallEffect::kLeavesMeshes);
  if (call.text(text, "text")) host.ShowProgress(text);
}

extern "C" void Import_IO_printf(const char *format, ...) {
  std::string text;
  if (format) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length > 0) {
      std::vector<char> buffer(static_cast<size_t>(length) + 1);
      std::vsnprintf(buffer.data(), buffer.size(), format, args);
      text.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
  }
  kavrel::Host &host = kavrel::CurrentHost();
  CallRecorder call(host, "Import_IO_printf", kavrel::CallEffect::kLeavesMeshes);
  if (call.text(format ? text.c_str() : nullptr, "format")) host.Report(text);
}
