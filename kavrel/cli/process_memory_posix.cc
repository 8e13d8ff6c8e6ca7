#include "kavrel/cli/process_memory.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace kavrel {

namespace {

constexpr char kTunable[] = "glibc.malloc.hugetlb=1";
constexpr char kRestarted[] = "KAVREL_SMALL_PAGES";

void RestartWithHugePages(char **argv) {
  if (std::getenv(kRestarted) != nullptr) return;
  const char *tunables = std::getenv("GLIBC_TUNABLES");
  std::string value = tunables != nullptr ? tunables : "";
  if (value.find("glibc.malloc.hugetlb") != std::string::npos) return;
  value = value.empty() ? kTunable : value + ":" + kTunable;
  // The marker keeps a second start (or a child) from trying again.
  if (setenv(kRestarted, "restarted", 1) != 0 || setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0) return;
  execv("/proc/self/exe", argv);
  // Still here: run on with small pages, and an environment as it was.
  if (tunables != nullptr) setenv("GLIBC_TUNABLES", tunables, 1);
  else unsetenv("GLIBC_TUNABLES");
}

}  // namespace

void TuneProcessMemory(char **argv) {
  RestartWithHugePages(argv);
  // Everything from the one heap, and freed memory kept there for reuse
  // rather than given back to the system and faulted in again.
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

}  // namespace kavrel
