#include "desktop_look.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "sdbus-c++/sdbus-c++.h"

namespace zarn_ui::launch {
namespace {

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kSettings = "org.freedesktop.portal.Settings";
constexpr const char* kNamespace = "org.freedesktop.appearance";
constexpr const char* kKey = "color-scheme";

ColorScheme scheme_of(const sdbus::Variant& value) {
  if (!value.containsValueOfType<std::uint32_t>()) return ColorScheme::NoPreference;
  switch (value.get<std::uint32_t>()) {
    case 1: return ColorScheme::Dark;
    case 2: return ColorScheme::Light;
    default: return ColorScheme::NoPreference;
  }
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

ColorScheme read_color_scheme(const std::string& bus_address, std::chrono::milliseconds timeout) {
  try {
    auto connection = bus_address.empty() ? sdbus::createSessionBusConnection()
                                          : sdbus::createSessionBusConnectionWithAddress(bus_address);
    auto portal = sdbus::createProxy(*connection, kPortal, kPortalPath);
    sdbus::Variant value;
    try {
      portal->callMethod("ReadOne")
          .onInterface(kSettings)
          .withTimeout(timeout)
          .withArguments(kNamespace, kKey)
          .storeResultsTo(value);
      return scheme_of(value);
    } catch (const sdbus::Error& e) {
      if (e.getName() != "org.freedesktop.DBus.Error.UnknownMethod") return ColorScheme::NoPreference;
    }
    // Portals before ReadOne wrap the value in one more variant.
    portal->callMethod("Read")
        .onInterface(kSettings)
        .withTimeout(timeout)
        .withArguments(kNamespace, kKey)
        .storeResultsTo(value);
    if (value.containsValueOfType<sdbus::Variant>()) return scheme_of(value.get<sdbus::Variant>());
    return scheme_of(value);
  } catch (const sdbus::Error&) {
    return ColorScheme::NoPreference;
  }
}

theme::Theme theme_for(ColorScheme scheme) {
  return scheme == ColorScheme::Dark ? theme::Theme::dark() : theme::Theme::light();
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
