#pragma once
// Sets or removes environment variables for one scope and puts back what was there, also when a
// test assertion leaves the scope early. For tests; the variables are the process's own.

#include <cstdlib>
#include <ctime>
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

// The time zone of the C library's local time for one scope: TZ set and read again (tzset),
// and the old value put back and read again when the scope ends.
class ScopedTz {
 public:
  explicit ScopedTz(const std::string& tz) {
    env_.emplace("TZ", tz);
    ::tzset();
  }
  ~ScopedTz() {
    env_.reset();
    ::tzset();
  }
  ScopedTz(const ScopedTz&) = delete;
  ScopedTz& operator=(const ScopedTz&) = delete;

 private:
  std::optional<ScopedEnv> env_;
};

}  // namespace base
