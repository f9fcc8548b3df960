#include "desktop_watch.hpp"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

#include "desktop_look.hpp"

namespace zarn_ui::launch {
namespace {

// A settings portal that has not answered by then is taken as absent: start-up does not wait on it.
constexpr std::chrono::milliseconds kPortalTimeout{500};

// Whether SDL scales the window itself: it has more pixels than window units.
bool sdl_scales(SDL_Window* window) {
  int win_w = 0, win_h = 0, px_w = 0, px_h = 0;
  SDL_GetWindowSize(window, &win_w, &win_h);
  SDL_GetWindowSizeInPixels(window, &px_w, &px_h);
  return win_w > 0 && px_w > win_w;
}

// The window keeps its size in logical units, as it was given at start, unless the desktop has
// sized it (maximised, full screen). A window that grows stays within the display.
void keep_logical_size(SDL_Window* window, double old_scale, double new_scale) {
  if (SDL_GetWindowFlags(window) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN)) return;
  int w = 0, h = 0, x = 0, y = 0;
  SDL_GetWindowSize(window, &w, &h);
  SDL_GetWindowPosition(window, &x, &y);
  int new_w = static_cast<int>(std::lround(w / old_scale * new_scale));
  int new_h = static_cast<int>(std::lround(h / old_scale * new_scale));
  if (new_w <= 0 || new_h <= 0 || (new_w == w && new_h == h)) return;
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(window), &usable) == 0 && usable.w > 0 && usable.h > 0) {
    new_w = std::min(new_w, usable.w);
    new_h = std::min(new_h, usable.h);
    const int new_x = std::clamp(x, usable.x, usable.x + usable.w - new_w);
    const int new_y = std::clamp(y, usable.y, usable.y + usable.h - new_h);
    if (new_x != x || new_y != y) SDL_SetWindowPosition(window, new_x, new_y);
  }
  SDL_SetWindowSize(window, new_w, new_h);
}

}  // namespace

DesktopWatch::DesktopWatch(const LoopOptions& options) : fixed_scale_(options.scale) {
  if (!options.theme && options.settings_bus) portal_.emplace(*options.settings_bus, kPortalTimeout);
  theme_ = options.theme ? *options.theme : portal_ ? theme_for(portal_->look()) : theme::Theme::light();
}

void DesktopWatch::watch_scale(SDL_Window* window) {
  window_ = window;
  if (fixed_scale_) {
    scale_ = *fixed_scale_;
    return;
  }
  if (const auto display = x_display_name_of(window)) resources_.emplace(*display);
  const bool watched = resources_ && resources_->watching();
  scale_ = desktop_scale(std::getenv("GDK_SCALE"), watched ? resources_->xft_dpi() : xft_dpi_of(window));
}

void DesktopWatch::set_waker(const std::function<void()>& wake) {
  if (portal_) portal_->set_waker(wake);
  if (resources_) resources_->set_waker(wake);
}

bool DesktopWatch::take_changes() {
  bool changed = false;
  if (const auto look = portal_ ? portal_->take_change() : std::nullopt) {
    if (theme::Theme next = theme_for(*look); next != theme_) {
      theme_ = next;
      changed = true;
    }
  }
  if (const auto change = resources_ ? resources_->take_change() : std::nullopt) {
    if (const double next = desktop_scale(std::getenv("GDK_SCALE"), change->xft_dpi); next != scale_) {
      if (window_ && !sdl_scales(window_)) keep_logical_size(window_, scale_, next);
      scale_ = next;
      changed = true;
    }
  }
  return changed;
}

}  // namespace zarn_ui::launch
