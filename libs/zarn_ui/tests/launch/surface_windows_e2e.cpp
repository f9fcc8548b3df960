// The desktop's part for floating surfaces, against a real window system (an Xvfb of the test's
// own) and SDL's dummy driver: a surface request gets a window of its own where windows can be placed and is
// confirmed on the desktop; its input reaches the host in the host window's coordinates; it
// follows a drag, goes back into the host window when let go over it, and hands the panel back
// when closed. Where no window can be had nothing is confirmed, and a panel dragged out comes back.

#include <SDL.h>
#include <SDL_shape.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "../../src/launch/surface_windows.hpp"
#include "base/scoped_env.hpp"
#include "base_testing/private_x_server.hpp"
#include "base_testing/x_windows.hpp"
#include "zarn_ui/persist.hpp"
#include "zarn_ui/state.hpp"

// Xlib last: its macros (Status, None, Bool) would break the headers above.
#include <SDL_syswm.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zarn_ui::launch {
namespace {

using floating_surface::FloatingSurfaceEntry;
using floating_surface::FloatingSurfaceRequest;
using floating_surface::SurfaceEvent;

class FakeHost : public widget::Widget, public widget::FloatingSurfaceHost {
 public:
  widget::FloatingSurfaceHost* floating_surface_host() override { return this; }
  const widget::FloatingSurfaceHost* floating_surface_host() const override { return this; }
  bool has_pointer_capture() const override { return capture; }

  std::optional<FloatingSurfaceRequest> take_surface_request() override { return std::exchange(request, std::nullopt); }
  std::vector<FloatingSurfaceEntry> floating_surfaces() const override {
    if (!panel) return {};
    return {{"panel", *panel, panel->inflate(8, 8), false}};
  }
  void draw_floating(Scene& scene, const Affine& t, text_render::TextRenderer&, const theme::Theme&) override {
    ++draws;
    last_transform = t;
    if (panel) scene.fill(*panel, Color::rgba(0.9f, 0.2f, 0.2f), t);
  }
  void set_host_rect(const Rect& r) override { host_rect = r; }
  void apply_surface_event(const SurfaceEvent& e) override {
    events.push_back(e);
    if (const auto* placed = std::get_if<SurfaceEvent::Placed>(&e.value)) {
      panel = Rect::from_origin_size({static_cast<double>(placed->rect.x), static_cast<double>(placed->rect.y)},
                                     panel->size());
    }
  }
  void handle_surface_event(const std::string& id, const widget::Event& e, std::uint32_t, state::State&, bool&,
                            double) override {
    inputs.emplace_back(id, e);
  }

  void ask(const Rect& at) {
    panel = at;
    request = FloatingSurfaceRequest{"panel", "Panel", "app", "kind", at, at.inflate(8, 8), at, {}, at.size(), 2};
  }
  template <class E>
  std::size_t count() const {
    return static_cast<std::size_t>(std::count_if(
        events.begin(), events.end(), [](const SurfaceEvent& e) { return std::holds_alternative<E>(e.value); }));
  }

  std::optional<FloatingSurfaceRequest> request;
  std::optional<Rect> panel;
  bool capture = false;
  Rect host_rect;
  std::vector<SurfaceEvent> events;
  std::vector<std::pair<std::string, widget::Event>> inputs;
  int draws = 0;
  Affine last_transform;
};

struct Video {
  explicit Video(const char* driver) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    ok = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  }
  ~Video() {
    if (ok) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  bool ok = false;
};

struct HostWindow {
  HostWindow() : window(SDL_CreateWindow("host", 100, 80, 800, 600, 0)) {}
  ~HostWindow() {
    if (window) SDL_DestroyWindow(window);
  }
  SDL_Window* window;
};

base_testing::XWindowId window_id_of(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
  return info.info.x11.window;
}

void pump() {
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

TEST(SurfaceWindows, OnTheDesktopWhereWindowsCanBePlaced) {
  base_testing::PrivateXServer server("1600x1200x24");
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
  base::ScopedEnv display("DISPLAY", server.display());
  Video video("x11");
  ASSERT_TRUE(video.ok) << SDL_GetError();
  ASSERT_TRUE(SurfaceWindows::window_system_places_windows());
  HostWindow host_window;
  ASSERT_TRUE(host_window.window);
  pump();
  int hx = 0, hy = 0;
  SDL_GetWindowPosition(host_window.window, &hx, &hy);

  FakeHost host;
  state::State state;
  SurfaceWindows windows(host_window.window, true);
  ASSERT_TRUE(SDL_GetWindowSurface(host_window.window));  // the host window draws first, as in the loop
  windows.sync(host, false, 1.0, 1.0);
  EXPECT_EQ(host.host_rect, (Rect{static_cast<double>(hx), static_cast<double>(hy), hx + 800.0, hy + 600.0}));

  // Asked while the panel is dragged out of the right edge.
  host.capture = true;
  host.ask({700, 100, 1060, 256});
  windows.sync(host, false, 1.0, 1.0);
  ASSERT_EQ(windows.open_count(), 1u);
  ASSERT_EQ(host.count<SurfaceEvent::Placed>(), 1u);
  ASSERT_EQ(host.count<SurfaceEvent::DetachConfirmed>(), 1u);
  const auto& placed = std::get<SurfaceEvent::Placed>(host.events[0].value);
  EXPECT_TRUE(placed.detached);
  EXPECT_EQ(placed.rect, (floating_surface::ProtocolRect{700, 100, 360, 156}));
  SDL_Window* surface = SDL_GetWindowFromID(*windows.window_id("panel"));
  ASSERT_TRUE(surface);
  pump();
  int sx = 0, sy = 0, sw = 0, sh = 0;
  SDL_GetWindowPosition(surface, &sx, &sy);
  SDL_GetWindowSize(surface, &sw, &sh);
  EXPECT_EQ(sx, hx + 692);
  EXPECT_EQ(sy, hy + 92);
  EXPECT_EQ(sw, 376);
  EXPECT_EQ(sh, 172);

  // It is painted through the floating layer, the panel's outer corner at the window's origin.
  auto text = text_render::TextRenderer::fixed(7);
  windows.paint(host, text, theme::Theme::light());
  EXPECT_EQ(host.draws, 1);
  EXPECT_EQ(host.last_transform, Affine::translate(-692, -92));
  SDL_WindowShapeMode mode;
  EXPECT_EQ(SDL_GetShapedWindowMode(surface, &mode), 0) << "cut to the panel's outline";
  SDL_GetWindowPosition(surface, &sx, &sy);
  EXPECT_EQ(sx, hx + 692) << "still where it was put once it has a framebuffer";

  // Its pointer reaches the host at the host window's coordinates.
  SDL_Event press{};
  press.type = SDL_MOUSEBUTTONDOWN;
  press.button.windowID = SDL_GetWindowID(surface);
  press.button.button = SDL_BUTTON_LEFT;
  press.button.x = 20;
  press.button.y = 12;
  EXPECT_TRUE(windows.owns(press));
  windows.handle_event(press, host, state);
  ASSERT_EQ(host.inputs.size(), 2u);
  EXPECT_EQ(host.inputs[0].second, (widget::Event{widget::PointerMoved{{712, 104}}}));
  EXPECT_EQ(host.inputs[1].second, (widget::Event{widget::MouseButtonEvent{widget::MouseButton::Primary, true}}));

  // It follows the drag, and let go more than half over the host window it goes back in.
  host.panel = Rect{300, 200, 660, 356};
  windows.sync(host, false, 1.0, 1.0);
  pump();
  SDL_GetWindowPosition(surface, &sx, &sy);
  EXPECT_EQ(sx, hx + 292);
  EXPECT_EQ(sy, hy + 192);
  host.capture = false;
  windows.sync(host, true, 1.0, 1.0);
  EXPECT_EQ(host.count<SurfaceEvent::Returned>(), 1u);
  EXPECT_EQ(windows.open_count(), 0u);

  // Again on the desktop: moved there by the desktop, the host hears where; closed, it is
  // handed back; gone from the host's list, its window goes.
  host.ask({900, 100, 1260, 256});
  windows.sync(host, false, 1.0, 1.0);
  ASSERT_EQ(windows.open_count(), 1u);
  surface = SDL_GetWindowFromID(*windows.window_id("panel"));
  SDL_SetWindowPosition(surface, hx + 1000, hy + 50);
  pump();
  windows.sync(host, false, 1.0, 1.0);
  EXPECT_EQ(host.panel, (Rect{1008, 58, 1368, 214}));
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  close.window.windowID = SDL_GetWindowID(surface);
  windows.handle_event(close, host, state);
  EXPECT_EQ(host.count<SurfaceEvent::Closed>(), 1u);
  EXPECT_EQ(windows.open_count(), 0u);

  host.ask({900, 100, 1260, 256});
  windows.sync(host, false, 1.0, 1.0);
  ASSERT_EQ(windows.open_count(), 1u);
  host.panel.reset();
  windows.sync(host, false, 1.0, 1.0);
  EXPECT_EQ(windows.open_count(), 0u);

  // On a desktop scaled by 2 (X11 sizes windows by the scale), the window is twice as large and
  // its pointer reaches the host in the host window's pixels.
  host.events.clear();
  host.inputs.clear();
  host.ask({100, 100, 460, 256});
  windows.sync(host, false, 2.0, 1.0);
  ASSERT_EQ(windows.open_count(), 1u);
  surface = SDL_GetWindowFromID(*windows.window_id("panel"));
  pump();
  SDL_GetWindowPosition(surface, &sx, &sy);
  SDL_GetWindowSize(surface, &sw, &sh);
  EXPECT_EQ(sx, hx + 184);
  EXPECT_EQ(sy, hy + 184);
  EXPECT_EQ(sw, 752);
  EXPECT_EQ(sh, 344);
  EXPECT_EQ(std::get<SurfaceEvent::Placed>(host.events[0].value).rect,
            (floating_surface::ProtocolRect{100, 100, 360, 156}));
  press.button.windowID = SDL_GetWindowID(surface);
  press.button.x = 40;
  press.button.y = 24;
  windows.handle_event(press, host, state);
  ASSERT_EQ(host.inputs.size(), 2u);
  EXPECT_EQ(host.inputs[0].second, (widget::Event{widget::PointerMoved{{224, 208}}}));
}

// Another program destroys the panel's window: what the window system then reports about it ends
// nothing, and the panel is handed back, as a close hands it back. Any other X error would still
// end the process, but saves the document first.
TEST(SurfaceWindows, AWindowAnotherProgramDestroysHandsItsPanelBack) {
  base_testing::PrivateXServer server("1600x1200x24");
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
  base::ScopedEnv display("DISPLAY", server.display());
  Video video("x11");
  ASSERT_TRUE(video.ok) << SDL_GetError();
  HostWindow host_window;
  ASSERT_TRUE(host_window.window);
  int last_words = 0;
  X11ErrorGuard guard([&] { ++last_words; });
  ASSERT_TRUE(guard.active());
  FakeHost host;
  state::State state;
  SurfaceWindows windows(host_window.window, true, &guard);
  ASSERT_TRUE(SDL_GetWindowSurface(host_window.window));
  host.ask({900, 100, 1260, 256});
  windows.sync(host, false, 1.0, 1.0);
  ASSERT_EQ(windows.open_count(), 1u);
  SDL_Window* surface = SDL_GetWindowFromID(*windows.window_id("panel"));
  ASSERT_TRUE(surface);
  auto text = text_render::TextRenderer::fixed(7);
  windows.paint(host, text, theme::Theme::light());
  pump();

  const base_testing::XConnection other(server.display());
  ASSERT_TRUE(other.ok());
  other.destroy(window_id_of(surface));
  // Everything the loop does with the window before it notices: events, a resize, a paint.
  pump();
  SDL_SetWindowSize(surface, 380, 180);
  host.draws = 0;
  windows.paint(host, text, theme::Theme::light());
  windows.sync(host, false, 1.0, 1.0);
  EXPECT_EQ(host.count<SurfaceEvent::Closed>(), 1u);
  EXPECT_EQ(windows.open_count(), 0u);
  pump();
  EXPECT_EQ(last_words, 0) << "nothing fatal happened";

  // The panel can go out again, into a new window.
  host.ask({900, 100, 1260, 256});
  windows.sync(host, false, 1.0, 1.0);
  EXPECT_EQ(windows.open_count(), 1u);
}

// The X connection an SDL window is on; a child process that cannot find it ends with 12.
Display* x11_display_of(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info)) ::_exit(12);
  return info.info.x11.display;
}

// An X error about anything else, and the loss of the display, still end the process as Xlib
// does, but only once the loop's last words have run: the last change is saved.
TEST(X11ErrorGuard, AFatalXErrorSavesTheDocumentFirst) {
  base_testing::PrivateXServer server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
  base::ScopedEnv display("DISPLAY", server.display());
  for (const bool lose_display : {false, true}) {
    SCOPED_TRACE(lose_display ? "the display lost" : "a bad request");
    char folder[] = "/tmp/x11-guard-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      Video video("x11");
      HostWindow host_window;
      if (!video.ok || !host_window.window) ::_exit(10);
      state::State state(persist::open_in(folder));
      X11ErrorGuard guard([&] { (void)state.flush(); });
      if (!state.doc().put(automerge::ROOT, "last", automerge::ScalarValue::int64(7)).is_ok()) ::_exit(11);
      Display* d = x11_display_of(host_window.window);
      if (lose_display) {
        ::shutdown(ConnectionNumber(d), SHUT_RDWR);
      } else {
        XDestroyWindow(d, 0x1fffff);  // no such window
      }
      XSync(d, False);
      ::_exit(0);  // not reached: Xlib ends the process
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    persist::PersistedDoc saved = persist::open_in(folder);
    const auto last = saved.doc().get(automerge::ROOT, "last");
    ASSERT_TRUE(last && last->has_value()) << "the last change was lost";
    EXPECT_EQ((*last)->value.to_scalar().as_int(), 7);
    std::filesystem::remove_all(folder);
  }
}

// The answer to another program's clipboard request is an event sent to its window; when that
// program has quit meanwhile the window is gone, and the app goes on.
TEST(X11ErrorGuard, AnEventSentToAWindowThatIsGoneEndsNothing) {
  base_testing::PrivateXServer server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
  base::ScopedEnv display("DISPLAY", server.display());
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    Video video("x11");
    HostWindow host_window;
    if (!video.ok || !host_window.window) ::_exit(10);
    bool last_words = false;
    X11ErrorGuard guard([&] { last_words = true; });
    Display* d = x11_display_of(host_window.window);
    XEvent event{};
    event.xselection.type = SelectionNotify;
    event.xselection.requestor = 0x1fffff;  // no such window
    XSendEvent(d, 0x1fffff, False, 0, &event);
    XSync(d, False);
    ::_exit(last_words ? 13 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(SurfaceWindows, WithoutAWindowThePanelStaysAndComesBackWhole) {
  Video video("dummy");
  ASSERT_TRUE(video.ok) << SDL_GetError();
  EXPECT_FALSE(SurfaceWindows::window_system_places_windows());
  HostWindow host_window;
  ASSERT_TRUE(host_window.window);
  FakeHost host;
  SurfaceWindows windows(host_window.window, SurfaceWindows::window_system_places_windows());

  // "Float" without a drag: refused, nothing confirmed, nothing handed back.
  host.ask({100, 100, 460, 256});
  windows.sync(host, false, 1.0, 1.0);
  EXPECT_EQ(windows.open_count(), 0u);
  EXPECT_TRUE(host.events.empty());
  EXPECT_FALSE(host.request);

  // Dragged half out: refused; when the drag ends the panel is handed back.
  host.capture = true;
  host.ask({600, 100, 960, 256});
  windows.sync(host, false, 1.0, 1.0);
  EXPECT_TRUE(host.events.empty());
  host.capture = false;
  windows.sync(host, true, 1.0, 1.0);
  ASSERT_EQ(host.events.size(), 1u);
  EXPECT_TRUE(std::holds_alternative<SurfaceEvent::Returned>(host.events[0].value));
  windows.sync(host, true, 1.0, 1.0);
  EXPECT_EQ(host.events.size(), 1u) << "handed back once";
}

}  // namespace
}  // namespace zarn_ui::launch
