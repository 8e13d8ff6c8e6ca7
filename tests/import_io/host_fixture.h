// A fresh Host for each test, current while it runs, with its reports
// captured.
#ifndef TESTS_IMPORT_IO_HOST_FIXTURE_H
#define TESTS_IMPORT_IO_HOST_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "kavrel/host.h"

class HostTest : public ::testing::Test {
 protected:
  HostTest();

  // The journal entries of one call, in order.
  std::vector<const kavrel::JournalEntry *> Calls(const std::string &call) const;

  std::vector<std::pair<int, std::string>> errors_;
  std::vector<std::string> reports_;
  std::vector<std::string> progress_;
  kavrel::Host host_;
  kavrel::CurrentHostScope current_{host_};
};

#endif
