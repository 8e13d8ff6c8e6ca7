// The SoInput the driver reads with. Coin3D's reader cannot survive some
// input: it recurses once per nesting level until the stack runs out, it
// loops forever on a binary array of more than 2^30 values, and it follows
// File includes into themselves until it runs out of file handles. Every
// read method of SoInput is virtual, so the reader's own calls pass through
// here: each name read checks the stack left, each binary count its size,
// and each include is checked against the files being read around it.
// (Overlong names are the prescan's: Coin3D reads ASCII names by itself,
// and refuses binary strings above 10 KB.)
#ifndef SCENE_GUARDED_INPUT_H
#define SCENE_GUARDED_INPUT_H

#include <Inventor/SbName.h>
#include <Inventor/SoInput.h>
#include <Inventor/SoType.h>
#include <Inventor/errors/SoReadError.h>

class SoSeparator;

#include <string>
#include <vector>

class GuardedInput : public SoInput {
 public:
  using SoInput::read;

  SbBool openFile(const char *name, SbBool ok_if_not_found = FALSE) override;
  SbBool read(SbName &name, SbBool valid_identifier = FALSE) override;
  SbBool read(int &value) override;
  SbBool pushFile(const char *name) override;

  // SoDB::readAll through this input, watching the read errors Coin3D posts.
  SoSeparator *ReadAll();

  // Why the read was stopped, "" when it was not; a refusal's reason.
  const std::string &stopped() const { return stopped_; }
  // The first read error Coin3D posted inside an included file, "" for
  // none: Coin3D reports it and goes on without the include's contents.
  const std::string &include_error() const { return include_error_; }
  // Names of included files that none of Coin3D's search places holds.
  const std::vector<std::string> &missing_includes() const { return missing_includes_; }

 protected:
  SbBool popFile() override;

 private:
  bool Stop(const std::string &why);
  static void WatchReadError(const SoError *error, void *input);

  SoErrorCB *earlier_handler_ = nullptr;  // Coin3D's handler while ReadAll runs
  void *earlier_data_ = nullptr;
  std::string include_error_;

  std::string stopped_;
  SoType node_type_;                      // of the node whose fields a binary file is giving
  SbName field_name_;                     // the field whose value comes next
  std::vector<std::string> open_files_;   // the input, then each include being read in it
  std::vector<std::string> missing_includes_;
};

#endif
