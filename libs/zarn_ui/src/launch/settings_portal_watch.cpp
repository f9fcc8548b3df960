#include "settings_portal_watch.hpp"

#include <array>
#include <mutex>
#include <string_view>

#include "sdbus-c++/sdbus-c++.h"

namespace zarn_ui::launch {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kSettings = "org.freedesktop.portal.Settings";

std::optional<std::uint32_t> number_of(const sdbus::Variant& value) {
  if (!value.containsValueOfType<std::uint32_t>()) return std::nullopt;
  return value.get<std::uint32_t>();
}

}  // namespace

struct SettingsPortalWatch::Shared {
  std::mutex mu;
  DesktopLook look;
  bool changed = false;
  // Keys a signal has set: the start-up read, which may answer later, does not undo them.
  bool signalled_scheme = false;
  bool signalled_contrast = false;
  std::function<void()> wake;

  void apply(std::string_view ns, std::string_view key, std::optional<std::uint32_t> value, bool from_signal) {
    std::function<void()> to_wake;
    {
      std::lock_guard lock(mu);
      DesktopLook next = look;
      if (!apply_appearance_setting(next, ns, key, value)) return;
      bool& signalled = key == kColorSchemeKey ? signalled_scheme : signalled_contrast;
      if (from_signal) {
        signalled = true;
      } else if (signalled) {
        return;
      }
      if (next == look) return;
      look = next;
      if (!from_signal) return;
      changed = true;
      to_wake = wake;
    }
    if (to_wake) to_wake();
  }
};

SettingsPortalWatch::SettingsPortalWatch(const std::string& bus_address, std::chrono::milliseconds timeout)
    : shared_(std::make_shared<Shared>()) {
  const auto deadline = Clock::now() + timeout;
  try {
    auto connection = bus_address.empty() ? sdbus::createSessionBusConnection()
                                          : sdbus::createSessionBusConnectionWithAddress(bus_address);
    // The proxy owns the connection and reads it on a thread of its own.
    proxy_ = sdbus::createProxy(std::move(connection), kPortal, kPortalPath);
    proxy_->registerSignalHandler(kSettings, "SettingChanged", [shared = shared_](sdbus::Signal& signal) {
      std::string ns, key;
      sdbus::Variant value;
      try {
        signal >> ns >> key >> value;
      } catch (const sdbus::Error&) {
        return;  // not the portal's signature
      }
      // Too few arguments, or no variant where it belongs.
      if (!signal || value.peekValueType().empty()) return;
      shared->apply(ns, key, number_of(value), true);
    });
    proxy_->finishRegistration();
  } catch (const sdbus::Error&) {
    proxy_.reset();
    return;
  }

  // The current values. Portals before ReadOne have only Read, which wraps the value in one more
  // variant. A key the portal refuses (an older one has no "contrast") keeps no preference.
  bool read_one = true;
  for (const std::string_view key : std::array{kColorSchemeKey, kContrastKey}) {
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    if (left.count() <= 0) return;
    const std::string ns(kAppearanceNamespace), name(key);
    sdbus::Variant value;
    try {
      if (read_one) {
        try {
          proxy_->callMethod("ReadOne").onInterface(kSettings).withTimeout(left).withArguments(ns, name).storeResultsTo(
              value);
        } catch (const sdbus::Error& e) {
          if (e.getName() != "org.freedesktop.DBus.Error.UnknownMethod") throw;
          read_one = false;
        }
      }
      if (!read_one) {
        proxy_->callMethod("Read").onInterface(kSettings).withTimeout(left).withArguments(ns, name).storeResultsTo(
            value);
        if (value.containsValueOfType<sdbus::Variant>()) value = value.get<sdbus::Variant>();
      }
    } catch (const sdbus::Error&) {
      continue;  // the deadline above bounds a portal that does not answer
    }
    shared_->apply(ns, name, number_of(value), false);
  }
}

SettingsPortalWatch::~SettingsPortalWatch() {
  // Stops the bus thread before the shared part can go.
  proxy_.reset();
}

DesktopLook SettingsPortalWatch::look() const {
  std::lock_guard lock(shared_->mu);
  return shared_->look;
}

void SettingsPortalWatch::set_waker(std::function<void()> wake) {
  std::lock_guard lock(shared_->mu);
  shared_->wake = std::move(wake);
}

std::optional<DesktopLook> SettingsPortalWatch::take_change() {
  std::lock_guard lock(shared_->mu);
  if (!shared_->changed) return std::nullopt;
  shared_->changed = false;
  return shared_->look;
}

}  // namespace zarn_ui::launch
