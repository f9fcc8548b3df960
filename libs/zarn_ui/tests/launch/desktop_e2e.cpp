// The window as the desktop sees it, on X servers of the tests' own: a shortcut key acts once, the window
// names the application and lets the screen blank, the desktop's scale sizes text and drawing,
// and the launcher paints with the desktop's look; a change of look or scale while the window
// runs shows at once.

#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base_testing/fake_settings_portal.hpp"
#include "base_testing/private_bus.hpp"
#include "base_testing/private_x_server.hpp"
#include "probe_widget.hpp"
#include "sdbus-c++/sdbus-c++.h"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/state.hpp"

// Xlib last: its macros (Status, None, Bool) would break the headers above.
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

extern char** environ;

namespace zarn_ui::launch {
namespace {

using base_testing::PrivateXServer;
using testing_support::ProbeWidget;

// Sets (or, with nullptr, removes) an environment variable for the guard's life.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_.c_str(), old_->c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// The loop's window, found by its title.
SDL_Window* window_titled(const std::string& title) {
  for (Uint32 id = 1; id < 4096; ++id) {
    SDL_Window* w = SDL_GetWindowFromID(id);
    if (w && title == SDL_GetWindowTitle(w)) return w;
  }
  return nullptr;
}

void push_quit() {
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
}

// What X11 delivers for Control with "=" and then "-": each key event is followed by its text.
TEST(DesktopWindow, AShortcutKeyActsOnceWithTheTextThatFollowsIt) {
  ProbeWidget w;
  state::State state;
  LoopOptions opts;
  opts.video_driver = "dummy";
  opts.max_frames = 100;
  opts.before_frame = [&](std::uint64_t frame) {
    if (frame == 2) {
      for (SDL_Keycode key : {SDLK_EQUALS, SDLK_MINUS}) {
        SDL_Event down{};
        down.type = SDL_KEYDOWN;
        down.key.keysym.sym = key;
        down.key.keysym.mod = KMOD_LCTRL;
        SDL_PushEvent(&down);
        SDL_Event text{};
        text.type = SDL_TEXTINPUT;
        text.text.text[0] = static_cast<char>(key);
        SDL_PushEvent(&text);
      }
      SDL_Event plain{};  // text after a key without Control is typed as ever
      plain.type = SDL_TEXTINPUT;
      SDL_strlcpy(plain.text.text, "=", sizeof plain.text.text);
      SDL_PushEvent(&plain);
    }
    if (frame == 5) push_quit();
  };
  EXPECT_EQ(run_window(w, state, "probe-shortcut", {320, 200}, opts), 0);
  EXPECT_EQ(w.typed, "=-=");
}

// The same through a real X server: xdotool presses Control+= and Control+- once each.
TEST(DesktopWindow, ControlEqualsOnARealServerArrivesOnce) {
  PrivateXServer server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
  ScopedEnv display("DISPLAY", server.display().c_str());
  ProbeWidget w;
  state::State state;
  LoopOptions opts;
  opts.video_driver = "x11";
  opts.max_frames = 600;
  bool sent = false;
  std::optional<std::uint64_t> quit_at;
  opts.before_frame = [&](std::uint64_t frame) {
    if (frame == 3 && !sent) {
      sent = true;
      SDL_Window* window = window_titled("probe-xdotool");
      SDL_SysWMinfo info;
      SDL_VERSION(&info.version);
      ASSERT_TRUE(window && SDL_GetWindowWMInfo(window, &info));
      const std::string id = std::to_string(info.info.x11.window);
      EXPECT_EQ(std::system(("xdotool mousemove --window " + id + " 20 20 windowfocus --sync " + id +
                             " key --clearmodifiers ctrl+equal ctrl+minus")
                                .c_str()),
                0);
    }
    if (sent && !quit_at && w.typed.size() >= 2) quit_at = frame + 20;  // room for a second copy
    if (frame == quit_at) push_quit();
  };
  EXPECT_EQ(run_window(w, state, "probe-xdotool", {320, 200}, opts), 0);
  EXPECT_EQ(w.typed, "=-");
}

// The window class and SDL's app name are the application's id, and the screen saver stays allowed.
TEST(DesktopWindow, TheWindowNamesTheApplicationAndLetsTheScreenBlank) {
  PrivateXServer server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
  ScopedEnv display("DISPLAY", server.display().c_str());
  ScopedEnv x11_class("SDL_VIDEO_X11_WMCLASS", nullptr);
  ScopedEnv wayland_class("SDL_VIDEO_WAYLAND_WMCLASS", nullptr);
  ProbeWidget w;
  state::State state;
  LoopOptions opts;
  opts.video_driver = "x11";
  opts.app_id = "so.zarn.probe";
  opts.max_frames = 100;
  std::string res_name, res_class, app_name;
  bool screensaver = false;
  opts.before_frame = [&](std::uint64_t frame) {
    if (frame != 2) return;
    SDL_Window* window = window_titled("probe-identity");
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window && SDL_GetWindowWMInfo(window, &info)) {
      XClassHint hint{};
      if (XGetClassHint(info.info.x11.display, info.info.x11.window, &hint)) {
        res_name = hint.res_name;
        res_class = hint.res_class;
        XFree(hint.res_name);
        XFree(hint.res_class);
      }
    }
    if (const char* name = SDL_GetHint(SDL_HINT_APP_NAME)) app_name = name;
    screensaver = SDL_IsScreenSaverEnabled();
    push_quit();
  };
  EXPECT_EQ(run_window(w, state, "probe-identity", {320, 200}, opts), 0);
  EXPECT_EQ(res_name, "so.zarn.probe");
  EXPECT_EQ(res_class, "so.zarn.probe");
  EXPECT_EQ(app_name, "so.zarn.probe");
  EXPECT_TRUE(screensaver);
}

// The desktop's scale: the window is that much larger, the widget is laid out at its logical size,
// and pointer positions come in physical pixels with the scale beside them.
void expect_scaled_window(double scale) {
  ProbeWidget w;
  state::State state;
  LoopOptions opts;
  opts.video_driver = "x11";
  opts.max_frames = 100;
  int px_w = 0, px_h = 0;
  opts.before_frame = [&](std::uint64_t frame) {
    if (frame == 2) {
      if (SDL_Window* window = window_titled("probe-scale")) SDL_GetWindowSizeInPixels(window, &px_w, &px_h);
      SDL_Event e{};
      e.type = SDL_MOUSEMOTION;
      e.motion.x = 30;
      e.motion.y = 60;
      SDL_PushEvent(&e);
    }
    if (frame == 4) push_quit();
  };
  EXPECT_EQ(run_window(w, state, "probe-scale", {320, 200}, opts), 0);
  EXPECT_EQ(px_w, static_cast<int>(320 * scale));
  EXPECT_EQ(px_h, static_cast<int>(200 * scale));
  EXPECT_EQ(w.bounds_, (Rect{0, 0, 320, 200}));
  EXPECT_EQ(w.last_scale, scale);
  EXPECT_EQ(w.last_pointer, (Point{30 / scale, 60 / scale}));
}

TEST(DesktopWindow, GdkScaleSizesTextAndDrawing) {
  PrivateXServer server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
  ScopedEnv display("DISPLAY", server.display().c_str());
  ScopedEnv gdk("GDK_SCALE", "2");
  expect_scaled_window(2.0);
}

TEST(DesktopWindow, XftDpiSizesTextAndDrawing) {
  ScopedEnv gdk("GDK_SCALE", nullptr);
  PrivateXServer server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
  ScopedEnv display("DISPLAY", server.display().c_str());
  Display* x = XOpenDisplay(server.display().c_str());
  ASSERT_NE(x, nullptr);
  const char resources[] = "Xft.antialias:\t1\nXft.dpi:\t144\n";
  XChangeProperty(x, DefaultRootWindow(x), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(resources), static_cast<int>(sizeof resources - 1));
  XSync(x, False);
  // Held open while the window runs: a server may forget its properties when its last client goes.
  expect_scaled_window(1.5);
  XCloseDisplay(x);
}

// What the loop painted, frame by frame, as its own thread records it, for a test thread that
// changes the desktop meanwhile.
struct Painted {
  Color background;
  double scale = 0;
  Rect bounds;
  int px_w = 0, px_h = 0;
  int x = 0, y = 0;  // the window's place on the screen
};

class FrameLog {
 public:
  void add(const Painted& p) {
    std::lock_guard lock(mu_);
    frames_.push_back(p);
  }
  std::size_t size() {
    std::lock_guard lock(mu_);
    return frames_.size();
  }
  std::vector<Painted> all() {
    std::lock_guard lock(mu_);
    return frames_;
  }
  // Waits (5 s at most) until a frame from index `from` on satisfies `holds`.
  bool wait_for(std::size_t from, const std::function<bool(const Painted&)>& holds = {}) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < give_up) {
      {
        std::lock_guard lock(mu_);
        for (std::size_t i = from; i < frames_.size(); ++i) {
          if (!holds || holds(frames_[i])) return true;
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }
  // Frames drawn in a while in which nothing happens, once start-up's have passed.
  std::size_t frames_while_idle() {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const std::size_t settled = size();
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    return size() - settled;
  }

 private:
  std::mutex mu_;
  std::vector<Painted> frames_;
};

// The launcher paints with the desktop's look from the first frame, and each change the settings
// portal announces while the window runs shows in the frame that the change wakes: light and
// dark, high contrast and back. Nothing is drawn while nothing changes.
TEST(DesktopWindow, TheLauncherFollowsTheDesktopsLookWhileItRuns) {
  auto bus = base_testing::PrivateBus::start();
  ASSERT_NE(bus, nullptr) << "dbus-daemon did not start";
  base_testing::FakeSettingsPortal portal(bus->address(), {true, true, {{"color-scheme", sdbus::Variant(1u)}}});
  ScopedEnv session_bus("DBUS_SESSION_BUS_ADDRESS", bus->address().c_str());

  ProbeWidget* probe = nullptr;
  AppDescriptor d;
  d.app_id = "so.zarn.probe";
  d.title = "probe-theme";
  d.default_factory = [&] {
    auto w = std::make_unique<ProbeWidget>();
    w->wants_frames = false;
    probe = w.get();
    return w;
  };
  FrameLog log;
  LoopOptions opts;
  opts.video_driver = "dummy";
  opts.after_frame = [&](std::uint64_t, bool) {
    if (probe) log.add({probe->painted_background, probe->painted_scale, probe->bounds_});
  };
  struct Step {
    const char* what;
    const char* key;
    std::uint32_t value;
    Color background;
    std::size_t frame = 0;  // the first frame after the change
  };
  std::vector<Step> steps = {
      {"light", "color-scheme", 2, theme::Theme::light().background},
      {"high contrast", "contrast", 1, theme::Theme::high_contrast().background},
      {"normal contrast", "contrast", 0, theme::Theme::light().background},
      {"dark", "color-scheme", 1, theme::Theme::dark().background},
  };
  std::size_t idle_frames = 0;
  std::thread desktop([&] {
    if (log.wait_for(0)) {
      idle_frames = log.frames_while_idle();
      for (Step& step : steps) {
        step.frame = log.size();
        portal.change(step.key, sdbus::Variant(step.value));
        if (!log.wait_for(step.frame)) break;
      }
    }
    push_quit();
  });
  EXPECT_EQ(run(d, "probe", {}, opts), 0);
  desktop.join();

  const std::vector<Painted> frames = log.all();
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames.front().background, theme::Theme::dark().background);
  EXPECT_EQ(idle_frames, 0u);
  for (const Step& step : steps) {
    ASSERT_LT(step.frame, frames.size()) << step.what << ": no frame after the change";
    EXPECT_EQ(frames[step.frame].background, step.background) << step.what;
  }
}

// A change of Xft.dpi on the root window rescales the running window at once: the frame that the
// change wakes is drawn at the new scale, and the window keeps its size in logical units, or grows
// only as far as the screen and moves onto it. Deleting the resource goes back to scale 1.
TEST(DesktopWindow, AnXftDpiChangeRescalesTheRunningWindow) {
  ScopedEnv gdk("GDK_SCALE", nullptr);
  PrivateXServer server;
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
  ScopedEnv display("DISPLAY", server.display().c_str());
  Display* x = XOpenDisplay(server.display().c_str());
  ASSERT_NE(x, nullptr);
  const auto set_resources = [x](const std::string& resources) {
    if (resources.empty()) {
      XDeleteProperty(x, DefaultRootWindow(x), XA_RESOURCE_MANAGER);
    } else {
      XChangeProperty(x, DefaultRootWindow(x), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(resources.data()), static_cast<int>(resources.size()));
    }
    XSync(x, False);
  };
  set_resources("Xft.antialias:\t1\nXft.dpi:\t96\n");

  ProbeWidget w;
  w.wants_frames = false;
  state::State state;
  FrameLog log;
  LoopOptions opts;
  opts.video_driver = "x11";
  opts.after_frame = [&](std::uint64_t, bool) {
    Painted p{w.painted_background, w.painted_scale, w.bounds_};
    if (SDL_Window* window = window_titled("probe-rescale")) {
      SDL_GetWindowSizeInPixels(window, &p.px_w, &p.px_h);
      SDL_GetWindowPosition(window, &p.x, &p.y);
    }
    log.add(p);
  };
  struct Step {
    const char* what;
    std::string resources;
    double scale;
    Rect window;  // on the 1024 x 768 screen, in pixels
    std::size_t frame = 0;
    bool resized = false;
  };
  // The window starts centred at (352, 284).
  std::vector<Step> steps = {
      {"144 dpi", "Xft.antialias:\t1\nXft.dpi:\t144\n", 1.5, {352, 284, 832, 584}},
      {"192 dpi", "Xft.dpi:\t192\nXft.antialias:\t1\n", 2.0, {352, 284, 992, 684}},
      {"480 dpi: the screen's size at most, on it", "Xft.dpi:\t480\n", 4.0, {0, 0, 1024, 768}},
      {"no resources", "", 1.0, {0, 0, 256, 192}},
  };
  std::size_t idle_frames = 0;
  std::thread desktop([&] {
    if (log.wait_for(0)) {
      idle_frames = log.frames_while_idle();
      for (Step& step : steps) {
        step.frame = log.size();
        set_resources(step.resources);
        if (!log.wait_for(step.frame)) break;
        const Rect logical{0, 0, step.window.width() / step.scale, step.window.height() / step.scale};
        step.resized = log.wait_for(step.frame, [&](const Painted& p) {
          const Rect window{static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.x + p.px_w),
                            static_cast<double>(p.y + p.px_h)};
          return window == step.window && p.bounds == logical && p.scale == step.scale;
        });
        (void)log.frames_while_idle();  // the resize's own events come and go
      }
    }
    push_quit();
  });
  EXPECT_EQ(run_window(w, state, "probe-rescale", {320, 200}, opts), 0);
  desktop.join();
  XCloseDisplay(x);

  const std::vector<Painted> frames = log.all();
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames.front().scale, 1.0);
  EXPECT_EQ(idle_frames, 0u);
  for (const Step& step : steps) {
    ASSERT_LT(step.frame, frames.size()) << step.what << ": no frame after the change";
    EXPECT_EQ(frames[step.frame].scale, step.scale) << step.what;
    EXPECT_TRUE(step.resized) << step.what << ": the window did not come to (" << step.window.x0 << ", "
                              << step.window.y0 << ") - (" << step.window.x1 << ", " << step.window.y1 << ")";
  }
}

}  // namespace
}  // namespace zarn_ui::launch
