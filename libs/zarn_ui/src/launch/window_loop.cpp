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
#ifdef __GLIBC__
#include <malloc.h>
#endif
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

// Opens the window at `size`, sized by the desktop's scale where SDL does not scale it itself;
// none, with the reason on stderr, when there is no window to be had.
WindowHandle open_window(const std::string& title, std::pair<std::uint32_t, std::uint32_t> size,
                         DesktopWatch& desktop) {
  WindowHandle window(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                       static_cast<int>(size.first), static_cast<int>(size.second),
                                       SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI));
  if (!window) {
    std::fprintf(stderr, "%s: cannot open a window (%s); use --shot PATH to render a frame headless\n", title.c_str(),
                 SDL_GetError());
    return window;
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
  return window;
}

// The loop of one open window: what it keeps from one frame to the next, and its three steps
// (wait, hand the events on, paint).
class WindowLoop {
 public:
  WindowLoop(widget::Widget& root, state::State& state, SDL_Window* window, DesktopWatch& desktop,
             SurfaceWindows& surfaces, const LoopOptions& options)
      : root_(root),
        state_(state),
        window_(window),
        window_id_(SDL_GetWindowID(window)),
        desktop_(desktop),
        surfaces_(surfaces),
        options_(options),
        theme_(desktop.theme()),
        text_(options.text_renderer ? options.text_renderer() : text_render::TextRenderer::create()),
        paint_ctx_{text_, theme_, presence_, permissions_, &text_focus_} {
    root_.set_reduce_motion(theme_.reduce_motion);
    if (waker_.ok()) {
      root_.set_waker(waker_.wake_function());
      desktop_.set_waker(waker_.wake_function());
    }
  }

  void run() {
    while (true) {
      if (options_.before_frame) options_.before_frame(frames_);
      wait_for_events();
      // What the desktop changed: the widget sees it from this frame on, as it saw the first.
      const bool look_changed = desktop_.take_changes();
      if (look_changed) root_.set_reduce_motion(theme_.reduce_motion);

      int px_w = 0, px_h = 0;
      if (SDL_Surface* target = SDL_GetWindowSurface(window_)) {
        px_w = target->w;
        px_h = target->h;
      }
      // Pixels per window unit (SDL's event coordinates), and pixels per logical unit.
      const double ratio = pixel_ratio(window_);
      const double scale = ratio > 1.0 ? ratio : desktop_.scale();

      bool resized = look_changed;
      if (!hand_on_events(ratio, scale, resized)) break;
      const bool repaint = paint_frame(px_w, px_h, scale, resized);
      painted_since_trim_ = painted_since_trim_ || repaint;
      if (options_.after_frame) options_.after_frame(frames_, repaint);
      ++frames_;
      if (options_.max_frames && frames_ >= *options_.max_frames) break;
    }
    root_.set_waker({});
    painter_.release();
    SDL_StopTextInput();
  }

 private:
  // Sleeps until input, a wake-up or the widget's deadline, and never past less than one frame
  // slot since the last frame began. Without a waker, pending work is looked at every slot.
  void wait_for_events() {
    events_.clear();
    std::optional<std::chrono::milliseconds> deadline =
        have_previous_ ? root_.next_deadline() : std::optional(std::chrono::milliseconds{0});
    if (!waker_.ok() && root_.has_pending_work()) deadline = std::chrono::milliseconds{0};
    SDL_Event ev;
    int got = 0;
    if (!deadline) {
      give_back_free_memory();
      if (options_.before_wait) options_.before_wait(std::nullopt);
      got = SDL_WaitEvent(&ev);
    } else {
      const auto slot = std::chrono::ceil<std::chrono::milliseconds>(kFramePeriod - (Clock::now() - frame_start_));
      const auto wait = std::max(*deadline, slot);
      const int ms = static_cast<int>(std::min<std::chrono::milliseconds::rep>(wait.count(), INT_MAX));
      if (options_.before_wait) options_.before_wait(std::chrono::milliseconds{ms});
      got = ms > 0 ? SDL_WaitEventTimeout(&ev, ms) : SDL_PollEvent(&ev);
    }
    if (got) events_.push_back(ev);
    while (SDL_PollEvent(&ev)) events_.push_back(ev);
    waker_.taken();
    frame_start_ = Clock::now();
  }

  // Before the loop sleeps with nothing to wake it for, the heap's free pages go back to the
  // system: the pictures and buffers of the frames and answers just handled leave them behind in
  // every thread's arena, and a window at rest would keep them. Only after a frame was painted.
  void give_back_free_memory() {
    if (!painted_since_trim_) return;
    painted_since_trim_ = false;
#ifdef __GLIBC__
    ::malloc_trim(0);
#endif
  }

  // Hands the events to the root and the floating panels' windows; false when the window is to
  // close. `resized` is set by an event that asks for the whole frame again.
  bool hand_on_events(double ratio, double scale, bool& resized) {
    // Whether a pointer capture (a panel's drag) ended with one of these events.
    bool drag_ended = false;
    bool quit = false;
    for (const SDL_Event& e : events_) {
      if (waker_.is_wake(e)) continue;  // it only ends the wait
      const bool captured = root_.has_pointer_capture();
      if (surfaces_.owns(e)) {
        surfaces_.handle_event(e, root_, state_);
        drag_ended = drag_ended || (captured && !root_.has_pointer_capture());
        continue;
      }
      if (is_shortcut_text(e)) continue;
      if (e.type == SDL_QUIT ||
          (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE && e.window.windowID == window_id_)) {
        quit = true;
        continue;
      }
      if (e.type == SDL_WINDOWEVENT &&
          (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || e.window.event == SDL_WINDOWEVENT_EXPOSED ||
           e.window.event == SDL_WINDOWEVENT_DISPLAY_CHANGED)) {
        resized = true;
      }
      hand_on_pointer_and_input(e, ratio, scale);
      drag_ended = drag_ended || (captured && !root_.has_pointer_capture());
    }
    if (quit) return false;
    surfaces_.sync(root_, drag_ended, scale, ratio);
    return true;
  }

  // X11 follows a key pressed with Control or Super ("=", "-") by its text; the key event
  // already carries it as a shortcut, and the text would act a second time.
  bool is_shortcut_text(const SDL_Event& e) {
    if (e.type == SDL_KEYDOWN) {
      shortcut_down_ =
          (e.key.keysym.mod & (KMOD_CTRL | KMOD_GUI)) != 0 && e.key.keysym.sym >= 32 && e.key.keysym.sym < 127;
    } else if (e.type == SDL_KEYUP) {
      shortcut_down_ = false;
    } else if (e.type == SDL_TEXTINPUT && std::exchange(shortcut_down_, false)) {
      return true;
    }
    return false;
  }

  void hand_on_pointer_and_input(const SDL_Event& e, double ratio, double scale) {
    // A press where no motion was reported first: tell the widget where the pointer is.
    if (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP) {
      const Point p{e.button.x * ratio, e.button.y * ratio};
      if (p != last_pointer_) {
        bool handled = false;
        root_.handle_event(widget::PointerMoved{p}, modifiers_from_sdl(static_cast<std::uint16_t>(SDL_GetModState())),
                           state_, handled, scale);
        last_pointer_ = p;
      }
    }
    if (e.type == SDL_MOUSEMOTION) last_pointer_ = {e.motion.x * ratio, e.motion.y * ratio};
    if (auto t = translate_sdl_event(e, ratio)) {
      bool handled = false;
      root_.handle_event(t->event, t->modifiers, state_, handled, scale);
    }
  }

  // Tick, layout and paint; the pixels are drawn again only when the scene or the window
  // changed. Returns whether they were.
  bool paint_frame(int px_w, int px_h, double scale, bool resized) {
    root_.tick(state_);
    layout_root(root_, theme_, px_w / scale, px_h / scale);
    Scene scene;
    text_focus_ = {};
    paint_ctx_.device_scale = scale;
    root_.paint(scene, Affine::identity(), paint_ctx_);
    text_input_.update(text_focus_.caret);

    if (px_w != frame_w_ || px_h != frame_h_) {
      frame_w_ = px_w;
      frame_h_ = px_h;
      resized = true;
    }
    const bool repaint = resized || !have_previous_ || !(scene == previous_);
    if (repaint) {
      auto report = painter_.paint(window_, scene, scale, &text_);
      if (!report) spdlog::warn("frame replay failed: {}", report.error());
      previous_ = std::move(scene);
      have_previous_ = true;
    }
    // The document is written once the frame shows: its disk sync stays off the frame's way.
    (void)state_.flush();  // logged and retried by the state
    // The floating layer: panels on the desktop, each in its own window.
    if (auto* host = root_.floating_surface_host()) surfaces_.paint(*host, text_, theme_);
    return repaint;
  }

  widget::Widget& root_;
  state::State& state_;
  SDL_Window* window_;
  std::uint32_t window_id_;
  DesktopWatch& desktop_;
  SurfaceWindows& surfaces_;
  const LoopOptions& options_;
  const theme::Theme& theme_;
  text_render::TextRenderer text_;
  const presence::PresenceCtx presence_ = presence::PresenceCtx::empty();
  const permissions::PermissionContext permissions_ = permissions::PermissionContext::permissive();
  // Text input (and its input method) is on only while a focused field shows its caret.
  widget::TextInputFocus text_focus_;
  TextInputSync text_input_;
  widget::PaintCtx paint_ctx_;

  Scene previous_;
  bool have_previous_ = false;
  bool painted_since_trim_ = false;
  FramePainter painter_;
  int frame_w_ = 0, frame_h_ = 0;
  Point last_pointer_;
  std::uint64_t frames_ = 0;
  Clock::time_point frame_start_ = Clock::now();
  LoopWaker waker_;
  std::vector<SDL_Event> events_;
  bool shortcut_down_ = false;
};

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
  WindowHandle window = open_window(title, size, desktop);
  if (!window) return 1;
  // An X error Xlib would end the process with saves the document first; one about a floating
  // panel's window (another program may destroy it) ends nothing.
  X11ErrorGuard x11_errors([&state] { (void)state.flush(); });
  // Floating panels sent to the desktop get windows of their own where they can be placed.
  SurfaceWindows surfaces(window.get(), SurfaceWindows::window_system_places_windows(), &x11_errors);
  WindowLoop(root, state, window.get(), desktop, surfaces, options).run();
  (void)state.flush();  // logged and retried by the state
  return 0;
}

}  // namespace zarn_ui::launch
