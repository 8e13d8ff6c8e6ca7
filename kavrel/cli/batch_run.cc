#include "kavrel/cli/batch_run.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "kavrel/cli/batch_plan.h"
#include "kavrel/cli/batch_process.h"
#include "kavrel/cli/batch_progress.h"
#include "kavrel/cli/batch_report.h"
#include "kavrel/cli/batch_worker.h"
#include "kavrel/cli/console_reports.h"
#include "kavrel/cli/conversion_watchdog.h"
#include "kavrel/cli/executable_location.h"

namespace kavrel {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// A worker's own watchdog ends it at its time limit; one that is still
// there this much later no longer answers at all and is killed.
constexpr double kLimitGrace = 30;
// How often the workers are looked at: a typical file converts in about
// 0.1 s, so a longer pause would leave a core idle for a good part of it
// (at 20 ms the batch of the inventor-data models took 20% longer).
constexpr std::chrono::milliseconds kPoll{2};

struct Worker {
  size_t record;                               // index into the batch's records
  WorkerId id;
  Clock::time_point start;
  double deadline;                             // seconds after start; 0: none
  std::string out, err, result;                // its files in the scratch directory
  bool killed = false;                         // killed for not answering
};

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Writes and removes a probe file: the only test of writability that
// holds for every file system and every kind of access control.
bool CheckOutputDirectory(const std::string &directory, std::string *error) {
  std::error_code code;
  fs::create_directories(directory, code);
  const std::string probe = (fs::path(directory) / ".kavrel-convert-probe").string();
  bool writable = !code && static_cast<bool>(std::ofstream(probe));
  fs::remove(probe, code);
  if (!writable) *error = "cannot write into the output directory '" + directory + "'; nothing converted";
  return writable;
}

class Batch {
 public:
  Batch(const ConvertCommand &command, std::vector<BatchJob> jobs)
      : command_(command), jobs_(std::move(jobs)), progress_(jobs_.size(), command.verbose, command.quiet) {}

  bool Prepare(std::string *error) {
    program_ = ExecutablePath();
    scratch_ = MakeScratchDirectory();
    if (program_.empty() || scratch_.empty()) *error = "cannot prepare worker processes";
    return !program_.empty() && !scratch_.empty();
  }

  std::vector<BatchRecord> Run() {
    InstallBatchSignals();
    const size_t slots = command_.jobs > 0 ? static_cast<size_t>(command_.jobs)
                                           : std::max(1u, std::thread::hardware_concurrency());
    size_t next = 0;
    while (next < jobs_.size() || !workers_.empty()) {
      PassOnSignals();
      while (!stopping_ && workers_.size() < slots && next < jobs_.size()) Launch(next++);
      if (stopping_) next = SkipRemaining(next);
      Reap();
      progress_.Tick();
      if (!workers_.empty()) std::this_thread::sleep_for(kPoll);
    }
    progress_.End();
    fs::remove_all(scratch_);
    return std::move(records_);
  }

  BatchProgress &progress() { return progress_; }

 private:
  BatchRecord &NewRecord(const BatchJob &job) {
    records_.push_back(BatchRecord{});
    records_.back().input = job.input;
    records_.back().output = job.output;
    return records_.back();
  }

  void Finish(size_t record) { progress_.Finished(records_[record]); }

  void Launch(size_t index) {
    const BatchJob &job = jobs_[index];
    BatchRecord &record = NewRecord(job);
    const size_t number = records_.size() - 1;
    record.reason = job.skipped;
    std::error_code code;
    const fs::path parent = fs::path(job.output).parent_path();
    if (record.reason.empty() && !parent.empty() && !fs::create_directories(parent, code) && code) {
      record.reason = "cannot make the output directory '" + parent.string() + "': " + code.message();
    }
    Worker worker{number, 0, Clock::now(), Deadline(job.input), {}, {}, {}};
    const std::string stem = scratch_ + "/" + std::to_string(number);
    worker.out = stem + ".out";
    worker.err = stem + ".err";
    worker.result = stem + ".result";
    if (record.reason.empty()) {
      StartWorker(WorkerArguments(program_, command_, job.input, job.output, worker.result), worker.out, worker.err,
                  &worker.id, &record.reason);
    }
    if (!record.reason.empty()) return Finish(number);
    progress_.Started(job.input);
    workers_.push_back(worker);
  }

  double Deadline(const std::string &input) const {
    double limit = command_.time_limit;
    struct stat info;
    if (limit < 0) limit = DefaultTimeLimit(stat(input.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0);
    return limit > 0 ? limit + kLimitGrace : 0;
  }

  // Files not started when the batch was stopped are listed as such.
  size_t SkipRemaining(size_t next) {
    for (; next < jobs_.size(); ++next) {
      NewRecord(jobs_[next]).reason = "not converted: the batch was interrupted";
      Finish(records_.size() - 1);
    }
    return next;
  }

  void Reap() {
    for (auto it = workers_.begin(); it != workers_.end();) {
      WorkerEnd end;
      if (!WorkerEnded(it->id, &end)) {
        KillIfSilent(*it);
        ++it;
        continue;
      }
      BatchRecord &record = records_[it->record];
      record.seconds = SecondsSince(it->start);
      ReadWorkerOutcome(end, it->out, it->err, it->result, &record);
      if (it->killed) {
        record.reason = "still running " + std::to_string(static_cast<int>(kLimitGrace)) +
                        " s after its time limit; killed";
      }
      Finish(it->record);
      it = workers_.erase(it);
    }
  }

  void KillIfSilent(Worker &worker) {
    if (worker.killed || worker.deadline <= 0 || SecondsSince(worker.start) < worker.deadline) return;
    StopWorker(worker.id, WorkerStop::kKill);
    worker.killed = true;
  }

  // Each Ctrl-C goes on to every worker (the first asks them to stop after
  // the current shape, the second to leave at once); a termination signal
  // ends them all.
  void PassOnSignals() {
    const int interrupts = BatchInterrupts();
    const int termination = BatchTermination();
    if (interrupts > interrupts_seen_) {
      if (interrupts_seen_ == 0) {
        progress_.Notice("kavrel-convert: interrupted; stopping the conversions under way, keeping those done "
                         "(Ctrl-C again to stop them at once)");
      }
      interrupts_seen_ = interrupts;
      stopping_ = true;
      for (const Worker &worker : workers_) StopWorker(worker.id, WorkerStop::kInterrupt);
    }
    if (termination != 0 && !terminated_) {
      terminated_ = true;
      stopping_ = true;
      for (const Worker &worker : workers_) StopWorker(worker.id, WorkerStop::kTerminate);
    }
  }

  const ConvertCommand &command_;
  std::vector<BatchJob> jobs_;
  BatchProgress progress_;
  std::vector<BatchRecord> records_;
  std::vector<Worker> workers_;
  std::string program_;
  std::string scratch_;
  int interrupts_seen_ = 0;
  bool stopping_ = false;
  bool terminated_ = false;
};

ExitStatus WorstOf(const std::vector<BatchRecord> &records) {
  ExitStatus worst = kExitConverted;
  for (const BatchRecord &record : records) worst = WorstStatus(worst, record.status);
  return worst;
}

std::string OutputExtension(const ConvertCommand &command) {
  if (command.format.empty()) return "glb";
  return command.format[0] == '.' ? command.format.substr(1) : command.format;
}

}  // namespace

bool IsBatch(const ConvertCommand &command) {
  if (command.inputs.size() > 1 || command.jobs > 0 || !command.output_dir.empty() || !command.format.empty() ||
      !command.report_path.empty()) {
    return true;
  }
  std::error_code code;
  return command.inputs.size() == 1 && fs::is_directory(command.inputs[0], code);
}

ExitStatus RunBatch(const ConvertCommand &command) {
  const Clock::time_point start = Clock::now();
  std::string error;
  if (!command.output_dir.empty() && !CheckOutputDirectory(command.output_dir, &error)) {
    ShowError(error);
    return kExitFailed;
  }
  Batch batch(command, PlanBatch(command.inputs, command.output_dir, OutputExtension(command)));
  if (!batch.Prepare(&error)) {
    ShowError(error);
    return kExitFailed;
  }
  const std::vector<BatchRecord> records = batch.Run();
  const double seconds = SecondsSince(start);
  for (const std::string &line : SummaryLines(records, seconds)) batch.progress().Notice(line);
  ExitStatus status = WorstOf(records);
  if (!command.report_path.empty() && !WriteBatchReport(command.report_path, records, seconds, &error)) {
    ShowError(error);
    status = kExitFailed;
  }
  if (BatchTermination() != 0) DieOfTermination(BatchTermination());
  return BatchInterrupts() > 0 ? kExitFailed : status;
}

}  // namespace kavrel
