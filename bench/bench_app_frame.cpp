// One whole frame of the app as the window loop runs it (tick, layout, paint, and the frame
// painted into a surface of the window's own pixel format, as on X11), and the start-up to the
// first painted frame. The traffic frames while the map is dragged come in
// pairs: from the city's kept picture and, as the baseline, with the layers drawn directly; a
// third figure is a frame that has to make a new picture. A frame with 10,000 stored places sits
// beside one with 8 (the tick reads the document only when it moved), and the tick's read of an
// unmoved document beside a full read of it.

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/construct.hpp"
#include "app/startup.hpp"
#include "app/tick_steps.hpp"
#include "doc/readers.hpp"
#include "frame_present.hpp"
#include "transitions/commit.hpp"
#include "transitions/view.hpp"
#include "zarn_ui/layout.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/render.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace {

struct FrameRig {
  zarn_ui::theme::Theme theme = zarn_ui::theme::Theme::light();
  zarn_ui::text_render::TextRenderer text = zarn_ui::text_render::TextRenderer::create();
  zarn_ui::presence::PresenceCtx presence = zarn_ui::presence::PresenceCtx::empty();
  zarn_ui::permissions::PermissionContext permissions = zarn_ui::permissions::PermissionContext::permissive();
  zarn_ui::state::State state;
  // Stands for the window's surface: 32-bit XRGB, as X11 gives it.
  zarn_ui::launch::SdlSurface window;
  zarn_ui::launch::FramePainter painter;
  int width, height;
  double scale;

  FrameRig(int w, int h, double s) : width(w), height(h), scale(s) {
    window.reset(SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(w * s), static_cast<int>(h * s), 32,
                                                SDL_PIXELFORMAT_RGB888));
  }

  void frame(maps::MapsApp& app) {
    app.tick(state);
    auto tree = zarn_ui::layout::LayoutTree::with_capacity(16);
    zarn_ui::layout::NodeWidgetMap widgets;
    const auto node = app.build_layout(tree, theme, widgets);
    zarn_ui::layout::Style root;
    root.size = {zarn_ui::layout::Dimension::px(static_cast<float>(width)),
                 zarn_ui::layout::Dimension::px(static_cast<float>(height))};
    auto r = tree.new_with_children(root, {*node});
    (void)tree.compute(*r, static_cast<float>(width), static_cast<float>(height));
    app.apply_layout(tree, *node, {0, 0});
    zarn_ui::Scene scene;
    zarn_ui::widget::PaintCtx ctx{text, theme, presence, permissions};
    ctx.device_scale = scale;
    app.paint(scene, zarn_ui::Affine::identity(), ctx);
    (void)painter.paint_into(window.get(), scene, scale, &text);
    (void)state.flush();
  }
};

void run_frames(benchmark::State& bs, std::vector<std::string> flags, int w, int h, double scale) {
  auto args = zarn_ui::launch::LaunchArgs::from_flags(std::move(flags));
  auto app = maps::app_from_launch_args(args);
  FrameRig rig(w, h, scale);
  rig.frame(*app);  // the first tick seeds the document
  for (auto _ : bs) rig.frame(*app);
}

// Stored places within `radius` degrees of the sample city, every seventh saved, as a long-used
// document holds them.
std::vector<maps::Place> stored_places(int n, double radius) {
  std::vector<maps::Place> out;
  out.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double a = i * 2.399963, r = 0.002 + radius * std::sqrt((i + 0.5) / n);
    out.push_back(maps::Place{"place-" + std::to_string(i),
                              "Place " + std::to_string(i),
                              maps::Category::Cafe,
                              "Street " + std::to_string(i),
                              {48.137 + r * std::sin(a), 11.575 + r * std::cos(a)},
                              i % 7 == 0});
  }
  return out;
}

// The sample state with `places` stored places, its document seeded by the first frame and read
// by the second.
std::unique_ptr<maps::MapsApp> app_with_places(FrameRig& rig, int places, double radius) {
  auto app = maps::app_from_launch_args(zarn_ui::launch::LaunchArgs::from_flags({}));
  app->model.places = stored_places(places, radius);
  rig.frame(*app);
  rig.frame(*app);
  return app;
}

void run_places_frames(benchmark::State& bs, int places, double radius) {
  FrameRig rig(1280, 800, 1.0);
  auto app = app_with_places(rig, places, radius);
  for (auto _ : bs) rig.frame(*app);
  bs.counters["places"] = static_cast<double>(app->model.places.size());
}

// Eight places in the view, and 10,000 over the region of which about as many are in the view;
// then 10,000 around the centre, some hundreds of them pinned in the view (what is shown costs).
void BM_PlacesFrame_8_1280x800(benchmark::State& s) { run_places_frames(s, 8, 0.01); }
void BM_PlacesFrame_10000OverTheRegion_1280x800(benchmark::State& s) { run_places_frames(s, 10000, 2.0); }
void BM_PlacesFrame_10000AroundTheCentre_1280x800(benchmark::State& s) { run_places_frames(s, 10000, 0.25); }

// The tick's step that meets the document, on a document that did not move, beside the full read
// it replaces (the model read from the document and the overlay laid over it).
void run_hydration(benchmark::State& bs, bool full) {
  FrameRig rig(1280, 800, 1.0);
  auto app = app_with_places(rig, 10000, 0.25);
  const auto& doc = rig.state.doc();
  for (auto _ : bs) {
    if (full) {
      if (maps::doc::hydrate_state(doc, app->model)) app->transient.apply(app->model);
    } else {
      maps::hydrate_if_moved(app->model, app->transient, app->commits, doc);
    }
    benchmark::DoNotOptimize(app->model.places.data());
  }
  bs.counters["places"] = static_cast<double>(app->model.places.size());
}

void BM_Hydration_10000Places_Unmoved(benchmark::State& s) { run_hydration(s, false); }
void BM_Hydration_10000Places_FullRead(benchmark::State& s) { run_hydration(s, true); }

enum class Drag { Cached, Direct, NewPicture };

// The traffic frame while the centre moves by `step` px a frame, `run` frames one way and then as
// many back, as a drag does. NewPicture also nudges the zoom every frame, so every frame starts a
// new picture (as zooming with the wheel does); a step past the picture's margin moves the
// picture every frame. The counters give pictures started, filled further and moved per frame.
void run_drag(benchmark::State& bs, Drag drag, double step, int run, int w, int h, double scale) {
  auto args = zarn_ui::launch::LaunchArgs::from_flags({"--traffic"});
  auto app = maps::app_from_launch_args(args);
  app->map_layers.set_caching(drag != Drag::Direct);
  FrameRig rig(w, h, scale);
  rig.frame(*app);
  const double zoom = app->model.zoom;
  int n = 0;
  for (auto _ : bs) {
    maps::pan_map(app->session(), (n / run) % 2 == 0 ? step : -step, 0.0);
    if (drag == Drag::NewPicture) app->model.zoom = zoom + (n % 2 == 0 ? 1e-3 : 0.0);
    ++n;
    rig.frame(*app);
  }
  bs.counters["new"] =
      benchmark::Counter(static_cast<double>(app->map_layers.rebuilds()), benchmark::Counter::kAvgIterations);
  bs.counters["filled"] =
      benchmark::Counter(static_cast<double>(app->map_layers.extensions()), benchmark::Counter::kAvgIterations);
  bs.counters["moved"] =
      benchmark::Counter(static_cast<double>(app->map_layers.scrolls()), benchmark::Counter::kAvgIterations);
}

// One pixel a frame: the picture is only drawn shifted.
void BM_TrafficDrag_Cached_1280x800(benchmark::State& s) { run_drag(s, Drag::Cached, 1, 8, 1280, 800, 1.0); }
void BM_TrafficDrag_Direct_1280x800(benchmark::State& s) { run_drag(s, Drag::Direct, 1, 8, 1280, 800, 1.0); }
void BM_TrafficDrag_Cached_1920x1080(benchmark::State& s) { run_drag(s, Drag::Cached, 1, 8, 1920, 1080, 1.0); }
void BM_TrafficDrag_Direct_1920x1080(benchmark::State& s) { run_drag(s, Drag::Direct, 1, 8, 1920, 1080, 1.0); }
void BM_TrafficDrag_Cached_2560x1600(benchmark::State& s) { run_drag(s, Drag::Cached, 1, 8, 1280, 800, 2.0); }
void BM_TrafficDrag_Direct_2560x1600(benchmark::State& s) { run_drag(s, Drag::Direct, 1, 8, 1280, 800, 2.0); }
// A brisk drag, 24 px a frame for 40 frames each way: now and then the picture moves along.
void BM_TrafficDragFast_Cached_1280x800(benchmark::State& s) { run_drag(s, Drag::Cached, 24, 40, 1280, 800, 1.0); }
void BM_TrafficDragFast_Direct_1280x800(benchmark::State& s) { run_drag(s, Drag::Direct, 24, 40, 1280, 800, 1.0); }
// The frames that make a picture: moved along (one past the margin every frame), or new.
void BM_TrafficFrame_PictureMoved_1280x800(benchmark::State& s) { run_drag(s, Drag::Cached, 257, 1, 1280, 800, 1.0); }
void BM_TrafficFrame_NewPicture_1280x800(benchmark::State& s) { run_drag(s, Drag::NewPicture, 1, 8, 1280, 800, 1.0); }
void BM_TrafficFrame_PictureMoved_1920x1080(benchmark::State& s) { run_drag(s, Drag::Cached, 257, 1, 1920, 1080, 1.0); }
void BM_TrafficFrame_NewPicture_1920x1080(benchmark::State& s) { run_drag(s, Drag::NewPicture, 1, 8, 1920, 1080, 1.0); }

// Wheel notches over the map, six in and six out, each zooming by 0.35 at one point as the wheel
// does; every frame is at a new zoom. With `wait`, each frame also waits for the picture made
// off the window's thread (the figure of making a new picture, as before it was made there).
void run_wheel(benchmark::State& bs, std::vector<std::string> flags, int w, int h, double scale, bool wait) {
  auto app = maps::app_from_launch_args(zarn_ui::launch::LaunchArgs::from_flags(std::move(flags)));
  FrameRig rig(w, h, scale);
  rig.frame(*app);
  int n = 0;
  for (auto _ : bs) {
    maps::zoom_map_at(app->session(), (n / 6) % 2 == 0 ? 0.35 : -0.35, 0.6 * w, 0.55 * h);
    ++n;
    rig.frame(*app);
    if (wait) {
      app->map_layers.wait_for_picture();
      rig.frame(*app);
    }
  }
  bs.counters["new"] =
      benchmark::Counter(static_cast<double>(app->map_layers.rebuilds()), benchmark::Counter::kAvgIterations);
}

void BM_WheelZoom_Traffic_1280x800(benchmark::State& s) { run_wheel(s, {"--traffic"}, 1280, 800, 1.0, false); }
void BM_WheelZoom_Plain_3840x2160(benchmark::State& s) { run_wheel(s, {}, 1920, 1080, 2.0, false); }
void BM_WheelZoom_Traffic_3840x2160(benchmark::State& s) { run_wheel(s, {"--traffic"}, 1920, 1080, 2.0, false); }
// Each zoom frame followed by the frame that takes its sharp picture: the time to a sharp map.
void BM_WheelZoomSharp_Traffic_1280x800(benchmark::State& s) { run_wheel(s, {"--traffic"}, 1280, 800, 1.0, true); }
void BM_WheelZoomSharp_Traffic_3840x2160(benchmark::State& s) { run_wheel(s, {"--traffic"}, 1920, 1080, 2.0, true); }

// Pan frames at 3840 x 2160 (1920 x 1080 at scale 2), plain and with traffic.
void run_pan(benchmark::State& bs, std::vector<std::string> flags, int w, int h, double scale) {
  auto app = maps::app_from_launch_args(zarn_ui::launch::LaunchArgs::from_flags(std::move(flags)));
  FrameRig rig(w, h, scale);
  rig.frame(*app);
  int n = 0;
  for (auto _ : bs) {
    maps::pan_map(app->session(), (n / 20) % 2 == 0 ? 6.0 : -6.0, 0.0);
    ++n;
    rig.frame(*app);
  }
}
void BM_Pan_Plain_3840x2160(benchmark::State& s) { run_pan(s, {}, 1920, 1080, 2.0); }
void BM_Pan_Traffic_3840x2160(benchmark::State& s) { run_pan(s, {"--traffic"}, 1920, 1080, 2.0); }
void BM_TrafficFrame_PictureMoved_3840x2160(benchmark::State& s) { run_drag(s, Drag::Cached, 257, 1, 1920, 1080, 2.0); }

void BM_SampleFrame_1280x800(benchmark::State& s) { run_frames(s, {}, 1280, 800, 1.0); }
void BM_SampleFrame_2560x1600(benchmark::State& s) { run_frames(s, {}, 1280, 800, 2.0); }
void BM_TrafficFrame_1280x800(benchmark::State& s) { run_frames(s, {"--traffic"}, 1280, 800, 1.0); }
void BM_TrafficFrame_2560x1600(benchmark::State& s) { run_frames(s, {"--traffic"}, 1280, 800, 2.0); }
void BM_EmptyFrame_1280x800(benchmark::State& s) { run_frames(s, {"--empty"}, 1280, 800, 1.0); }

// From nothing to the first painted frame of the sample state: construction (the demonstration
// city is generated), the first tick, layout, paint and replay.
void BM_StartupToFirstFrame(benchmark::State& s) {
  for (auto _ : s) {
    auto app = maps::new_sample_app();
    FrameRig rig(1280, 800, 1.0);
    rig.frame(*app);
    benchmark::DoNotOptimize(app.get());
  }
}

}  // namespace

BENCHMARK(BM_SampleFrame_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SampleFrame_2560x1600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficFrame_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficFrame_2560x1600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmptyFrame_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficDrag_Cached_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficDrag_Direct_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficDrag_Cached_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficDrag_Direct_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficDrag_Cached_2560x1600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficDrag_Direct_2560x1600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficDragFast_Cached_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficDragFast_Direct_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficFrame_PictureMoved_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficFrame_NewPicture_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficFrame_PictureMoved_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficFrame_NewPicture_1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrafficFrame_PictureMoved_3840x2160)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WheelZoom_Traffic_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WheelZoom_Plain_3840x2160)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WheelZoom_Traffic_3840x2160)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WheelZoomSharp_Traffic_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WheelZoomSharp_Traffic_3840x2160)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pan_Plain_3840x2160)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pan_Traffic_3840x2160)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlacesFrame_8_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlacesFrame_10000OverTheRegion_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlacesFrame_10000AroundTheCentre_1280x800)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Hydration_10000Places_Unmoved)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Hydration_10000Places_FullRead)->Unit(benchmark::kMicrosecond);
