#include "kavrel/cli/batch_plan.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

namespace kavrel {

namespace fs = std::filesystem;

namespace {

const char *const kExtensions[] = {".iv.gz", ".wrl.gz", ".iv", ".wrl", ".wrz"};

std::string Lowercase(std::string text) {
  for (char &c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool EndsWith(const std::string &text, const std::string &end) {
  return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The length of the name's extension that the output replaces: an
// Inventor one, else the last one (a leading dot names a hidden file).
size_t ExtensionLength(const std::string &name) {
  const std::string lower = Lowercase(name);
  for (const char *extension : kExtensions) {
    if (EndsWith(lower, extension)) return std::char_traits<char>::length(extension);
  }
  std::string::size_type dot = name.find_last_of('.');
  return dot != std::string::npos && dot > 0 ? name.size() - dot : 0;
}

// Walks one INPUT directory. The directories on the current path (after
// resolving links) tell a link that leads back up from one that merely
// leads elsewhere.
class DirectorySearch {
 public:
  DirectorySearch(const std::string &root, std::vector<BatchJob> *jobs) : root_(root), jobs_(jobs) {}

  void Run() { Visit(fs::path(root_), fs::path()); }

 private:
  void Skip(const fs::path &path, const std::string &reason) { jobs_->push_back({path.string(), "", reason}); }

  void Visit(const fs::path &directory, const fs::path &relative) {
    std::error_code error;
    fs::path resolved = fs::canonical(directory, error);
    if (error) return Skip(directory, "cannot be searched: " + error.message());
    if (!on_path_.insert(resolved).second) return Skip(directory, "a symbolic link back into its own tree; not followed");
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
      entries.push_back(it->path());
    }
    if (error) {
      Skip(directory, "cannot be read: " + error.message());
    } else {
      std::sort(entries.begin(), entries.end());
      for (const fs::path &entry : entries) Take(entry, relative / entry.filename());
    }
    on_path_.erase(resolved);
  }

  void Take(const fs::path &entry, const fs::path &relative) {
    std::error_code error;
    fs::file_status status = fs::status(entry, error);
    if (error) {
      // A link that loops or leads nowhere; other unnamed things are left alone.
      if (fs::is_symlink(fs::symlink_status(entry, error))) Skip(entry, "a symbolic link that leads nowhere");
      return;
    }
    if (fs::is_directory(status)) return Visit(entry, relative);
    if (IsInventorFileName(entry.filename().string())) jobs_->push_back({entry.string(), relative.string(), ""});
  }

  std::string root_;
  std::vector<BatchJob> *jobs_;
  std::set<fs::path> on_path_;
};

// A later job that would write an earlier one's output is skipped; the
// same file reached twice under one output is converted once.
void SkipSharedOutputs(std::vector<BatchJob> *jobs) {
  std::map<std::string, const BatchJob *> writers;
  std::vector<BatchJob> kept;
  kept.reserve(jobs->size());
  for (BatchJob &job : *jobs) {
    if (!job.skipped.empty()) {
      kept.push_back(job);
      continue;
    }
    const std::string key = fs::path(job.output).lexically_normal().string();
    auto [it, first] = writers.emplace(key, nullptr);
    if (!first) {
      if (it->second->input == job.input) continue;
      job.skipped = "would write '" + job.output + "' as '" + it->second->input + "' does; not converted";
    }
    kept.push_back(job);
    if (first) it->second = &job;
  }
  *jobs = std::move(kept);
}

}  // namespace

bool IsInventorFileName(const std::string &name) {
  const std::string lower = Lowercase(name);
  return std::any_of(std::begin(kExtensions), std::end(kExtensions),
                     [&](const char *extension) { return EndsWith(lower, extension); });
}

std::string BatchOutputPath(const std::string &output_dir, const std::string &relative, const std::string &extension) {
  fs::path path(relative);
  std::string name = path.filename().string();
  name.erase(name.size() - ExtensionLength(name));
  path.replace_filename(name + "." + extension);
  return output_dir.empty() ? path.string() : (fs::path(output_dir) / path).string();
}

std::vector<BatchJob> PlanBatch(const std::vector<std::string> &inputs, const std::string &output_dir,
                                const std::string &extension) {
  std::vector<BatchJob> jobs;
  for (const std::string &input : inputs) {
    std::error_code error;
    if (fs::is_directory(input, error)) {
      const size_t first = jobs.size();
      DirectorySearch(input, &jobs).Run();
      for (size_t i = first; i < jobs.size(); ++i) {
        if (jobs[i].skipped.empty()) jobs[i].output = BatchOutputPath(output_dir, jobs[i].output, extension);
      }
      if (jobs.size() == first) jobs.push_back({input, "", "holds no .iv, .wrl, .iv.gz, .wrl.gz or .wrz file"});
    } else {
      // A file given by name is converted whatever its name; the worker
      // reports one that is missing, unreadable or no Inventor file.
      jobs.push_back({input, BatchOutputPath(output_dir, fs::path(input).filename().string(), extension), ""});
    }
  }
  SkipSharedOutputs(&jobs);
  return jobs;
}

}  // namespace kavrel
