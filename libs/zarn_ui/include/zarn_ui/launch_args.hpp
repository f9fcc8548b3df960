#pragma once
// The parsed command line: the application's own switches and value options, plus the
// launcher's shot options (--shot PATH, --shot-size WxH, --shot-text-scale F).

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/result.hpp"

namespace zarn_ui::launch {

struct ShotSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool operator==(const ShotSize&) const = default;
};

class LaunchArgs {
 public:
  // Parses argv[1..] against the known switches and value options. Values follow their option
  // as the next argument or after "=". Unknown arguments, missing values and malformed shot
  // options are errors.
  static base::Result<LaunchArgs> parse(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                                        const std::vector<std::string>& value_options);

  // Built directly, for the app's own tests and the shot run.
  static LaunchArgs from_flags(std::vector<std::string> flags);

  bool has(const std::string& flag) const { return flags_.count(flag) != 0; }
  std::optional<std::string> value(const std::string& option) const;
  void set_value(const std::string& option, std::string value);

  // Any application switch or value option given (a demonstration start).
  bool any_app_argument() const { return !flags_.empty() || !values_.empty(); }

  const std::optional<std::string>& shot_output() const { return shot_output_; }
  const std::optional<ShotSize>& shot_size() const { return shot_size_; }
  const std::optional<float>& shot_text_scale() const { return shot_text_scale_; }
  void set_shot_output(std::string path) { shot_output_ = std::move(path); }
  void set_shot_size(ShotSize size) { shot_size_ = size; }
  void set_shot_text_scale(float scale) { shot_text_scale_ = scale; }

 private:
  std::set<std::string> flags_;
  std::vector<std::pair<std::string, std::string>> values_;
  std::optional<std::string> shot_output_;
  std::optional<ShotSize> shot_size_;
  std::optional<float> shot_text_scale_;
};

// The usage text printed for --help and with an argument error.
std::string usage_text(const std::string& program, const std::vector<std::string>& flags,
                       const std::vector<std::string>& value_options);

}  // namespace zarn_ui::launch
