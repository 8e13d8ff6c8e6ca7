// The plug-in DLL loaded the way a Windows host loads it, and driven only
// through its entry point.
#ifndef TESTS_WINDOWS_PLUGIN_DLL_H
#define TESTS_WINDOWS_PLUGIN_DLL_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace windows_test {

// Kavrel_Plugin_EntryPoint with the tokens and parallel values (the list
// end is added); the call's result. The DLL is loaded on first use with
// LoadLibrary and kept, as hosts keep plug-ins.
int32_t Send(std::vector<const char *> tokens, std::vector<intptr_t> values = {});

// The plug-in DLL's module handle (loaded on first use, as by Send).
HMODULE PluginModule();

intptr_t Value(const std::string &text);

// A new directory under the temporary folder whose name has a character
// outside ASCII (in the ANSI code page, as the plug-in's narrow calls take
// it); removed with everything in it when the object goes.
class SupportDirectory {
 public:
  SupportDirectory();
  ~SupportDirectory();
  const std::string &path() const { return path_; }  // ANSI, ends with '\'
  std::string Read(const char *name) const;          // the file's bytes, "" when missing

 private:
  std::wstring wide_;
  std::string path_;
};

}  // namespace windows_test

#endif
