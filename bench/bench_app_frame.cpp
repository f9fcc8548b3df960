// One whole frame of the app as the window loop runs it (tick, layout, paint, Cairo replay), and
// the start-up to the first painted frame.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include "app/construct.hpp"
#include "app/startup.hpp"
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
  cairo_surface_t* surface = nullptr;
  int width, height;
  double scale;

  FrameRig(int w, int h, double s) : width(w), height(h), scale(s) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(w * s), static_cast<int>(h * s));
  }
  ~FrameRig() { cairo_surface_destroy(surface); }

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
    app.paint(scene, zarn_ui::Affine::identity(), {text, theme, presence, permissions});
    (void)zarn_ui::render::replay_to_surface(surface, scene, scale, &text);
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
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond);
