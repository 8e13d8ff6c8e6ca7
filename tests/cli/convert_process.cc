#include "convert_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

namespace kavrel_test {

namespace fs = std::filesystem;

namespace {

int counter = 0;

[[noreturn]] void ExecChild(const std::vector<std::string> &argv, const std::string &cwd, const std::string &scratch,
                            const std::string &out, const std::string &err) {
  int out_fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out_fd < 0 || err_fd < 0 || (!cwd.empty() && chdir(cwd.c_str()) != 0)) _exit(126);
  dup2(out_fd, STDOUT_FILENO);
  dup2(err_fd, STDERR_FILENO);
  // Never the user's own preferences, always the plug-in built with the command.
  setenv("XDG_CONFIG_HOME", (scratch + "/.config").c_str(), 1);
  unsetenv("KAVREL_PLUGIN");
  std::vector<char *> args;
  for (const std::string &arg : argv) args.push_back(const_cast<char *>(arg.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string> &argv, const std::string &cwd, const std::string &scratch) {
  std::string base = scratch + "/.proc";
  fs::create_directories(base);
  base += "/" + std::to_string(getpid()) + "-" + std::to_string(counter++);
  out_path_ = base + ".out";
  err_path_ = base + ".err";
  pid_ = fork();
  if (pid_ == 0) ExecChild(argv, cwd, scratch, out_path_, err_path_);
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) Wait(0);
}

std::string ChildProcess::StandardError() const { return ReadFile(err_path_); }

ProcessResult ChildProcess::Wait(int seconds) {
  ProcessResult result;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int wait_status = 0;
  while (waitpid(pid_, &wait_status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &wait_status, 0);
      wait_status = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
  if (wait_status == -1) {
    result.status = 124;
  } else {
    result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
  }
  result.out = ReadFile(out_path_);
  result.err = ReadFile(err_path_);
  return result;
}

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (fs::temp_directory_path() / "kavrel-cli-XXXXXX").string();
  path_ = mkdtemp(pattern.data()) != nullptr ? pattern : "";
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  if (!path_.empty()) fs::remove_all(path_, ignored);
}

std::string ScratchDirectory::Write(const std::string &relative, const std::string &text) const {
  fs::path full = fs::path(path_) / relative;
  fs::create_directories(full.parent_path());
  std::ofstream(full, std::ios::binary) << text;
  return full.string();
}

std::vector<std::string> ScratchDirectory::List(const std::string &relative) const {
  std::vector<std::string> names;
  for (const auto &entry : fs::directory_iterator(fs::path(path_) / relative)) {
    std::string name = entry.path().filename().string();
    if (name[0] != '.') names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

ProcessResult RunConvert(const ScratchDirectory &scratch, const std::vector<std::string> &args,
                         const std::string &cwd) {
  std::vector<std::string> argv{KAVREL_CONVERT_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  return ChildProcess(argv, cwd.empty() ? scratch.path() : cwd, scratch.path()).Wait(120);
}

Counts SummaryCounts(const std::string &out) {
  Counts counts;
  const size_t line = out.find("Output: ");
  if (line == std::string::npos) return counts;
  const std::string text = out.substr(line, out.find('\n', line) - line);
  static const std::regex count(R"((\d+) ([a-z]+))");
  for (std::sregex_iterator it(text.begin(), text.end(), count), end; it != end; ++it) {
    counts[(*it)[2]] = std::stol((*it)[1]);
  }
  return counts;
}

}  // namespace kavrel_test
