#include "kavrel/cli/batch_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char **environ;

namespace kavrel {

namespace {

volatile sig_atomic_t interrupts = 0;
volatile sig_atomic_t termination = 0;

void OnInterrupt(int) { interrupts = interrupts + 1; }
void OnTermination(int signal_number) { termination = signal_number; }

// File actions of a worker: where its three standard streams go.
bool RedirectStreams(posix_spawn_file_actions_t *actions, const std::string &out, const std::string &err) {
  const int flags = O_WRONLY | O_CREAT | O_TRUNC;
  return posix_spawn_file_actions_addopen(actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0 &&
         posix_spawn_file_actions_addopen(actions, STDOUT_FILENO, out.c_str(), flags, 0600) == 0 &&
         posix_spawn_file_actions_addopen(actions, STDERR_FILENO, err.c_str(), flags, 0600) == 0;
}

}  // namespace

bool StartWorker(const std::vector<std::string> &argv, const std::string &out, const std::string &err,
                 WorkerId *id, std::string *error) {
  std::vector<char *> arguments;
  for (const std::string &argument : argv) arguments.push_back(const_cast<char *>(argument.c_str()));
  arguments.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  // The worker starts with default signal dispositions and none blocked,
  // whatever the batch itself has installed.
  sigset_t defaults, none;
  sigemptyset(&defaults);
  for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaddset(&defaults, s);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  pid_t pid = -1;
  int result = RedirectStreams(&actions, out, err)
                   ? posix_spawn(&pid, arguments[0], &actions, &attributes, arguments.data(), environ)
                   : errno;
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (result != 0) {
    *error = "cannot start a worker process: " + std::string(std::strerror(result));
    return false;
  }
  *id = pid;
  return true;
}

bool WorkerEnded(WorkerId id, WorkerEnd *end) {
  int status = 0;
  pid_t done = waitpid(static_cast<pid_t>(id), &status, WNOHANG);
  if (done != static_cast<pid_t>(id)) return false;
  end->signaled = WIFSIGNALED(status);
  end->code = end->signaled ? WTERMSIG(status) : WEXITSTATUS(status);
  end->signal_name = end->signaled ? strsignal(end->code) : "";
  return true;
}

void StopWorker(WorkerId id, WorkerStop how) {
  const int signal_number = how == WorkerStop::kInterrupt ? SIGINT : how == WorkerStop::kTerminate ? SIGTERM : SIGKILL;
  kill(static_cast<pid_t>(id), signal_number);
}

bool ErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

int TerminalColumns() {
  struct winsize size{};
  return ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

std::string MakeScratchDirectory() {
  const char *base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") + "/kavrel-batch-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  return mkdtemp(buffer.data()) != nullptr ? std::string(buffer.data()) : "";
}

void InstallBatchSignals() {
  struct sigaction action = {};
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  action.sa_handler = OnInterrupt;
  sigaction(SIGINT, &action, nullptr);
  action.sa_handler = OnTermination;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

int BatchInterrupts() { return interrupts; }

int BatchTermination() { return termination; }

void DieOfTermination(int signal_number) {
  signal(signal_number, SIG_DFL);
  raise(signal_number);
  _exit(128 + signal_number);
}

}  // namespace kavrel
