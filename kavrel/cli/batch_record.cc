#include "kavrel/cli/batch_record.h"

#include <fstream>

namespace kavrel {

namespace {

const char kCommandPrefix[] = "kavrel-convert: ";

std::vector<std::string> ReadLines(const std::string &path) {
  std::vector<std::string> lines;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

bool StartsWith(const std::string &text, const std::string &start) { return text.compare(0, start.size(), start) == 0; }

// The command's own last word on the file, else the plug-in's last error.
std::string LastError(const std::vector<std::string> &messages) {
  for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
    if (StartsWith(*it, kCommandPrefix)) return it->substr(sizeof kCommandPrefix - 1);
  }
  for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
    if (StartsWith(*it, "error (level")) return *it;
  }
  return "";
}

std::string EndReason(const WorkerEnd &end, const std::string &last_error) {
  if (end.signaled) {
    std::string reason = "crashed (" + end.signal_name + ", signal " + std::to_string(end.code) + ")";
    return last_error.empty() ? reason : reason + " after: " + last_error;
  }
  return last_error.empty() ? "exit status " + std::to_string(end.code) : last_error;
}

int64_t ReadTriangles(const std::string &result) {
  std::ifstream file(result);
  std::string word;
  int64_t triangles = 0;
  return file >> word >> triangles && word == "triangles" ? triangles : 0;
}

}  // namespace

const char *OutcomeWord(ExitStatus status) {
  return status == kExitConverted ? "converted" : status == kExitUnsupported ? "unsupported" : "failed";
}

void ReadWorkerOutcome(const WorkerEnd &end, const std::string &out, const std::string &err, const std::string &result,
                       BatchRecord *record) {
  record->statistics = ReadLines(out);
  for (std::string &line : record->statistics) {
    if (!line.empty() && line[0] == '\t') line.erase(0, 1);
  }
  record->messages = ReadLines(err);
  const bool exited = !end.signaled;
  record->status = exited && end.code == kExitConverted     ? kExitConverted
                   : exited && end.code == kExitUnsupported ? kExitUnsupported
                                                            : kExitFailed;
  if (record->status == kExitConverted) {
    record->triangles = ReadTriangles(result);
    record->reason.clear();
  } else {
    record->reason = EndReason(end, LastError(record->messages));
  }
}

}  // namespace kavrel
