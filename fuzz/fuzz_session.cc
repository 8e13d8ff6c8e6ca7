#include "fuzz/fuzz_session.h"

#include <Inventor/SoDB.h>
#include <Inventor/errors/SoDebugError.h>
#include <Inventor/errors/SoMemoryError.h>
#include <Inventor/errors/SoReadError.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "kavrel/host.h"
#include "plugin/plugin.h"

namespace kavrel_fuzz {

namespace fs = std::filesystem;

namespace {

std::string MakeRoot() {
  std::string pattern = (fs::temp_directory_path() / "kavrel-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  return pattern + "/";
}

void RemoveRoot() {
  std::error_code ignored;
  fs::remove_all(FuzzSession::Get().root(), ignored);
}

void IgnoreCoinMessage(const SoError *, void *) {}

// Coin3D prints every read error of every mutated input; its classes keep
// a handler each, and SoDB::init installs the printing ones.
void SilenceCoin() {
  SoDB::init();
  SoError::setHandlerCallback(IgnoreCoinMessage, nullptr);
  SoDebugError::setHandlerCallback(IgnoreCoinMessage, nullptr);
  SoReadError::setHandlerCallback(IgnoreCoinMessage, nullptr);
  SoMemoryError::setHandlerCallback(IgnoreCoinMessage, nullptr);
}

void WriteFile(const std::string &path, const char *data, size_t size) {
  std::ofstream(path, std::ios::binary).write(data, static_cast<std::streamsize>(size));
}

}  // namespace

FuzzSession::FuzzSession() : root_(MakeRoot()), support_dir_(root_ + "support/"), run_dir_(root_ + "run/") {
  fs::create_directories(support_dir_);
  fs::create_directories(run_dir_);
  StartHost();
  SilenceCoin();
}

FuzzSession &FuzzSession::Get() {
  static FuzzSession *session = [] {
    FuzzSession *made = new FuzzSession();
    std::atexit(RemoveRoot);
    return made;
  }();
  return *session;
}

std::string FuzzSession::WriteRunFile(const std::string &name, const uint8_t *data, size_t size) const {
  const std::string path = run_dir_ + name;
  WriteFile(path, reinterpret_cast<const char *>(data), size);
  return path;
}

std::string FuzzSession::WriteSupportFile(const std::string &name, const std::string &text) const {
  const std::string path = support_dir_ + name;
  WriteFile(path, text.data(), text.size());
  return path;
}

void FuzzSession::ClearRunDir() const {
  std::error_code ignored;
  for (const fs::directory_entry &entry : fs::directory_iterator(run_dir_, ignored)) fs::remove_all(entry, ignored);
}

void FuzzSession::StartHost() {
  kavrel::HostSettings quiet;
  quiet.sinks.report = [](const std::string &) {};
  quiet.sinks.error = [](int, const std::string &) {};
  quiet.sinks.progress = [](const std::string &) {};
  current_.reset();
  host_ = std::make_unique<kavrel::Host>(std::move(quiet));
  current_.emplace(*host_);
  host_->journal().set_enabled(false);
}

void FuzzSession::StartPlugin() {
  StartHost();
  CallPlugin({{"initialize", support_dir_.c_str()}});
}

int32_t CallPlugin(const std::vector<Token> &tokens) {
  std::vector<const char *> names;
  std::vector<intptr_t> values;
  for (const Token &token : tokens) {
    names.push_back(token.first);
    values.push_back(reinterpret_cast<intptr_t>(token.second));
  }
  names.push_back(nullptr);
  values.push_back(0);
  int32_t result = 0;
  Kavrel_Plugin_EntryPoint(names.data(), values.data(), &result, 0);
  return result;
}

int32_t ConvertFile(const std::string &path, bool count_in_traversal_state) {
  const std::string &textures = FuzzSession::Get().run_dir();
  // As kavrel-convert sends them, with a limit that keeps a blown-up graph
  // within the fuzzer's time and memory.
  std::vector<Token> tokens = {{"execute_geometry_converter", nullptr},
                               {"filename", path.c_str()},
                               {"txtr_save_dir", textures.c_str()},
                               {"txtr_save_dir_same", "0"},
                               {"max_triangles", "2000000"}};
  if (count_in_traversal_state) tokens.push_back({"count_in_traversal_state", "1"});
  return CallPlugin(tokens);
}

}  // namespace kavrel_fuzz

