#include <gtest/gtest.h>

#include "app/construct.hpp"
#include "app/navigation_view.hpp"
#include "draw_kit/text_field.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

TEST(FramePredicates, FreshStateHasWorkButNeedsNoFrame) {
  auto app = new_empty_app();
  EXPECT_TRUE(app->has_pending_work());  // the first tick has not run
  EXPECT_FALSE(app->needs_frame());
  zarn_ui::state::State state;
  app->tick(state);
  EXPECT_FALSE(app->has_pending_work());
  EXPECT_FALSE(app->needs_frame());
}

TEST(FramePredicates, EachReasonKeepsFramesComing) {
  struct Case {
    const char* what;
    void (*arm)(MapsApp&);
    bool work;
    bool frame;
  } cases[] = {
      {"pending job", [](MapsApp& a) { a.backend.pending_jobs = 1; }, true, true},
      {"location", [](MapsApp& a) { a.backend.location.pending = true; }, true, true},
      {"view idle", [](MapsApp& a) { a.backend.view_pois.idle_deadline = a.backend.now(); }, true, true},
      {"search open", [](MapsApp& a) { a.search_box.open(); }, false, true},
      {"search deadline", [](MapsApp& a) { a.search_box.arm_deadline(a.backend.now()); }, false, true},
      {"endpoint field", [](MapsApp& a) { a.endpoint_editor.begin_endpoint_edit(EndpointField::Origin); }, false, true},
      {"tile in flight",
       [](MapsApp& a) {
         a.backend.tiles.pending.insert(TileKey{3, 1, 1});
       },
       true, true},
      {"download", [](MapsApp& a) { a.backend.tiles.download_total = 4, a.backend.tiles.download_done = 1; }, true,
       true},
      {"drag",
       [](MapsApp& a) {
         a.navigation.set_control_rects({0, 0, 10, 10}, {});
         a.navigation.begin_drag(a.bounds_rect, {5, 5});
       },
       false, true},
      {"area deadline only", [](MapsApp& a) { a.offline_panel.arm_deadline(a.backend.now()); }, false, false},
  };
  for (const auto& c : cases) {
    auto app = new_empty_app();
    app->commits.doc_initialised = true;
    c.arm(*app);
    EXPECT_EQ(app->has_pending_work(), c.work) << c.what;
    EXPECT_EQ(app->needs_frame(), c.frame) << c.what;
  }
}

TEST(FramePredicates, ReducedMotionStopsTheHandOffAnimationFrames) {
  auto app = new_empty_app();
  stage_floating_navigation(*app, "attached");
  EXPECT_TRUE(app->needs_frame());
  app->set_reduce_motion(true);
  EXPECT_FALSE(app->needs_frame());
}

TEST(FramePredicates, TooltipOnItsWayKeepsFrames) {
  auto app = new_empty_app();
  const auto now = zarn_ui::widgets::TooltipHost::Clock::now();
  app->overlay.point_tooltip(zarn_ui::widgets::TooltipTarget{{0, 0, 10, 10}, "Zoom in"}, now);
  EXPECT_TRUE(app->needs_frame());
  app->overlay.tick_tooltips(now + std::chrono::seconds(1));
  EXPECT_FALSE(app->needs_frame());  // shown: nothing more to bring up
}

// How long the window loop may sleep: answers wake it through the channels, so only timers and
// the moving panel set a deadline; without a waker, pending work keeps the frames coming.
TEST(NextDeadline, TimersAndMotionSetItAnswersDoNot) {
  using std::chrono::milliseconds;
  const base::MonoTime t0 = base::MonoClock::now();
  struct Case {
    const char* what;
    void (*arm)(MapsApp&, base::MonoTime);
    bool waker;
    std::optional<milliseconds> expected;
  } cases[] = {
      {"nothing", [](MapsApp&, base::MonoTime) {}, true, std::nullopt},
      {"first tick to come", [](MapsApp& a, base::MonoTime) { a.commits.doc_initialised = false; }, true,
       milliseconds{0}},
      {"job that never answers", [](MapsApp& a, base::MonoTime) { a.backend.pending_jobs = 1; }, true, std::nullopt},
      {"job without a waker", [](MapsApp& a, base::MonoTime) { a.backend.pending_jobs = 1; }, false, milliseconds{0}},
      {"tile in flight",
       [](MapsApp& a, base::MonoTime) {
         a.backend.tiles.pending.insert(TileKey{3, 1, 1});
       },
       true, std::nullopt},
      {"location", [](MapsApp& a, base::MonoTime) { a.backend.location.pending = true; }, true, std::nullopt},
      {"search open", [](MapsApp& a, base::MonoTime) { a.search_box.open(); }, true, std::nullopt},
      {"typing pause", [](MapsApp& a, base::MonoTime t) { a.search_box.arm_deadline(t + kTypingPause); }, true,
       milliseconds{280}},
      {"part of a millisecond rounds up",
       [](MapsApp& a, base::MonoTime t) { a.endpoint_editor.arm_deadline(t + std::chrono::microseconds(1500)); }, true,
       milliseconds{2}},
      {"view idle passed",
       [](MapsApp& a, base::MonoTime t) { a.backend.view_pois.idle_deadline = t - milliseconds{5}; }, true,
       milliseconds{0}},
      {"the soonest timer",
       [](MapsApp& a, base::MonoTime t) {
         a.search_box.arm_deadline(t + kTypingPause);
         a.offline_panel.arm_deadline(t + milliseconds{100});
         a.backend.view_pois.idle_deadline = t + milliseconds{900};
       },
       true, milliseconds{100}},
      {"tooltip on its way",
       [](MapsApp& a, base::MonoTime t) {
         a.overlay.point_tooltip(zarn_ui::widgets::TooltipTarget{{0, 0, 10, 10}, "Zoom in"}, t - milliseconds{200});
       },
       true, milliseconds{300}},
      {"drag",
       [](MapsApp& a, base::MonoTime) {
         a.navigation.set_control_rects({0, 0, 10, 10}, {});
         a.navigation.begin_drag(a.bounds_rect, {5, 5});
       },
       true, milliseconds{0}},
      {"hand-off animation", [](MapsApp& a, base::MonoTime) { stage_floating_navigation(a, "attached"); }, true,
       milliseconds{0}},
  };
  for (const auto& c : cases) {
    auto app = new_empty_app();
    app->commits.doc_initialised = true;
    app->backend.now = [t0] { return t0; };
    if (c.waker) app->set_waker([] {});
    c.arm(*app, t0);
    EXPECT_EQ(app->next_deadline(), c.expected) << c.what;
  }
}

// The waker goes to the worker-result channel, the tile worker's and a location request's.
TEST(NextDeadline, TheWakerReachesEveryChannelTheTickDrains) {
  auto app = new_empty_app();
  zarn_ui::state::State state;
  app->tick(state);
  int wakes = 0;
  app->set_waker([&] { ++wakes; });
  app->backend.result_sender.send(worker::Pois{std::vector<Poi>{}, 0});
  EXPECT_EQ(wakes, 1);

  auto [tx, rx] = base::channel<LocationOutcome>();
  app->backend.location.receiver = std::move(rx);
  app->backend.location.pending = true;
  app->tick(state);  // the tick hands the new request the waker
  EXPECT_EQ(wakes, 1);
  tx.send(LocationOutcome(LocationFix{48.1, 11.5, 10}));
  EXPECT_EQ(wakes, 2);

  auto [tile_tx, tile_rx] = base::channel<TileResult>();
  app->backend.tiles.result = std::move(tile_rx);
  set_tile_waker(app->backend.tiles, app->backend.waker);
  { auto gone = std::move(tile_tx); }  // a worker that ends wakes the loop as well
  EXPECT_EQ(wakes, 3);
}

TEST(WidgetOps, IdentityAndActionNames) {
  auto app = new_sample_app();
  EXPECT_EQ(app->type_name(), "MapsApp");
  EXPECT_EQ(app->widget_id(), "maps_app");
  EXPECT_EQ(app->action_names(),
            (std::vector<std::string>{"maps.locate", "maps.search", "maps.toggle-traffic", "maps.open-place",
                                      "maps.directions", "maps.open-poi", "maps.directions-poi"}));
  EXPECT_FALSE(app->modal_rect().has_value());
  EXPECT_FALSE(app->has_pointer_capture());
  EXPECT_EQ(app->floating_surface_host(), static_cast<zarn_ui::widget::FloatingSurfaceHost*>(app.get()));
}

}  // namespace
}  // namespace maps

namespace maps {
namespace {

TEST(DrawHits, EveryHitListIsEmptiedAtTheStartOfDraw) {
  auto app = new_sample_app();
  app->bounds_rect = {0, 0, 1280, 800};
  app->hit_targets.push_back({{0, 0, 10, 10}, UiMessage{msg::Noop{}}});
  app->endpoint_editor.add_hit({});
  app->offline_panel.add_hit({});
  zarn_ui::Scene scene;
  auto text = zarn_ui::text_render::TextRenderer::fixed(7.0);
  const auto theme = zarn_ui::theme::Theme::light();
  const auto presence = zarn_ui::presence::PresenceCtx::empty();
  const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
  app->draw(scene, zarn_ui::Affine::identity(), {text, theme, presence, permissions});
  // What this frame painted is recorded again; what it did not paint is gone.
  for (const auto& h : app->endpoint_editor.hits()) EXPECT_NE(h, EndpointHit{});
  EXPECT_TRUE(app->offline_panel.hits().empty());
  for (const auto& h : app->hit_targets) EXPECT_NE(h.rect, (Rect{0, 0, 10, 10}));
  EXPECT_EQ(app->drawn_bounds, app->bounds_rect);
}

}  // namespace
}  // namespace maps

namespace maps {
namespace {

TEST(WidgetOps, ModalRectIsTheOfflinePanelsScrimOnceItIsPainted) {
  auto app = new_sample_app();
  const OfflineHit scrim{{0, 0, 1280, 800}, OfflineCommand{OfflineCommand::Close{}}};
  const OfflineHit close_button{{900, 90, 930, 120}, OfflineCommand{OfflineCommand::Close{}}};
  app->offline_panel.add_hit(scrim);
  EXPECT_FALSE(app->modal_rect().has_value());  // closed: its areas make no modal area
  app->offline_panel.clear_hits();
  app->offline_panel.begin_area_search(0);
  EXPECT_FALSE(app->modal_rect().has_value());  // open, nothing painted yet
  app->offline_panel.add_hit(scrim);
  app->offline_panel.add_hit(close_button);
  EXPECT_EQ(app->modal_rect(), std::optional<Rect>(scrim.rect));
  app->offline_panel.end_area_search();
  EXPECT_FALSE(app->modal_rect().has_value());
}

}  // namespace
}  // namespace maps

namespace maps {
namespace {

base::MonoTime g_now = base::MonoTime{} + std::chrono::hours(1);
base::MonoTime fake_now() { return g_now; }

TEST(FramePredicates, ARestingPointerStopsAskingForFramesOnceTheTooltipIsUp) {
  auto app = new_sample_app();
  app->backend.now = &fake_now;
  app->bounds_rect = {0, 0, 1280, 800};
  zarn_ui::state::State state;
  app->tick(state);
  app->overlay.point_tooltip(zarn_ui::widgets::TooltipTarget{{1224, 16, 1264, 56}, "Zoom in"}, g_now);
  ASSERT_TRUE(app->needs_frame());
  auto text = zarn_ui::text_render::TextRenderer::fixed(7.0);
  const auto theme = zarn_ui::theme::Theme::light();
  const auto presence = zarn_ui::presence::PresenceCtx::empty();
  const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
  g_now += std::chrono::seconds(1);
  zarn_ui::Scene scene;
  app->draw(scene, zarn_ui::Affine::identity(), {text, theme, presence, permissions});
  EXPECT_TRUE(app->overlay.tooltips().shown());
  EXPECT_FALSE(app->needs_frame());
}

}  // namespace
}  // namespace maps
