// Kv_Report_Error and Kv_Report_Error_printf: reports with a level, routed
// to the host's error sink.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/kv_toolkit.h"
#include "kavrel/toolkit/call_recorder.h"

namespace {

// The codes the host knows: how many string arguments follow the function
// name, and the message they fill in place of each "%s", in order.
struct ErrorCode {
  const char *code;
  int arguments;
  const char *message;
};

const ErrorCode kErrorCodes[] = {
    {"ERR_GEOM_IMPORT_BAD_TOKEN", 1, "unknown option token \"%s\""},
    {"ERR_FILE_OPEN_READ", 2, "cannot open the %s file \"%s\" for reading"},
    {"OUTERR_FILE_OPEN_WRITE", 2, "cannot open the %s file \"%s\" for writing"},
};

const ErrorCode *FindCode(const char *code) {
  for (const ErrorCode &known : kErrorCodes) {
    if (code && std::strcmp(code, known.code) == 0) return &known;
  }
  return nullptr;
}

std::string FillIn(const char *message, const std::vector<std::string> &arguments) {
  std::string text;
  size_t next = 0;
  for (const char *at = message; *at; ++at) {
    if (at[0] == '%' && at[1] == 's' && next < arguments.size()) {
      text += arguments[next++];
      ++at;
    } else {
      text += *at;
    }
  }
  return text;
}

std::string Formatted(const char *format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length < 0) return format;
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace

extern "C" void Kv_Report_Error(int level, const char *code, const char *function, ...) {
  kavrel::Host &host = kavrel::CurrentHost();
  kavrel::CallRecorder call(host, "Kv_Report_Error");
  call.integers({level});
  call.text(code, "code");
  call.text(function, "function name");
  const ErrorCode *known = FindCode(code);
  std::vector<std::string> arguments;
  va_list args;
  va_start(args, function);
  for (int i = 0; known && i < known->arguments; ++i) {
    const char *argument = va_arg(args, const char *);
    arguments.push_back(argument ? argument : "(null)");
    call.text(arguments.back().c_str(), "argument");
  }
  va_end(args);
  std::string where = function ? std::string(function) + ": " : "";
  std::string message = known ? FillIn(known->message, arguments) : "error " + std::string(code ? code : "(null)");
  host.ReportError(level, where + message);
}

extern "C" void Kv_Report_Error_printf(int level, const char *format, ...) {
  kavrel::Host &host = kavrel::CurrentHost();
  kavrel::CallRecorder call(host, "Kv_Report_Error_printf");
  call.integers({level});
  if (!call.pointer(format, "format")) return;
  va_list args;
  va_start(args, format);
  std::string text = Formatted(format, args);
  va_end(args);
  call.text(text.c_str(), "text");
  host.ReportError(level, text);
}
