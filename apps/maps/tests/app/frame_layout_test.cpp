// Every demonstration state at every window size from 1280 x 800 down to 320 x 600, in the light,
// dark and high-contrast themes, read back from its frame (the real text renderer, as a shot
// paints it): no card lies over another card or over something pressable unless it is meant to
// cover it (scrims, menus, dialogs, drop-down lists), every text stays in its card and its clip
// and off other controls, every text stands out at least 4.5 : 1 from what is under it, and no
// two map labels overlap.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/map_layers_view.hpp"
#include "app/shot.hpp"
#include "app/startup.hpp"
#include "frame_audit.hpp"
#include "map_layers/map_credit.hpp"
#include "navigation/navigation_steps.hpp"
#include "overlay/map_controls.hpp"
#include "sample/sample_data.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

using namespace frame_audit;
using zarn_ui::theme::Theme;

struct State {
  const char* name;
  std::vector<std::string> flags;
  std::function<void(MapsApp&)> change;  // texts longer than the sample's, where the state needs one
};

// Names, addresses and searches longer than any line has room for.
void long_texts(MapsApp& app) {
  const std::string name = "Staatliches Museum \u00c4gyptischer Kunst und Gesellschaft der Freunde des Hauses e.V.";
  for (Poi& p : app.backend.view_pois.pois) p.name = name + " " + p.name;
  if (!app.model.recents.empty()) app.model.recents.front() = std::string(10000, 'w');
  app.model.dest_name = name;
  for (Place& p : app.model.places) p.address = name;
}

const std::vector<State>& states() {
  static const std::vector<State> kStates = {
      {"sample", {}, {}},
      {"empty", {"--empty"}, {}},
      {"traffic", {"--traffic"}, {}},
      {"search", {"--search"}, {}},
      {"menu", {"--menu"}, {}},
      {"offline", {"--offline"}, {}},
      {"attribution", {"--attribution"}, {}},
      {"error", {"--error"}, {}},
      {"edit-from", {"--edit-from"}, {}},
      {"pois", {"--pois"}, {}},
      {"pois, long texts", {"--pois"}, long_texts},
      {"pois and traffic", {"--pois", "--traffic"}, {}},
      {"empty pois", {"--empty", "--pois"}, {}},
      {"transit arrive", {"--transit-arrive"}, {}},
      {"nav closed", {"--nav-closed"}, {}},
      {"nav closed, pois, traffic", {"--nav-closed", "--pois", "--traffic"}, {}},
      {"explore", {"--panel", "explore"}, {}},
      {"explore, long texts", {"--panel", "explore"}, long_texts},
      {"transit", {"--panel", "transit"}, {}},
      {"transit, long texts", {"--panel", "transit"}, long_texts},
      {"directions", {"--panel", "directions"}, {}},
      {"directions and traffic", {"--panel", "directions", "--traffic"}, {}},
      {"pois over a route", {"--pois", "--traffic"}, [](MapsApp& app) { app.model.route = sample_route_steps(); }},
      {"collapsed panel, traffic, error", {"--traffic", "--error"}, [](MapsApp& app) { app.panel.collapsed = true; }},
      {"floating navigation attached", {"--floating-navigation-attached"}, {}},
      {"floating navigation returning", {"--floating-navigation-returning"}, {}},
  };
  return kStates;
}

struct Size {
  double w, h;
};
constexpr Size kSizes[] = {{1280, 800}, {800, 600}, {600, 800}, {400, 700}, {320, 600}};

struct Painted {
  std::unique_ptr<MapsApp> app;
  zarn_ui::Scene scene;
  std::size_t chrome_from = 0;
};

Painted paint(const State& s, Size size, const Theme& theme, zarn_ui::text_render::TextRenderer& text) {
  std::vector<std::string> argv = s.flags;
  auto args = zarn_ui::launch::LaunchArgs::parse(argv, launch_flags(), {kPanelOption});
  EXPECT_TRUE(args.is_ok());
  Painted p{app_from_launch_args(*args), {}, 0};
  MapsApp& app = *p.app;
  app.map_layers.set_caching(false);
  zarn_ui::state::State state;
  app.tick(state);
  if (s.change) s.change(app);
  app.bounds_rect = {0, 0, size.w, size.h};
  app.drawn_bounds = app.bounds_rect;
  if (const auto mode = floating_navigation_mode(*args)) stage_floating_navigation(app, *mode);
  const auto presence = zarn_ui::presence::PresenceCtx::empty();
  const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
  // The map layers alone first: the frame's items before their count are the map's.
  zarn_ui::Scene map_only;
  paint_map_layers(app.map_layers, map_layer_inputs(app), map_only, zarn_ui::Affine::identity(), text, theme, 1.0);
  p.chrome_from = map_only.size();
  app.draw(p.scene, zarn_ui::Affine::identity(), {text, theme, presence, permissions});
  return p;
}

std::string message_name(const UiMessage& m) {
  static constexpr const char* kNames[] = {"Noop",
                                           "SearchBox",
                                           "TogglePanelCollapsed",
                                           "BackToPlaces",
                                           "ChooseTravelMode",
                                           "OpenPlace",
                                           "OpenPoi",
                                           "ClosePoi",
                                           "DirectionsToPoi",
                                           "SearchAgain",
                                           "ClearRecents",
                                           "ToggleNavigation",
                                           "CloseNavigation",
                                           "Directions",
                                           "TransitDirections",
                                           "ToggleSaved",
                                           "ClearRoute",
                                           "UseMyLocation",
                                           "SetTransitTimeMode",
                                           "ShiftTransitTime",
                                           "LeaveNow",
                                           "ChooseJourney",
                                           "ToggleOverflowMenu",
                                           "OpenAttribution",
                                           "OpenLicenses",
                                           "OpenOfflineMaps",
                                           "FloatNavigation"};
  return m.kind() < std::size(kNames) ? kNames[m.kind()] : "message";
}

Frame frame_of(const Painted& p, const Theme& theme, const zarn_ui::text_render::TextRenderer& text) {
  const MapsApp& app = *p.app;
  Frame f{p.scene, p.chrome_from, cards(p.scene, p.chrome_from), {}, theme.background};
  const Rect& b = app.bounds_rect;
  const auto& items = p.scene.items();
  std::optional<std::size_t> modal_from;
  for (std::size_t i = p.chrome_from; i < items.size(); ++i) {
    const auto* fill = std::get_if<zarn_ui::scene::Fill>(&items[i]);
    if (!fill) continue;
    // Scrims over the whole window; the offline panel's and the dialog's start what is modal.
    if (const auto* r = std::get_if<Rect>(&fill->shape); r && *r == b && fill->color.a > 0.3f) {
      f.surfaces.push_back({b, i, true, "scrim"});
      if (fill->color.a < 0.5f - 1e-3f || fill->color.a > 0.5f + 1e-3f) modal_from = modal_from.value_or(i);
    }
    if (const auto* rr = std::get_if<zarn_ui::RoundedRect>(&fill->shape);
        rr && fill->color == theme.background.multiply_alpha(0.7f)) {
      f.surfaces.push_back({rr->rect, i, false, "scale bar"});
    }
  }
  // The navigation panel's body is the framework's soft outline, not a card.
  if (navigation_in_window(app)) {
    for (std::size_t i = p.chrome_from; i < items.size(); ++i) {
      const auto* run = std::get_if<zarn_ui::scene::TextRun>(&items[i]);
      if (run && run->text.starts_with("Navigation")) {
        f.surfaces.push_back({app.navigation.panel_rect(b), i > 3 ? i - 3 : i, false, "navigation panel"});
        break;
      }
    }
  }
  std::optional<std::size_t> more_at;
  for (Surface& s : f.surfaces) {
    if (s.rect == more_button_rect(b)) {
      s.what = "\"More\"";
      more_at = s.z;
    }
  }
  // Drop-down lists, menus and dialogs are meant to cover; so is all that is modal, over what
  // lies under it.
  const auto dropdown = [&](const Rect& r) {
    for (const HitTarget& t : app.hit_targets) {
      const auto* sb = std::get_if<msg::SearchBox>(&t.message.value);
      if (sb && std::holds_alternative<SearchBoxEvent::Other>(sb->event.value) && t.rect == r) return true;
    }
    for (const EndpointHit& h : app.endpoint_editor.hits()) {
      if (h.kind == EndpointHitKind::SuggestionCard && h.rect == r) return true;
    }
    const auto area = app.offline_panel.area_input().dropdown_rect();
    return area && inside(*area, r.inflate(2, 2)) && inside(r, area->inflate(2, 2));
  };
  for (Surface& s : f.surfaces) {
    if (dropdown(s.rect) || (more_at && s.z > *more_at)) s.cover = true;
    if (modal_from && s.z > *modal_from && !(more_at && s.z == *more_at)) s.cover = true;
  }
  for (const HitTarget& t : app.hit_targets) {
    // Cards take presses on their empty parts only so that the map under them does not.
    const bool absorber =
        std::holds_alternative<msg::Noop>(t.message.value) ||
        std::holds_alternative<msg::CloseNavigation>(t.message.value) ||
        (std::holds_alternative<msg::SearchBox>(t.message.value) &&
         std::holds_alternative<SearchBoxEvent::Other>(std::get<msg::SearchBox>(t.message.value).event.value));
    if (absorber || t.rect.area() <= 0) continue;
    if (std::holds_alternative<msg::OpenAttribution>(t.message.value)) {
      f.surfaces.push_back({t.rect, p.chrome_from, false, "the map's credit"});
    }
    f.presses.push_back({t.rect, message_name(t.message)});
  }
  for (const EndpointHit& h : app.endpoint_editor.hits()) {
    if (h.kind != EndpointHitKind::SuggestionCard && h.rect.area() > 0) f.presses.push_back({h.rect, "endpoint field"});
  }
  if (map_controls_shown(b, app.panel.expanded)) {
    for (const Rect& r : control_button_rects(b)) f.presses.push_back({r, "map control"});
  }
  (void)text;
  return f;
}

TEST(FrameLayout, NothingCoversAnythingAndEveryTextFitsAndReads) {
  auto text = zarn_ui::text_render::TextRenderer::create();
  const std::pair<const char*, Theme> themes[] = {
      {"light", Theme::light()}, {"dark", Theme::dark()}, {"high contrast", Theme::high_contrast()}};
  std::vector<std::string> faults;
  for (const State& s : states()) {
    for (const Size& size : kSizes) {
      for (const auto& [theme_name, theme] : themes) {
        const Painted p = paint(s, size, theme, text);
        const Frame f = frame_of(p, theme, text);
        const std::string where = fmt::format("{} at {:.0f}x{:.0f} in {}: ", s.name, size.w, size.h, theme_name);
        for (const auto& list : {covered(f), overflowing(f, text), faint(f, text),
                                 crowded_labels(f, theme.background.multiply_alpha(0.74f))}) {
          for (const std::string& fault : list) faults.push_back(where + fault);
        }
      }
    }
  }
  std::string report;
  for (std::size_t i = 0; i < faults.size() && i < 60; ++i) report += faults[i] + "\n";
  if (const char* all = std::getenv("MAPS_FRAME_AUDIT_ALL"); all && *all) {
    for (const std::string& fault : faults) std::fprintf(stderr, "%s\n", fault.c_str());
  }
  EXPECT_TRUE(faults.empty()) << faults.size() << " faults, the first ones:\n" << report;
}

}  // namespace
}  // namespace maps
