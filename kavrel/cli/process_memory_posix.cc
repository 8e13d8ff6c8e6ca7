#include "kavrel/cli/process_memory.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "kavrel/memory/large_blocks.h"

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

// Restarted with the tunable, on a system whose transparent huge pages
// are not turned off.
bool HugePagesInEffect() {
  const char *tunables = std::getenv("GLIBC_TUNABLES");
  if (tunables == nullptr || std::strstr(tunables, kTunable) == nullptr) return false;
  std::ifstream mode("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string line;
  return std::getline(mode, line) && line.find("[never]") == std::string::npos;
}

}  // namespace

void TuneProcessMemory(char **argv) {
  RestartWithHugePages(argv);
  if (HugePagesInEffect()) StopServingLargeBlocks();
  // Arrays of a megabyte and more get mappings of their own, given back
  // when freed: kept in the heap, a growing array leaves holes that later
  // ones do not fit, and the peak grew by up to half again for meshes of a
  // few hundred thousand triangles. A fixed threshold also stops glibc from
  // raising it after the first large free, which would bring the holes
  // back. Small blocks stay in the heap, which grows and shrinks in steps
  // of 16 MB, not page by page.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  mallopt(M_TOP_PAD, 16 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

}  // namespace kavrel
