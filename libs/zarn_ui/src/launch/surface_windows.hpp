#pragma once
// The desktop's part for floating surfaces: a panel the widget sends to the desktop gets a
// borderless window of its own beside the host window, where the window system lets an
// application place windows (X11). The loop tells the widget where its window is, opens and
// moves the surface windows, paints them, passes their input on, and reports what the desktop
// did with them (placed, confirmed, handed back, closed). A window another program destroys hands
// its panel back as closing it does. Where no window can be had, the panel simply stays floating
// inside the host window.

#include <SDL.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "x11_error_guard.hpp"
#include "zarn_ui/floating_surface.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/widget.hpp"

namespace zarn_ui::launch {

class SurfaceWindows {
 public:
  // `allowed`: the window system lets the application open and place extra windows. With a
  // `guard`, the windows are watched, so one destroyed by another program is noticed.
  SurfaceWindows(SDL_Window* host, bool allowed, X11ErrorGuard* guard = nullptr);
  ~SurfaceWindows();
  SurfaceWindows(const SurfaceWindows&) = delete;
  SurfaceWindows& operator=(const SurfaceWindows&) = delete;

  // True for X11, the one window system here that lets an application place its windows.
  static bool window_system_places_windows();

  // Whether an SDL pointer or window event belongs to one of the surface windows (its window
  // id). Keys are never theirs: the application takes them wherever its focus is.
  bool owns(const SDL_Event& e) const;
  // An event of a surface window: pointer input goes to the host in the host window's
  // coordinates, a close hands the panel back.
  void handle_event(const SDL_Event& e, widget::Widget& root, state::State& state);

  // Once a frame, after input and before painting: the host window's rectangle, new surface
  // requests, surfaces that went away, windows that follow a drag or were moved on the desktop,
  // and, when `drag_ended`, a panel let go over the host window (it goes back into it).
  // `scale`: the host's pixels per logical unit; `ratio`: its pixels per screen unit (SDL's
  // window coordinates).
  void sync(widget::Widget& root, bool drag_ended, double scale, double ratio);
  // Paints every surface window through the host's floating layer.
  void paint(widget::FloatingSurfaceHost& host, text_render::TextRenderer& text, const theme::Theme& theme);

  std::size_t open_count() const { return windows_.size(); }
  // The SDL window id of a surface, if it has a window.
  std::optional<std::uint32_t> window_id(const std::string& surface) const;

 private:
  struct Window;

  // The host window's top-left corner on the desktop, in screen coordinates.
  Point host_origin() const;
  // The host window in its own logical coordinates.
  Rect host_bounds() const;
  // A logical rectangle of the host window on the desktop, in screen coordinates, and back.
  Rect to_screen(const Rect& r) const;
  Rect from_screen(const Rect& r) const;
  void open(widget::FloatingSurfaceHost& host, const floating_surface::FloatingSurfaceRequest& request, bool dragging);
  void close(const std::string& id);

  SDL_Window* host_;
  bool allowed_;
  X11ErrorGuard* guard_;
  double scale_ = 1.0;  // host pixels per logical unit
  double ratio_ = 1.0;  // host pixels per screen unit
  std::map<std::string, std::unique_ptr<Window>> windows_;
  // Surfaces whose window was refused during the drag under way: once it ends they are handed
  // back, so that a panel dragged half out of the window comes back whole.
  std::set<std::string> refused_;
};

}  // namespace zarn_ui::launch
