#include <algorithm>
#include <charconv>

#include <fmt/format.h>

#include "zarn_ui/launch_args.hpp"
#include "zarn_ui/theme.hpp"

namespace zarn_ui::launch {
namespace {

bool contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

std::optional<std::uint32_t> parse_u32(std::string_view s) {
  std::uint32_t v = 0;
  if (s.empty()) return std::nullopt;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
  return v;
}

base::Result<ShotSize> parse_size(const std::string& text) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) return base::err(fmt::format("--shot-size expects WIDTHxHEIGHT, got \"{}\"", text));
  const auto w = parse_u32(std::string_view(text).substr(0, x));
  const auto h = parse_u32(std::string_view(text).substr(x + 1));
  // Cairo image surfaces stop at 32767 pixels a side.
  if (!w || !h || *w == 0 || *h == 0 || *w > 16384 || *h > 16384) {
    return base::err(fmt::format("--shot-size expects WIDTHxHEIGHT between 1 and 16384, got \"{}\"", text));
  }
  return ShotSize{*w, *h};
}

base::Result<float> parse_scale(const std::string& text) {
  float v = 0.0f;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  // The theme holds the scale to its range; refuse what it would change rather than shoot something else.
  if (ec != std::errc() || p != text.data() + text.size() ||
      !(v >= theme::kMinTextScale && v <= theme::kMaxTextScale)) {
    return base::err(fmt::format("--shot-text-scale expects a number from {} to {}, got \"{}\"", theme::kMinTextScale,
                                 theme::kMaxTextScale, text));
  }
  return v;
}

}  // namespace

base::Result<LaunchArgs> LaunchArgs::parse(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                                           const std::vector<std::string>& value_options) {
  static const std::vector<std::string> kShotOptions = {"--shot", "--shot-size", "--shot-text-scale"};
  LaunchArgs out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> inline_value;
    if (const auto eq = name.find('='); eq != std::string::npos && name.rfind("--", 0) == 0) {
      inline_value = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    if (contains(flags, name)) {
      if (inline_value) return base::err(fmt::format("{} takes no value", name));
      out.flags_.insert(name);
      continue;
    }
    const bool app_option = contains(value_options, name);
    if (!app_option && !contains(kShotOptions, name)) {
      return base::err(fmt::format("unknown argument \"{}\"", args[i]));
    }
    std::string value;
    if (inline_value) {
      value = *inline_value;
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return base::err(fmt::format("{} needs a value", name));
    }
    if (app_option) {
      out.set_value(name, std::move(value));
    } else if (name == "--shot") {
      if (value.empty()) return base::err("--shot needs a file path");
      out.shot_output_ = std::move(value);
    } else if (name == "--shot-size") {
      auto size = parse_size(value);
      if (!size) return base::err(size.error());
      out.shot_size_ = *size;
    } else {
      auto scale = parse_scale(value);
      if (!scale) return base::err(scale.error());
      out.shot_text_scale_ = *scale;
    }
  }
  return out;
}

LaunchArgs LaunchArgs::from_flags(std::vector<std::string> flags) {
  LaunchArgs out;
  for (auto& f : flags) out.flags_.insert(std::move(f));
  return out;
}

std::optional<std::string> LaunchArgs::value(const std::string& option) const {
  // The last occurrence wins, as with most command lines.
  for (auto it = values_.rbegin(); it != values_.rend(); ++it) {
    if (it->first == option) return it->second;
  }
  return std::nullopt;
}

void LaunchArgs::set_value(const std::string& option, std::string value) {
  values_.emplace_back(option, std::move(value));
}

std::string usage_text(const std::string& program, const std::vector<std::string>& flags,
                       const std::vector<std::string>& value_options) {
  std::string out = fmt::format("usage: {} [OPTIONS]\n\noptions:\n", program);
  for (const auto& f : flags) out += fmt::format("  {}\n", f);
  for (const auto& o : value_options) out += fmt::format("  {} VALUE\n", o);
  out +=
      "  --shot PATH             render one frame headless and write it as a PNG\n"
      "  --shot-size WxH         size of the shot (default 1280x800)\n"
      "  --shot-text-scale F     text scale of the shot (default 1.0)\n"
      "  -h, --help              show this text\n";
  return out;
}

}  // namespace zarn_ui::launch
