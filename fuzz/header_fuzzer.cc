// Header validation ("validate_header") of one input: our first look at the
// bytes, then Coin3D's.
#include <string>

#include "fuzz/fuzz_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const kavrel_fuzz::FuzzSession &session = kavrel_fuzz::FuzzSession::Get();
  const std::string input = session.WriteRunFile("header.iv", data, size);
  kavrel_fuzz::CallPlugin({{"validate_header", input.c_str()}});
  return 0;
}
