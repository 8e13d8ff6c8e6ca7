// The plug-in library as a host sees it: one exported symbol, loaded with
// the platform loader and driven through its token lists.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "kavrel/host.h"

namespace {

using EntryPoint = void (*)(const char **, const intptr_t *, int32_t *, intptr_t);

TEST(PluginLibrary, ExportsOnlyTheEntryPoint) {
  const std::string command = std::string("nm -D --defined-only '") + KAVREL_PLUGIN_PATH + "'";
  FILE *pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string symbols;
  char line[512];
  while (std::fgets(line, sizeof line, pipe)) {
    std::string text(line);
    symbols += text.substr(text.find_last_of(' ') + 1);
  }
  EXPECT_EQ(pclose(pipe), 0);
  EXPECT_EQ(symbols, "Kavrel_Plugin_EntryPoint\n");
}

TEST(PluginLibrary, LoadsAndConvertsThroughTokenLists) {
  void *library = dlopen(KAVREL_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto entry = reinterpret_cast<EntryPoint>(dlsym(library, "Kavrel_Plugin_EntryPoint"));
  ASSERT_NE(entry, nullptr);
  const std::string path = testing::TempDir() + "library_cube.iv";
  std::ofstream(path) << "#Inventor V2.1 ascii\nSeparator { DEF Box Cube {} }\n";
  kavrel::Host host;
  kavrel::CurrentHostScope current(host);

  const char *validate[] = {"validate_header", nullptr};
  const intptr_t validate_values[] = {reinterpret_cast<intptr_t>(path.c_str()), 0};
  int32_t result = 7;
  entry(validate, validate_values, &result, 0);
  EXPECT_EQ(result, 1);

  const char *convert[] = {"execute_geometry_converter", "filename", "print_stats", nullptr};
  const intptr_t convert_values[] = {0, reinterpret_cast<intptr_t>(path.c_str()), reinterpret_cast<intptr_t>("0"), 0};
  entry(convert, convert_values, &result, 0);
  EXPECT_EQ(result, 0);
  EXPECT_NE(host.scene().objects.find("Box"), nullptr);
  // Never unloaded, as hosts keep plug-ins: Coin3D holds on to the element
  // class the plug-in registered.
}

}  // namespace
