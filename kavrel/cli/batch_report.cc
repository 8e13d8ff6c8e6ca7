#include "kavrel/cli/batch_report.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>

namespace kavrel {

namespace {

struct Totals {
  size_t converted = 0, failed = 0, unsupported = 0;
  int64_t triangles = 0;
};

Totals Count(const std::vector<BatchRecord> &records) {
  Totals totals;
  for (const BatchRecord &record : records) {
    if (record.status == kExitConverted) ++totals.converted;
    else if (record.status == kExitUnsupported) ++totals.unsupported;
    else ++totals.failed;
    totals.triangles += record.triangles;
  }
  return totals;
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", seconds);
  return text;
}

nlohmann::json RecordJson(const BatchRecord &record) {
  return {{"input", record.input},
          {"output", record.output},
          {"status", OutcomeWord(record.status)},
          {"reason", record.reason},
          {"statistics", record.statistics},
          {"messages", record.messages},
          {"triangles", record.triangles},
          {"seconds", record.seconds}};
}

}  // namespace

std::vector<std::string> SummaryLines(const std::vector<BatchRecord> &records, double seconds) {
  const Totals totals = Count(records);
  std::vector<std::string> lines;
  lines.push_back(std::to_string(records.size()) + (records.size() == 1 ? " file: " : " files: ") +
                  std::to_string(totals.converted) + " converted, " + std::to_string(totals.failed) + " failed, " +
                  std::to_string(totals.unsupported) + " unsupported; " + std::to_string(totals.triangles) +
                  " triangles in " + Seconds(seconds));
  for (const BatchRecord &record : records) {
    if (record.status == kExitConverted) continue;
    lines.push_back("  " + std::string(OutcomeWord(record.status)) + " " + record.input + ": " + record.reason);
  }
  return lines;
}

bool WriteBatchReport(const std::string &path, const std::vector<BatchRecord> &records, double seconds,
                      std::string *error) {
  const Totals totals = Count(records);
  nlohmann::json files = nlohmann::json::array();
  for (const BatchRecord &record : records) files.push_back(RecordJson(record));
  nlohmann::json report = {{"files", files},
                           {"converted", totals.converted},
                           {"failed", totals.failed},
                           {"unsupported", totals.unsupported},
                           {"triangles", totals.triangles},
                           {"seconds", seconds}};
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file) file << report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  if (file.flush()) return true;
  *error = "cannot write the report '" + path + "': " + std::strerror(errno);
  return false;
}

}  // namespace kavrel
