#include "host_fixture.h"

HostTest::HostTest() {
  kavrel::ReportSinks &sinks = host_.settings().sinks;
  sinks.error = [this](int level, const std::string &text) { errors_.emplace_back(level, text); };
  sinks.report = [this](const std::string &text) { reports_.push_back(text); };
  sinks.progress = [this](const std::string &text) { progress_.push_back(text); };
}

std::vector<const kavrel::JournalEntry *> HostTest::Calls(const std::string &call) const {
  return host_.journal().calls(call);
}
