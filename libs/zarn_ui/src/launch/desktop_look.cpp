#include "desktop_look.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace zarn_ui::launch {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

bool apply_appearance_setting(DesktopLook& look, std::string_view ns, std::string_view key,
                              std::optional<std::uint32_t> value) {
  if (ns != kAppearanceNamespace) return false;
  if (key == kColorSchemeKey) {
    look.scheme = value == 1u ? ColorScheme::Dark : value == 2u ? ColorScheme::Light : ColorScheme::NoPreference;
    return true;
  }
  if (key == kContrastKey) {
    look.contrast = value == 1u ? Contrast::High : Contrast::Normal;
    return true;
  }
  return false;
}

theme::Theme theme_for(const DesktopLook& look) {
  if (look.contrast == Contrast::High) return theme::Theme::high_contrast();
  return look.scheme == ColorScheme::Dark ? theme::Theme::dark() : theme::Theme::light();
}

double desktop_scale(const char* gdk_scale, std::optional<double> xft_dpi) {
  if (gdk_scale && *gdk_scale) {
    int whole = 0;
    const char* end = gdk_scale + std::strlen(gdk_scale);
    auto [ptr, ec] = std::from_chars(gdk_scale, end, whole);
    if (ec == std::errc() && ptr == end && whole >= 1 && whole <= 8) return whole;
  }
  if (xft_dpi && std::isfinite(*xft_dpi) && *xft_dpi > 0) return std::clamp(*xft_dpi / 96.0, 0.5, 4.0);
  return 1.0;
}

std::optional<double> xft_dpi_from_resources(std::string_view resources) {
  while (!resources.empty()) {
    const auto eol = resources.find('\n');
    std::string_view line = resources.substr(0, eol);
    resources = eol == std::string_view::npos ? std::string_view() : resources.substr(eol + 1);
    const auto colon = line.find(':');
    if (colon == std::string_view::npos || trim(line.substr(0, colon)) != "Xft.dpi") continue;
    const std::string_view text = trim(line.substr(colon + 1));
    double dpi = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), dpi);
    if (ec == std::errc() && ptr == text.data() + text.size() && std::isfinite(dpi) && dpi > 0) return dpi;
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace zarn_ui::launch
