#include "surface_windows.hpp"

#include <SDL_shape.h>
#include <spdlog/spdlog.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "frame_present.hpp"
#include "sdl_input.hpp"
#include "zarn_ui/render.hpp"
#include "zarn_ui/surface.hpp"

namespace zarn_ui::launch {
namespace {

using floating_surface::FloatingSurfaceEntry;
using floating_surface::ProtocolRect;
using floating_surface::SurfaceEvent;

// The window shows the panel's outer rectangle: the panel and a margin for its shadow.
constexpr double kMargin = 8.0;

ProtocolRect to_protocol(const Rect& r) {
  const auto i = [](double v) { return static_cast<std::int32_t>(std::lround(std::clamp(v, -1e9, 1e9))); };
  return {i(r.x0), i(r.y0), i(r.x1) - i(r.x0), i(r.y1) - i(r.y0)};
}

std::optional<FloatingSurfaceEntry> entry_of(const widget::FloatingSurfaceHost& host, const std::string& id) {
  for (auto& e : host.floating_surfaces()) {
    if (e.id == id) return e;
  }
  return std::nullopt;
}

int screen_coordinate(double v) { return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6))); }

// Cuts the window to the panel's outline, so that the desktop shows around its rounded corners.
bool shape_window(SDL_Window* window, int w, int h, double margin) {
  FrameSurface mask(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS) return false;
  clear_frame(mask.get());
  Scene outline;
  outline.fill(surface::soft_outline({margin, margin, w - margin, h - margin}), Color::black());
  if (!render::replay_to_surface(mask.get(), outline, 1.0)) return false;
  cairo_surface_flush(mask.get());
  SdlSurface shape(SDL_CreateRGBSurfaceWithFormatFrom(cairo_image_surface_get_data(mask.get()), w, h, 32,
                                                      cairo_image_surface_get_stride(mask.get()),
                                                      SDL_PIXELFORMAT_ARGB8888));
  if (!shape) return false;
  SDL_WindowShapeMode mode;
  mode.mode = ShapeModeBinarizeAlpha;
  mode.parameters.binarizationCutoff = 128;
  return SDL_SetWindowShape(window, shape.get(), &mode) == 0;
}

// Gives the window its framebuffer before it is placed: where SDL creates the window again for
// an accelerated framebuffer, the copy is then the one placed.
void claim_framebuffer(SDL_Window* window) { SDL_GetWindowSurface(window); }

}  // namespace

struct SurfaceWindows::Window {
  std::string id;
  WindowHandle sdl;
  X11ErrorGuard::Watched watched;
  bool shaped = false;
  Rect outer;  // host-window coordinates, as last synced
  FrameSurface frame;
  Scene previous;
  bool drawn = false;
};

SurfaceWindows::SurfaceWindows(SDL_Window* host, bool allowed, X11ErrorGuard* guard)
    : host_(host), allowed_(allowed), guard_(guard) {
  // Framebuffers in memory (SDL decides once, for the first window that asks): an accelerated
  // one would make SDL create a panel's window again, and the copy loses its shape. One set in
  // the environment still wins.
  if (allowed_) SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
}

SurfaceWindows::~SurfaceWindows() {
  while (!windows_.empty()) close(windows_.begin()->first);
}

bool SurfaceWindows::window_system_places_windows() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::strcmp(driver, "x11") == 0;
}

Point SurfaceWindows::host_origin() const {
  int x = 0, y = 0;
  SDL_GetWindowPosition(host_, &x, &y);
  return {static_cast<double>(x), static_cast<double>(y)};
}

Rect SurfaceWindows::host_bounds() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(host_, &w, &h);
  const double units = scale_ / ratio_;  // screen units per logical unit
  return {0, 0, w / units, h / units};
}

Rect SurfaceWindows::to_screen(const Rect& r) const {
  const double units = scale_ / ratio_;
  const Point o = host_origin();
  return {o.x + r.x0 * units, o.y + r.y0 * units, o.x + r.x1 * units, o.y + r.y1 * units};
}

Rect SurfaceWindows::from_screen(const Rect& r) const {
  const double units = scale_ / ratio_;
  const Point o = host_origin();
  return {(r.x0 - o.x) / units, (r.y0 - o.y) / units, (r.x1 - o.x) / units, (r.y1 - o.y) / units};
}

std::optional<std::uint32_t> SurfaceWindows::window_id(const std::string& surface) const {
  const auto it = windows_.find(surface);
  if (it == windows_.end()) return std::nullopt;
  return SDL_GetWindowID(it->second->sdl.get());
}

bool SurfaceWindows::owns(const SDL_Event& e) const {
  std::uint32_t id = 0;
  switch (e.type) {
    case SDL_WINDOWEVENT: id = e.window.windowID; break;
    case SDL_MOUSEMOTION: id = e.motion.windowID; break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: id = e.button.windowID; break;
    case SDL_MOUSEWHEEL: id = e.wheel.windowID; break;
    // Keys typed while a panel's window has the focus are the application's, as in its window.
    default: return false;
  }
  if (id == 0) return false;
  for (const auto& [name, w] : windows_) {
    if (SDL_GetWindowID(w->sdl.get()) == id) return true;
  }
  return false;
}

void SurfaceWindows::open(widget::FloatingSurfaceHost& host, const floating_surface::FloatingSurfaceRequest& request,
                          bool dragging) {
  const Rect outer = request.panel_rect.inflate(kMargin, kMargin);
  const Rect screen = to_screen(outer);
  const int x = screen_coordinate(screen.x0), y = screen_coordinate(screen.y0);
  const int w = screen_coordinate(screen.width()), h = screen_coordinate(screen.height());
  if (!allowed_ || w <= 0 || h <= 0) {
    if (dragging) refused_.insert(request.id);
    return;
  }
  constexpr Uint32 kFlags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_ALWAYS_ON_TOP;
  auto window = std::make_unique<Window>();
  window->id = request.id;
  window->outer = outer;
  window->sdl.reset(SDL_CreateShapedWindow(request.title.c_str(), static_cast<unsigned>(std::max(x, 0)),
                                           static_cast<unsigned>(std::max(y, 0)), static_cast<unsigned>(w),
                                           static_cast<unsigned>(h), kFlags));
  const bool shapeable = window->sdl != nullptr;
  if (!shapeable) window->sdl.reset(SDL_CreateWindow(request.title.c_str(), x, y, w, h, kFlags));
  if (!window->sdl) {
    spdlog::warn("no window for the floating panel \"{}\" ({}); it stays in the window", request.title, SDL_GetError());
    if (dragging) refused_.insert(request.id);
    return;
  }
  if (guard_) window->watched = guard_->watch(window->sdl.get());
  claim_framebuffer(window->sdl.get());
  if (shapeable) window->shaped = shape_window(window->sdl.get(), w, h, kMargin * (w / outer.width()));
  SDL_SetWindowPosition(window->sdl.get(), x, y);
  SDL_ShowWindow(window->sdl.get());
  // A panel takes no keyboard focus of its own (without a window manager, showing a window
  // gives it the focus): the keys stay with the application's window.
  SDL_SetWindowInputFocus(host_);
  windows_[request.id] = std::move(window);

  // The desktop put the panel where it was asked to and confirms it is on the desktop now.
  const ProtocolRect at = to_protocol(request.panel_rect);
  const Rect panel_on_screen = to_screen(request.panel_rect);
  host.apply_surface_event({SurfaceEvent::Placed{request.id, at, {panel_on_screen.x0, panel_on_screen.y0}, true}});
  host.apply_surface_event({SurfaceEvent::DetachConfirmed{request.id, at}});
}

void SurfaceWindows::close(const std::string& id) {
  const auto it = windows_.find(id);
  if (it == windows_.end()) return;
  const X11ErrorGuard::Watched watched = it->second->watched;
  windows_.erase(it);
  if (guard_) guard_->forget(watched);
  // Where the panel's window had the keyboard, the host window takes it back.
  SDL_SetWindowInputFocus(host_);
}

void SurfaceWindows::handle_event(const SDL_Event& e, widget::Widget& root, state::State& state) {
  widget::FloatingSurfaceHost* host = root.floating_surface_host();
  if (!host) return;
  std::uint32_t sdl_id = e.type == SDL_WINDOWEVENT                                      ? e.window.windowID
                         : e.type == SDL_MOUSEMOTION                                    ? e.motion.windowID
                         : e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP ? e.button.windowID
                                                                                        : 0;
  Window* window = nullptr;
  for (auto& [name, w] : windows_) {
    if (SDL_GetWindowID(w->sdl.get()) == sdl_id) window = w.get();
  }
  if (!window) return;
  const std::string id = window->id;
  const std::uint32_t mods = modifiers_from_sdl(static_cast<std::uint16_t>(SDL_GetModState()));
  bool handled = false;

  if (e.type == SDL_WINDOWEVENT) {
    if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
      // Closing the panel's window hands it back to the application's window.
      host->apply_surface_event({SurfaceEvent::Closed{id}});
      close(id);
    } else if (e.window.event == SDL_WINDOWEVENT_LEAVE) {
      host->handle_surface_event(id, widget::PointerLeft{}, mods, state, handled, scale_);
    } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
      window->drawn = false;
    }
    return;
  }
  // From the surface window's own coordinates to the host window's, where the panel is drawn.
  const auto to_host = [&](int wx, int wy) {
    int sx = 0, sy = 0;
    SDL_GetWindowPosition(window->sdl.get(), &sx, &sy);
    const Point origin = host_origin();
    return Point{(sx + wx - origin.x) * ratio_, (sy + wy - origin.y) * ratio_};
  };
  if (e.type == SDL_MOUSEMOTION) {
    host->handle_surface_event(id, widget::PointerMoved{to_host(e.motion.x, e.motion.y)}, mods, state, handled, scale_);
  } else if (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP) {
    host->handle_surface_event(id, widget::PointerMoved{to_host(e.button.x, e.button.y)}, mods, state, handled, scale_);
    const widget::MouseButton button = e.button.button == SDL_BUTTON_LEFT     ? widget::MouseButton::Primary
                                       : e.button.button == SDL_BUTTON_RIGHT  ? widget::MouseButton::Secondary
                                       : e.button.button == SDL_BUTTON_MIDDLE ? widget::MouseButton::Middle
                                                                              : widget::MouseButton::Other;
    host->handle_surface_event(id, widget::MouseButtonEvent{button, e.type == SDL_MOUSEBUTTONDOWN}, mods, state,
                               handled, scale_);
  }
}

void SurfaceWindows::sync(widget::Widget& root, bool drag_ended, double scale, double ratio) {
  widget::FloatingSurfaceHost* host = root.floating_surface_host();
  if (!host) return;
  scale_ = std::isfinite(scale) && scale > 0 ? scale : 1.0;
  ratio_ = std::isfinite(ratio) && ratio > 0 ? ratio : 1.0;
  const Rect bounds = host_bounds();
  host->set_host_rect(to_screen(bounds));
  const bool dragging = root.has_pointer_capture();

  // A window another program destroyed: its panel is handed back, as closing the window does.
  std::vector<std::string> vanished;
  for (const auto& [id, window] : windows_) {
    if (guard_ && !guard_->alive(window->watched)) vanished.push_back(id);
  }
  for (const auto& id : vanished) {
    spdlog::warn("the floating panel's window was destroyed by another program; the panel goes back in");
    host->apply_surface_event({SurfaceEvent::Closed{id}});
    guard_->before_destroying_gone(windows_.at(id)->watched);
    close(id);
  }

  while (auto request = host->take_surface_request()) {
    if (!windows_.count(request->id)) open(*host, *request, dragging);
  }

  // Surfaces that went away lose their window; the others follow the panel while it is dragged,
  // and otherwise tell the host where the desktop has them (the desktop, or the host window,
  // moved).
  std::vector<std::string> gone;
  for (auto& [id, window] : windows_) {
    const auto entry = entry_of(*host, id);
    if (!entry) {
      gone.push_back(id);
      continue;
    }
    window->outer = entry->panel_rect.inflate(kMargin, kMargin);
    const Rect want = to_screen(window->outer);
    const int want_x = screen_coordinate(want.x0), want_y = screen_coordinate(want.y0);
    int x = 0, y = 0;
    SDL_GetWindowPosition(window->sdl.get(), &x, &y);
    if (x == want_x && y == want_y) continue;
    // While a drag runs, and as it ends, the panel leads and its window follows.
    if (dragging || drag_ended) {
      SDL_SetWindowPosition(window->sdl.get(), want_x, want_y);
    } else {
      const Rect outer = from_screen(want.translate({x - want.x0, y - want.y0}));
      const Rect panel = outer.inflate(-kMargin, -kMargin);
      const Rect on_screen = to_screen(panel);
      host->apply_surface_event({SurfaceEvent::Placed{id, to_protocol(panel), {on_screen.x0, on_screen.y0}, true}});
      window->outer = outer;
    }
  }
  for (const auto& id : gone) close(id);

  // A drag ended: a panel let go over the host window goes back into it, and so does one whose
  // window was refused on the way out.
  if (drag_ended && !dragging) {
    std::vector<std::string> back;
    for (const auto& [id, window] : windows_) {
      const auto entry = entry_of(*host, id);
      if (entry && floating_surface::returns_to_host(entry->panel_rect, bounds)) back.push_back(id);
    }
    for (const auto& id : back) {
      host->apply_surface_event({SurfaceEvent::Returned{id}});
      close(id);
    }
    for (const auto& id : refused_) {
      if (entry_of(*host, id)) host->apply_surface_event({SurfaceEvent::Returned{id}});
    }
    refused_.clear();
  }
}

void SurfaceWindows::paint(widget::FloatingSurfaceHost& host, text_render::TextRenderer& text,
                           const theme::Theme& theme) {
  for (auto& [id, window] : windows_) {
    SDL_Surface* target = SDL_GetWindowSurface(window->sdl.get());
    if (!target) continue;
    int points_w = 0, points_h = 0;
    SDL_GetWindowSize(window->sdl.get(), &points_w, &points_h);
    const double scale = points_w > 0 ? static_cast<double>(target->w) / points_w : 1.0;
    Scene scene;
    // Unshaped, the corners around the rounded panel show the panel's colour, not black.
    if (!window->shaped)
      scene.fill(Rect{0, 0, static_cast<double>(points_w), static_cast<double>(points_h)}, theme.surface);
    host.draw_floating(scene, Affine::translate(-window->outer.x0, -window->outer.y0), text, theme);
    const bool resized = !window->frame || cairo_image_surface_get_width(window->frame.get()) != target->w ||
                         cairo_image_surface_get_height(window->frame.get()) != target->h;
    if (!resized && window->drawn && scene == window->previous) continue;
    if (resized) {
      window->frame.reset(
          cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(target->w, 1), std::max(target->h, 1)));
    }
    clear_frame(window->frame.get());
    if (auto report = render::replay_to_surface(window->frame.get(), scene, scale, &text); !report) {
      spdlog::warn("floating panel replay failed: {}", report.error());
    }
    present_frame(window->sdl.get(), window->frame.get());
    window->previous = std::move(scene);
    window->drawn = true;
  }
}

}  // namespace zarn_ui::launch
