#include "host_fixture.h"

#include "kavrel/import_io/import_support.h"

void HostTest::SetUp() {
  kavrel::ResetHost();
  kavrel::ResetImportSupport();
  kavrel::ReportSinks sinks;
  sinks.error = [this](int level, const std::string &text) { errors_.emplace_back(level, text); };
  sinks.report = [this](const std::string &text) { reports_.push_back(text); };
  sinks.progress = [this](const std::string &text) { progress_.push_back(text); };
  kavrel::SetReportSinks(sinks);
}

void HostTest::TearDown() {
  kavrel::ResetImportSupport();
  kavrel::SetReportSinks({});
}

std::vector<const kavrel::JournalEntry *> HostTest::Calls(const std::string &call) const {
  return kavrel::journal().calls(call);
}
