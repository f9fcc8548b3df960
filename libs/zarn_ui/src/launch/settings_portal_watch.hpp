#pragma once
// Follows the desktop's appearance settings (colour scheme, contrast) through the settings portal.
// It subscribes to the portal's SettingChanged signal and then reads the current values, so that
// no change made in between is lost; from then on a thread of its own reads the bus. A change is
// kept for the window loop and wakes it; the loop takes it when it runs. Without a bus nothing
// is watched, and without a portal (or a key) the look keeps no preference: nothing waits longer
// than the start-up read, and nothing polls.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "desktop_look.hpp"

namespace zarn_ui::launch {

class SettingsPortalWatch {
 public:
  // `bus_address` empty: the session bus. Reading the current values takes at most `timeout` in
  // all: a portal that does not answer by then is taken as absent.
  SettingsPortalWatch(const std::string& bus_address, std::chrono::milliseconds timeout);
  ~SettingsPortalWatch();
  SettingsPortalWatch(const SettingsPortalWatch&) = delete;
  SettingsPortalWatch& operator=(const SettingsPortalWatch&) = delete;

  // The look as last read or signalled.
  DesktopLook look() const;
  // Whether signals can come: there was a bus to subscribe on.
  bool watching() const { return reader_ != nullptr; }
  // Called from the bus thread after each change; an empty function ends the calls.
  void set_waker(std::function<void()> wake);
  // The look, when a signal changed it since the last call.
  std::optional<DesktopLook> take_change();

  struct Shared;
  class BusReader;

 private:
  std::shared_ptr<Shared> shared_;
  std::unique_ptr<BusReader> reader_;
};

}  // namespace zarn_ui::launch
