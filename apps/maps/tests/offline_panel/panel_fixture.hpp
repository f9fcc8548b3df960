#pragma once
// A state for the offline panel's tests: a clock the test steps by hand, an in-memory document,
// a tile store in a temporary folder (or none), frames painted with the fixed-advance text
// renderer, and events in logical pixels.

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "app/construct.hpp"
#include "app/maps_app.hpp"
#include "app/offline_panel_view.hpp"
#include "net/recording_job_spawner.hpp"
#include "sample/sample_data.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/theme.hpp"

namespace maps::testing {

using namespace std::chrono_literals;
using zarn_ui::widget::Event;

inline Event key_text(std::string t) { return zarn_ui::widget::Key{std::move(t), true}; }
inline Event named(zarn_ui::widget::NamedKey k) { return zarn_ui::widget::Key{k, true}; }
inline Event moved(double x, double y) { return zarn_ui::widget::PointerMoved{{x, y}}; }
inline Event press(bool down = true) {
  return zarn_ui::widget::MouseButtonEvent{zarn_ui::widget::MouseButton::Primary, down};
}

struct PanelFixture {
  std::unique_ptr<MapsApp> app;
  RecordingJobSpawner* jobs = nullptr;
  zarn_ui::state::State state;
  base::MonoTime clock = base::MonoTime{} + 1000s;
  zarn_ui::theme::Theme theme = zarn_ui::theme::Theme::light();
  std::size_t images_drawn = 0;  // image fills of the last frame (raster tiles)

  explicit PanelFixture(std::unique_ptr<MapsApp> built) : app(std::move(built)) {
    auto recording = std::make_unique<RecordingJobSpawner>();
    jobs = recording.get();
    app->backend.job_spawner = std::move(recording);
    app->backend.now = [this] { return clock; };
    app->bounds_rect = {0, 0, 1280, 800};
    app->tick(state);  // seeds the document with the model
  }
  PanelFixture() : PanelFixture(new_sample_app()) {}
  // The sample data in a live state (its jobs are recorded, not run) with no tiles at all.
  static std::unique_ptr<MapsApp> live_sample() {
    return build_maps_app(sample_map_model(), VectorMap{}, new_memory_tile_store(), true, true);
  }

  OfflinePanel& panel() { return app->offline_panel; }
  void tick_once() { app->tick(state); }
  // Paints one frame with `text`.
  zarn_ui::Scene paint_scene(zarn_ui::text_render::TextRenderer text) {
    const auto presence = zarn_ui::presence::PresenceCtx::empty();
    const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
    const zarn_ui::widget::PaintCtx ctx{text, theme, presence, permissions};
    zarn_ui::Scene scene;
    app->draw(scene, zarn_ui::Affine::identity(), ctx);
    return scene;
  }
  // Paints one frame; returns its texts in drawing order.
  std::vector<std::string> paint() {
    const zarn_ui::Scene scene = paint_scene(zarn_ui::text_render::TextRenderer::fixed(7));
    std::vector<std::string> texts;
    images_drawn = 0;
    for (const auto& it : scene.items()) {
      if (const auto* run = std::get_if<zarn_ui::scene::TextRun>(&it)) texts.push_back(run->text);
      images_drawn += std::holds_alternative<zarn_ui::scene::DrawImage>(it) ? 1 : 0;
    }
    return texts;
  }
  // One event through the window's input handling.
  bool event(const Event& e) {
    bool handled = false;
    app->handle_event(e, 0, state, handled, 1.0);
    return handled;
  }
  // Each character as a key of its own (whole UTF-8 sequences).
  void type(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
      std::size_t n = 1;
      while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
      event(key_text(text.substr(i, n)));
      i += n;
    }
  }
  // A press and release at a logical point.
  void click(zarn_ui::Point p) {
    event(moved(p.x, p.y));
    event(press(true));
    event(press(false));
  }
  // The centre of the first press area whose command is `command`, as last painted.
  std::optional<zarn_ui::Point> hit_centre(const OfflineCommand& command) {
    for (const OfflineHit& h : panel().hits()) {
      if (h.command == command) return h.rect.center();
    }
    return std::nullopt;
  }
};

inline bool contains_text(const std::vector<std::string>& texts, const std::string& want) {
  for (const std::string& t : texts) {
    if (t.find(want) != std::string::npos) return true;
  }
  return false;
}

}  // namespace maps::testing
