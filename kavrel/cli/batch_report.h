// The end of a batch: the summary for the user and the JSON report for
// scripts.
#ifndef KAVREL_CLI_BATCH_REPORT_H
#define KAVREL_CLI_BATCH_REPORT_H

#include <string>
#include <vector>

#include "kavrel/cli/batch_record.h"

namespace kavrel {

// "N files: a converted, b failed, c unsupported; T triangles in S s", then
// one line per input that was not converted, with its reason.
std::vector<std::string> SummaryLines(const std::vector<BatchRecord> &records, double seconds);

// Writes {"files": [...], "converted": a, "failed": b, "unsupported": c,
// "triangles": T, "seconds": S} to path, one record per input (input,
// output, status, reason, statistics, messages, triangles, seconds).
// False with a message in *error.
bool WriteBatchReport(const std::string &path, const std::vector<BatchRecord> &records, double seconds,
                      std::string *error);

}  // namespace kavrel

#endif
