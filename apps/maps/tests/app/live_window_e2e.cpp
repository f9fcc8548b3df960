// The live app in a window (SDL's dummy driver) against a tile server on 127.0.0.1: tiles are
// fetched and drawn as they arrive, the map pans with the keys and the mouse, zooms with the
// wheel, "+"/"-" and the controls, the view-idle deadline asks for points of interest, and once
// nothing is left to do the loop stops painting.

#include <SDL.h>
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>

#include "app/construct.hpp"
#include "geo/screen_view.hpp"
#include "net/recording_job_spawner.hpp"
#include "overlay/map_controls.hpp"
#include "tile_root.hpp"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/offscreen.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

std::string solid_png() {
  auto r = zarn_ui::offscreen::OffscreenRenderer::create(256, 256);
  zarn_ui::Scene s;
  s.fill(zarn_ui::Rect{0, 0, 256, 256}, zarn_ui::Color::from_rgba8(200, 120, 40));
  const auto png = r->encode_png(r->render_resilient(s));
  return std::string(png->begin(), png->end());
}

class TileServer {
 public:
  TileServer() : png_(solid_png()) {
    server_.Get(R"(/(\w+)/(\d+)/(\d+)/(\d+)\.png)", [this](const httplib::Request& req, httplib::Response& res) {
      {
        std::lock_guard lock(mu_);
        ++requests_;
        user_agent_ = req.get_header_value("User-Agent");
      }
      res.set_content(png_, "image/png");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~TileServer() {
    server_.stop();
    thread_.join();
  }
  std::string host() const { return "http://127.0.0.1:" + std::to_string(port_); }
  int requests() {
    std::lock_guard lock(mu_);
    return requests_;
  }
  std::string user_agent() {
    std::lock_guard lock(mu_);
    return user_agent_;
  }

 private:
  httplib::Server server_;
  std::string png_;
  int port_ = 0;
  std::thread thread_;
  std::mutex mu_;
  int requests_ = 0;
  std::string user_agent_;
};

void push(SDL_Event e) { SDL_PushEvent(&e); }
SDL_Event key(SDL_Keycode k) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = k;
  return e;
}
SDL_Event text(const char* t) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  SDL_strlcpy(e.text.text, t, sizeof(e.text.text));
  return e;
}
SDL_Event motion(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  return e;
}
SDL_Event button(int x, int y, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.x = x;
  e.button.y = y;
  return e;
}
SDL_Event wheel(float dy) {
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.y = static_cast<int>(dy);
  e.wheel.preciseY = dy;
  return e;
}

TEST(LiveWindow, TilesInputViewIdleAndIdleFrames) {
  TileServer server;
  const auto root = std::filesystem::temp_directory_path() / ("maps-live-e2e-" + std::to_string(getpid()));
  std::filesystem::remove_all(root);

  auto app = build_maps_app(default_map_model(), VectorMap{}, new_tile_store(root, server.host()), false, true);
  auto spawner = std::make_unique<RecordingJobSpawner>();
  RecordingJobSpawner* jobs = spawner.get();
  app->backend.job_spawner = std::move(spawner);
  zarn_ui::state::State state;

  enum Step { WaitTiles, Pan, Wheel, Minus, Drag, Control, WaitPois, WaitIdle, Done };
  Step step = WaitTiles;
  LatLon center_before;
  double zoom_before = 0;
  std::string failure;
  std::atomic<bool> idle{false};
  int repaints_after_idle = 0;
  bool seen_idle = false;
  bool quit_sent = false;

  zarn_ui::launch::LoopOptions opts;
  opts.video_driver = "dummy";
  opts.max_frames = 4000;  // a bound: about a minute at 60 frames a second
  opts.before_frame = [&](std::uint64_t) {
    MapsApp& a = *app;
    auto expect = [&](bool ok, const char* what) {
      if (!ok && failure.empty()) failure = what;
    };
    switch (step) {
      case WaitTiles:
        if (!a.backend.tiles.decoded.empty() && a.drawn_bounds.width() > 0) {
          center_before = a.model.center;
          push(key(SDLK_RIGHT));
          step = Pan;
        }
        break;
      case Pan:
        expect(a.model.center != center_before, "arrow key did not pan");
        expect(a.backend.view_pois.idle_deadline.has_value(), "a pan did not arm the view-idle deadline");
        zoom_before = a.model.zoom;
        push(motion(600, 300));  // over the map, clear of the side panel
        push(wheel(1.0f));
        step = Wheel;
        break;
      case Wheel:
        expect(std::abs(a.model.zoom - (zoom_before + 0.35)) < 1e-9, "wheel did not zoom by 0.35");
        zoom_before = a.model.zoom;
        push(text("-"));
        step = Minus;
        break;
      case Minus:
        expect(std::abs(a.model.zoom - (zoom_before - 1.0)) < 1e-9, "\"-\" did not zoom out by one");
        center_before = a.model.center;
        push(motion(400, 300));
        push(button(400, 300, true));
        push(motion(450, 330));
        push(button(450, 330, false));
        step = Drag;
        break;
      case Drag: {
        expect(a.model.center != center_before, "dragging did not pan");
        zoom_before = a.model.zoom;
        const auto c = control_button_rect(a.drawn_bounds, MapControl::ZoomIn).center();
        push(motion(static_cast<int>(c.x), static_cast<int>(c.y)));
        push(button(static_cast<int>(c.x), static_cast<int>(c.y), true));
        push(button(static_cast<int>(c.x), static_cast<int>(c.y), false));
        step = Control;
        break;
      }
      case Control:
        expect(std::abs(a.model.zoom - (zoom_before + 1.0)) < 1e-9, "the zoom-in control did not zoom");
        step = WaitPois;
        break;
      case WaitPois:
        // The view-idle deadline passes and asks for the points of interest of the view; answer it.
        if (auto pois = jobs->of_kind<PoiJob>(); !pois.empty()) {
          a.backend.result_sender.send(worker::Pois{std::vector<Poi>{}, pois.back().generation});
          step = WaitIdle;
        }
        break;
      case WaitIdle:
        if (!a.needs_frame() && !a.has_pending_work() && !seen_idle) {
          seen_idle = true;
          idle = true;
          step = Done;
        }
        break;
      case Done: break;
    }
  };
  opts.after_frame = [&](std::uint64_t, bool repainted) {
    if (idle && repainted) ++repaints_after_idle;
  };
  // Once idle, the loop goes to sleep with no timer armed; then the window is closed.
  opts.before_wait = [&](std::optional<std::chrono::milliseconds> timeout) {
    if (!idle || quit_sent || timeout) return;
    quit_sent = true;
    SDL_Event q{};
    q.type = SDL_QUIT;
    SDL_PushEvent(&q);
  };

  EXPECT_EQ(zarn_ui::launch::run_window(*app, state, "maps", {800, 600}, opts), 0);
  EXPECT_EQ(failure, "");
  EXPECT_EQ(step, Done) << "stopped at step " << step;
  EXPECT_GT(server.requests(), 0);
  EXPECT_EQ(server.user_agent(), "Zarn-Maps/0.1 (maps@zarn.so; native maps app)");
  // Idle: at most the one frame that was already under way is drawn; the quit frame draws the same.
  EXPECT_LE(repaints_after_idle, 1);
  app.reset();
  testing::remove_tile_root(root);
}

}  // namespace
}  // namespace maps
