#pragma once
// A non-live state laid out at a fixed size, with a clock the test steps by hand and a commit that
// only records, for the message, view and input tests.

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/construct.hpp"
#include "app/maps_app.hpp"
#include "tiles/tile_store.hpp"
#include "zarn_ui/clipboard.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/theme.hpp"

namespace maps::input_testing {

using namespace std::chrono_literals;
namespace ev = zarn_ui::widget;

struct AppFixture {
  std::unique_ptr<MapsApp> app;
  zarn_ui::state::State state;
  std::vector<MapsAction> commits;
  base::MonoTime clock = base::MonoTime{} + 1000s;
  zarn_ui::clipboard::MemoryClipboard clipboard;

  explicit AppFixture(MapModel model = default_map_model(), Rect bounds = {0, 0, 1280, 800},
                      VectorMap city = VectorMap{}) {
    app = build_maps_app(std::move(model), std::move(city),
                         new_offline_tile_store(std::filesystem::temp_directory_path() / "maps-input-test-none"), true,
                         false);
    app->backend.now = [this] { return clock; };
    app->bounds_rect = bounds;
    app->drawn_bounds = bounds;
    app->commits.override = [this](zarn_ui::state::State&, MapsAction a) { commits.push_back(std::move(a)); };
    app->clipboard = &clipboard;
  }
  AppFixture(const AppFixture&) = delete;
  AppFixture& operator=(const AppFixture&) = delete;

  MapModel& model() { return app->model; }
  base::MonoTime now() const { return clock; }
  void advance(std::chrono::milliseconds by) { clock += by; }

  bool send(const ev::Event& e, std::uint32_t modifiers = 0, double scale = 1.0) {
    bool handled = false;
    app->handle_event(e, modifiers, state, handled, scale);
    return handled;
  }
  bool text(const std::string& t, std::uint32_t modifiers = 0) { return send(ev::Key{t, true}, modifiers); }
  bool key(ev::NamedKey k) { return send(ev::Key{k, true}); }
  bool move(double x, double y) { return send(ev::PointerMoved{{x, y}}); }
  bool press(ev::MouseButton b = ev::MouseButton::Primary) { return send(ev::MouseButtonEvent{b, true}); }
  bool release(ev::MouseButton b = ev::MouseButton::Primary) { return send(ev::MouseButtonEvent{b, false}); }
  // One frame on the recording scene with a fixed-advance text renderer; the hit lists are then
  // those of this frame.
  zarn_ui::Scene draw(const zarn_ui::theme::Theme& theme = zarn_ui::theme::Theme::light()) {
    auto text = zarn_ui::text_render::TextRenderer::fixed(7.0);
    const auto presence = zarn_ui::presence::PresenceCtx::empty();
    const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
    zarn_ui::Scene scene;
    app->draw(scene, zarn_ui::Affine::identity(), {text, theme, presence, permissions});
    return scene;
  }
  bool click(double x, double y) {
    move(x, y);
    const bool handled = press();
    release();
    return handled;
  }
};

}  // namespace maps::input_testing
