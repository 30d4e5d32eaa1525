// ScopedEnv: sets (or, with nullopt, unsets) an environment variable for
// one scope and puts back what was there, also when an assertion leaves
// the test early.
//
//   xk::test::ScopedEnv path("PATH", xk::test::PathFirst(tools.Path()));
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace xk::test {

class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) old_ = old;
    if (value) setenv(name_.c_str(), value->c_str(), 1);
    else unsetenv(name_.c_str());
  }
  ~ScopedEnv() {
    if (old_) setenv(name_.c_str(), old_->c_str(), 1);
    else unsetenv(name_.c_str());
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// The search path with folder first, so a program there (the built kestb,
// a stand-in) is the one found.
inline std::string PathFirst(const std::string& folder) {
  const char* path = std::getenv("PATH");
  return folder + ":" + (path ? path : "/usr/bin:/bin");
}

}  // namespace xk::test
