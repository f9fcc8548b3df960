#pragma once
// What the window follows of the desktop while it runs: its look (colour scheme and contrast,
// from the settings portal) and its scale (Xft.dpi on the X display). Each is watched on a thread
// of its own that sleeps until the desktop reports a change and then wakes the loop; the loop
// takes the changes between frames. What the options fix is not watched.

#include <functional>
#include <optional>

#include "resource_watch.hpp"
#include "settings_portal_watch.hpp"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/theme.hpp"

struct SDL_Window;

namespace zarn_ui::launch {

class DesktopWatch {
 public:
  // Reads the look now (the portal waits its start-up budget at most), before a window shows.
  explicit DesktopWatch(const LoopOptions& options);
  // Reads the scale of the window's display and follows it.
  void watch_scale(SDL_Window* window);

  const theme::Theme& theme() const { return theme_; }
  // Logical to physical pixels where SDL does not scale the window itself.
  double scale() const { return scale_; }
  void set_waker(const std::function<void()>& wake);
  // Applies what the desktop changed since the last call; true when the theme or the scale is
  // new. A window that SDL does not scale keeps its size in logical units.
  bool take_changes();

 private:
  std::optional<double> fixed_scale_;
  SDL_Window* window_ = nullptr;
  std::optional<SettingsPortalWatch> portal_;
  std::optional<ResourceWatch> resources_;
  theme::Theme theme_;
  double scale_ = 1.0;
};

}  // namespace zarn_ui::launch
