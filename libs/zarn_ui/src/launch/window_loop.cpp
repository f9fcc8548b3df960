// The SDL2 window loop: events to the root widget, tick, layout, paint, replay, present.
// Between frames the loop sleeps until an event, a wake-up from a worker (the widget hands the
// wake function to whoever answers it) or the widget's next deadline; frames come at most 60
// per second, and back to back only while the widget asks for the next frame slot. The desktop's
// look and scale are followed: watchers of their own wake the loop, which swaps them between frames.

#include <SDL.h>
#include <cairo.h>
#include <spdlog/spdlog.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

#include "desktop_watch.hpp"
#include "frame_present.hpp"
#include "loop_waker.hpp"
#include "sdl_input.hpp"
#include "sdl_video.hpp"
#include "surface_windows.hpp"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/layout.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/render.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace zarn_ui::launch {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kFramePeriod = std::chrono::microseconds(16667);

// Pixels per window unit: above 1 where SDL scales the window itself.
double pixel_ratio(SDL_Window* window) {
  int win_w = 0, win_h = 0, px_w = 0, px_h = 0;
  SDL_GetWindowSize(window, &win_w, &win_h);
  SDL_GetWindowSizeInPixels(window, &px_w, &px_h);
  return win_w > 0 && px_w > 0 ? static_cast<double>(px_w) / win_w : 1.0;
}

// Lays the root out at the window's logical size.
void layout_root(widget::Widget& root, const theme::Theme& theme, double width, double height) {
  auto tree = layout::LayoutTree::with_capacity(16);
  layout::NodeWidgetMap widgets;
  const auto node = root.build_layout(tree, theme, widgets);
  if (!node) return;
  layout::Style root_style;
  root_style.size = {layout::Dimension::px(static_cast<float>(width)),
                     layout::Dimension::px(static_cast<float>(height))};
  auto root_node = tree.new_with_children(root_style, {*node});
  if (!root_node) return;
  if (!tree.compute(*root_node, static_cast<float>(width), static_cast<float>(height))) return;
  root.apply_layout(tree, *node, {0, 0});
}

}  // namespace

int run_window(widget::Widget& root, state::State& state, const std::string& title,
               std::pair<std::uint32_t, std::uint32_t> size, const LoopOptions& options) {
  SdlVideo video(options.video_driver, options.app_id);
  if (!video.ok()) {
    std::fprintf(stderr, "%s: no display available (%s); use --shot PATH to render a frame headless\n", title.c_str(),
                 video.error().c_str());
    return 1;
  }
  // The desktop's look, followed while the window runs; read before the window shows.
  DesktopWatch desktop(options);
  WindowHandle window(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                       static_cast<int>(size.first), static_cast<int>(size.second),
                                       SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI));
  if (!window) {
    std::fprintf(stderr, "%s: cannot open a window (%s); use --shot PATH to render a frame headless\n", title.c_str(),
                 SDL_GetError());
    return 1;
  }
  // The desktop's scale for text and drawing, followed while the window runs. Where SDL scales
  // the window itself (HiDPI on Wayland) its pixel ratio is the scale; elsewhere (X11) the window
  // is sized by it.
  desktop.watch_scale(window.get());
  if (desktop.scale() != 1.0 && pixel_ratio(window.get()) == 1.0) {
    SDL_SetWindowSize(window.get(), static_cast<int>(std::lround(size.first * desktop.scale())),
                      static_cast<int>(std::lround(size.second * desktop.scale())));
    SDL_SetWindowPosition(window.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }

  // An X error Xlib would end the process with saves the document first; one about a floating
  // panel's window (another program may destroy it) ends nothing.
  X11ErrorGuard x11_errors([&state] { (void)state.flush(); });
  // Floating panels sent to the desktop get windows of their own where they can be placed.
  SurfaceWindows surfaces(window.get(), SurfaceWindows::window_system_places_windows(), &x11_errors);
  const std::uint32_t window_id = SDL_GetWindowID(window.get());

  const theme::Theme& theme = desktop.theme();
  root.set_reduce_motion(theme.reduce_motion);
  auto text = options.text_renderer ? options.text_renderer() : text_render::TextRenderer::create();
  const auto presence = presence::PresenceCtx::empty();
  const auto permissions = permissions::PermissionContext::permissive();
  // Text input (and its input method) is on only while a focused field shows its caret.
  widget::TextInputFocus text_focus;
  TextInputSync text_input;
  widget::PaintCtx paint_ctx{text, theme, presence, permissions, &text_focus};

  Scene previous;
  bool have_previous = false;
  FramePainter painter;
  int frame_w = 0, frame_h = 0;
  Point last_pointer;
  bool quit = false;
  std::uint64_t frames = 0;
  Clock::time_point frame_start = Clock::now();

  LoopWaker waker;
  if (waker.ok()) {
    root.set_waker(waker.wake_function());
    desktop.set_waker(waker.wake_function());
  }

  std::vector<SDL_Event> events;
  bool shortcut_down = false;
  while (!quit) {
    if (options.before_frame) options.before_frame(frames);

    // Sleep until input, a wake-up or the widget's deadline, and never past less than one frame
    // slot since the last frame began. Without a waker, pending work is looked at every slot.
    events.clear();
    std::optional<std::chrono::milliseconds> deadline =
        have_previous ? root.next_deadline() : std::optional(std::chrono::milliseconds{0});
    if (!waker.ok() && root.has_pending_work()) deadline = std::chrono::milliseconds{0};
    SDL_Event ev;
    int got = 0;
    if (!deadline) {
      if (options.before_wait) options.before_wait(std::nullopt);
      got = SDL_WaitEvent(&ev);
    } else {
      const auto slot = std::chrono::ceil<std::chrono::milliseconds>(kFramePeriod - (Clock::now() - frame_start));
      const auto wait = std::max(*deadline, slot);
      const int ms = static_cast<int>(std::min<std::chrono::milliseconds::rep>(wait.count(), INT_MAX));
      if (options.before_wait) options.before_wait(std::chrono::milliseconds{ms});
      got = ms > 0 ? SDL_WaitEventTimeout(&ev, ms) : SDL_PollEvent(&ev);
    }
    if (got) events.push_back(ev);
    while (SDL_PollEvent(&ev)) events.push_back(ev);
    waker.taken();
    frame_start = Clock::now();

    // What the desktop changed: the widget sees it from this frame on, as it saw the first.
    const bool look_changed = desktop.take_changes();
    if (look_changed) root.set_reduce_motion(theme.reduce_motion);

    int px_w = 0, px_h = 0;
    if (SDL_Surface* target = SDL_GetWindowSurface(window.get())) {
      px_w = target->w;
      px_h = target->h;
    }
    // Pixels per window unit (SDL's event coordinates), and pixels per logical unit.
    const double ratio = pixel_ratio(window.get());
    const double scale = ratio > 1.0 ? ratio : desktop.scale();

    bool resized = look_changed;
    // Whether a pointer capture (a panel's drag) ended with one of these events.
    bool drag_ended = false;
    for (const SDL_Event& e : events) {
      if (waker.is_wake(e)) continue;  // it only ends the wait
      const bool captured = root.has_pointer_capture();
      if (surfaces.owns(e)) {
        surfaces.handle_event(e, root, state);
        drag_ended = drag_ended || (captured && !root.has_pointer_capture());
        continue;
      }
      // X11 follows a key pressed with Control or Super ("=", "-") by its text; the key event
      // already carries it as a shortcut, and the text would act a second time.
      if (e.type == SDL_KEYDOWN) {
        shortcut_down =
            (e.key.keysym.mod & (KMOD_CTRL | KMOD_GUI)) != 0 && e.key.keysym.sym >= 32 && e.key.keysym.sym < 127;
      } else if (e.type == SDL_KEYUP) {
        shortcut_down = false;
      } else if (e.type == SDL_TEXTINPUT && std::exchange(shortcut_down, false)) {
        continue;
      }
      if (e.type == SDL_QUIT ||
          (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE && e.window.windowID == window_id)) {
        quit = true;
        continue;
      }
      if (e.type == SDL_WINDOWEVENT &&
          (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || e.window.event == SDL_WINDOWEVENT_EXPOSED ||
           e.window.event == SDL_WINDOWEVENT_DISPLAY_CHANGED)) {
        resized = true;
      }
      // A press where no motion was reported first: tell the widget where the pointer is.
      if (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP) {
        const Point p{e.button.x * ratio, e.button.y * ratio};
        if (p != last_pointer) {
          bool handled = false;
          root.handle_event(widget::PointerMoved{p}, modifiers_from_sdl(static_cast<std::uint16_t>(SDL_GetModState())),
                            state, handled, scale);
          last_pointer = p;
        }
      }
      if (e.type == SDL_MOUSEMOTION) last_pointer = {e.motion.x * ratio, e.motion.y * ratio};
      if (auto t = translate_sdl_event(e, ratio)) {
        bool handled = false;
        root.handle_event(t->event, t->modifiers, state, handled, scale);
      }
      drag_ended = drag_ended || (captured && !root.has_pointer_capture());
    }
    if (quit) break;
    surfaces.sync(root, drag_ended, scale, ratio);

    root.tick(state);
    layout_root(root, theme, px_w / scale, px_h / scale);
    Scene scene;
    text_focus = {};
    paint_ctx.device_scale = scale;
    root.paint(scene, Affine::identity(), paint_ctx);
    text_input.update(text_focus.caret);

    if (px_w != frame_w || px_h != frame_h) {
      frame_w = px_w;
      frame_h = px_h;
      resized = true;
    }
    const bool repaint = resized || !have_previous || !(scene == previous);
    if (repaint) {
      auto report = painter.paint(window.get(), scene, scale, &text);
      if (!report) spdlog::warn("frame replay failed: {}", report.error());
      previous = std::move(scene);
      have_previous = true;
    }
    // The document is written once the frame shows: its disk sync stays off the frame's way.
    (void)state.flush();  // logged and retried by the state
    // The floating layer: panels on the desktop, each in its own window.
    if (auto* host = root.floating_surface_host()) surfaces.paint(*host, text, theme);
    if (options.after_frame) options.after_frame(frames, repaint);
    ++frames;
    if (options.max_frames && frames >= *options.max_frames) break;
  }
  root.set_waker({});
  painter.release();
  SDL_StopTextInput();
  (void)state.flush();  // logged and retried by the state
  return 0;
}

}  // namespace zarn_ui::launch
