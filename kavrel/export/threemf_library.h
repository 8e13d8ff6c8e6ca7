// lib3mf's plain C interface (the 3MF Consortium's library, 1.x) held
// safely: every instance it hands out is released exactly once, and every
// call's result is checked, a failure thrown as ThreeMfError with lib3mf's
// own message. Only the 3MF writer's files include this.
#ifndef KAVREL_EXPORT_THREEMF_LIBRARY_H
#define KAVREL_EXPORT_THREEMF_LIBRARY_H

#include <stdexcept>
#include <string>

#include <Model/COM/NMR_DLLInterfaces.h>

namespace kavrel {

class ThreeMfError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One lib3mf instance (model, mesh object, build item, writer, ...). Every
// lib3mf type is the same untyped pointer, so one class holds them all.
class ThreeMfHandle {
 public:
  ThreeMfHandle() = default;
  ~ThreeMfHandle() { Release(); }
  ThreeMfHandle(const ThreeMfHandle &) = delete;
  ThreeMfHandle &operator=(const ThreeMfHandle &) = delete;

  NMR::PLib3MFBase *get() const { return instance_; }
  // For a call that hands out an instance: whatever was held is released.
  NMR::PLib3MFBase **Out() {
    Release();
    return &instance_;
  }

 private:
  void Release();
  NMR::PLib3MFBase *instance_ = nullptr;
};

// Throws ThreeMfError("DOING: lib3mf's message") unless result is success;
// the message is the one lib3mf keeps for instance (the one called).
void CheckThreeMf(LIB3MFRESULT result, NMR::PLib3MFBase *instance, const char *doing);

}  // namespace kavrel

#endif
