#pragma once
// Sets or removes environment variables for one scope and puts back what was there, also when a
// test assertion leaves the scope early. For tests; the variables are the process's own.

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace base {

class ScopedEnv {
 public:
  ScopedEnv() = default;
  ScopedEnv(const std::string& name, const std::optional<std::string>& value) { set(name, value); }
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) apply(it->first, it->second);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

  // `value` none removes the variable.
  void set(const std::string& name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    apply(name, value);
  }

 private:
  static void apply(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }

  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace base
