#include "kavrel/cli/batch_process.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <io.h>
#include <map>

namespace kavrel {

namespace {

std::atomic<int> interrupts{0};
std::atomic<int> termination{0};

// The processes started, by the id the batch knows them by.
std::map<WorkerId, PROCESS_INFORMATION> &Workers() {
  static std::map<WorkerId, PROCESS_INFORMATION> workers;
  return workers;
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
    ++interrupts;
    return TRUE;
  }
  termination = 15;  // a closing console ends the batch as SIGTERM would
  return TRUE;
}

// One argument quoted as the C runtime's command-line parser reads it back.
std::string Quoted(const std::string &argument) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  return quoted.append(2 * backslashes, '\\') + "\"";
}

HANDLE OpenInherited(const char *path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  return CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

std::string LastError(const char *what) {
  return std::string(what) + " (Windows error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

bool StartWorker(const std::vector<std::string> &argv, const std::string &out, const std::string &err,
                 WorkerId *id, std::string *error) {
  std::string command;
  for (const std::string &argument : argv) command += (command.empty() ? "" : " ") + Quoted(argument);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = OpenInherited("NUL", GENERIC_READ, OPEN_EXISTING);
  startup.hStdOutput = OpenInherited(out.c_str(), GENERIC_WRITE, CREATE_ALWAYS);
  startup.hStdError = OpenInherited(err.c_str(), GENERIC_WRITE, CREATE_ALWAYS);
  PROCESS_INFORMATION process = {};
  const bool streams = startup.hStdInput != INVALID_HANDLE_VALUE && startup.hStdOutput != INVALID_HANDLE_VALUE &&
                       startup.hStdError != INVALID_HANDLE_VALUE;
  // A process group of its own: the console's Ctrl-C reaches only the batch.
  const bool started = streams && CreateProcessA(argv[0].c_str(), &command[0], nullptr, nullptr, TRUE,
                                                 CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &process);
  if (!started) *error = LastError(streams ? "cannot start a worker process" : "cannot open a worker's output files");
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  if (!started) return false;
  CloseHandle(process.hThread);
  *id = process.dwProcessId;
  Workers()[*id] = process;
  return true;
}

bool WorkerEnded(WorkerId id, WorkerEnd *end) {
  auto found = Workers().find(id);
  if (found == Workers().end() || WaitForSingleObject(found->second.hProcess, 0) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(found->second.hProcess, &code);
  CloseHandle(found->second.hProcess);
  Workers().erase(found);
  // Exception codes (0xC0000005 for an access violation, ...) stand for
  // what a signal is elsewhere.
  end->signaled = code >= 0xC0000000u;
  end->code = static_cast<int>(code);
  char name[32] = "";
  if (end->signaled) std::snprintf(name, sizeof(name), "exception 0x%08lX", static_cast<unsigned long>(code));
  end->signal_name = name;
  return true;
}

void StopWorker(WorkerId id, WorkerStop how) {
  auto found = Workers().find(id);
  if (found == Workers().end()) return;
  if (how == WorkerStop::kInterrupt) {
    GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, static_cast<DWORD>(id));
  } else {
    TerminateProcess(found->second.hProcess, how == WorkerStop::kTerminate ? 143 : 137);
  }
}

bool ErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

int TerminalColumns() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info)) return 80;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

std::string MakeScratchDirectory() {
  char base[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof(base), base);
  if (length == 0 || length > MAX_PATH) return "";
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const std::string path = std::string(base) + "kavrel-batch-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount() + attempt);
    if (CreateDirectoryA(path.c_str(), nullptr)) return path;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
  }
  return "";
}

void InstallBatchSignals() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

int BatchInterrupts() { return interrupts; }

int BatchTermination() { return termination; }

void DieOfTermination(int signal_number) { ExitProcess(128 + signal_number); }

}  // namespace kavrel
