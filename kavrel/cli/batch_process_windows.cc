#include "kavrel/cli/batch_process.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <io.h>

namespace kavrel {

namespace {

std::atomic<int> interrupts{0};
std::atomic<int> termination{0};

// A worker's id is the handle of its process: it stays open, and the id
// valid, until WorkerEnded has seen the process end.
HANDLE ProcessOf(WorkerId id) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(id)); }

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
  *id = static_cast<WorkerId>(reinterpret_cast<intptr_t>(process.hProcess));
  return true;
}

bool WorkerEnded(WorkerId id, WorkerEnd *end) {
  const HANDLE process = ProcessOf(id);
  if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
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
  const HANDLE process = ProcessOf(id);
  if (how == WorkerStop::kInterrupt) {
    // The worker leads a process group of its own, numbered as the process.
    GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, GetProcessId(process));
  } else {
    TerminateProcess(process, how == WorkerStop::kTerminate ? 143 : 137);
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
