#include "kavrel/export/threemf_library.h"

#include <cstdio>

namespace kavrel {

void ThreeMfHandle::Release() {
  if (instance_ != nullptr) NMR::lib3mf_release(instance_);
  instance_ = nullptr;
}

void CheckThreeMf(LIB3MFRESULT result, NMR::PLib3MFBase *instance, const char *doing) {
  if (result == LIB3MF_OK) return;
  DWORD code = 0;
  LPCSTR message = nullptr;
  std::string text = doing;
  if (instance != nullptr && NMR::lib3mf_getlasterror(instance, &code, &message) == LIB3MF_OK && message != nullptr &&
      *message != '\0') {
    text += std::string(": ") + message;
  } else {
    char number[32];
    std::snprintf(number, sizeof number, ": lib3mf error 0x%X", static_cast<unsigned>(result));
    text += number;
  }
  throw ThreeMfError(text);
}

}  // namespace kavrel
