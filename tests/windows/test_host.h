// A fresh Host for a Windows test, current for both host DLLs while the
// object lives (or until the next Restart, which starts another).
#ifndef TESTS_WINDOWS_TEST_HOST_H
#define TESTS_WINDOWS_TEST_HOST_H

#include <memory>
#include <optional>
#include <utility>

#include "kavrel/host.h"

namespace windows_test {

class TestHost {
 public:
  explicit TestHost(kavrel::HostSettings settings = {}) { Restart(std::move(settings)); }
  void Restart(kavrel::HostSettings settings = {}) {
    current_.reset();
    host_ = std::make_unique<kavrel::Host>(std::move(settings));
    current_.emplace(*host_);
  }
  kavrel::Host &operator*() const { return *host_; }
  kavrel::Host *operator->() const { return host_.get(); }

 private:
  std::unique_ptr<kavrel::Host> host_;
  std::optional<kavrel::CurrentHostScope> current_;
};

}  // namespace windows_test

#endif
