// The overlay's groups on the recording scene: what each draws, where, in which order, and the
// press areas it leaves for the input handling.

#include <gtest/gtest.h>

#include "app_input_fixture.hpp"
#include "draw_kit/palette.hpp"
#include "model/place_ops.hpp"
#include "overlay/map_controls.hpp"
#include "overlay_frame.hpp"
#include "sample/sample_data.hpp"
#include "sample/synthetic_traffic.hpp"
#include "transitions/traffic.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;
using overlay_testing::Painter;
using overlay_testing::text_origin;
using zarn_ui::RoundedRect;
using zarn_ui::theme::Theme;
namespace ev = zarn_ui::widget;
using namespace std::chrono_literals;

TEST(Overlay, GroupsAreDrawnBottomToTopAndMoreIsTheLastPressArea) {
  AppFixture f;
  f.model().route = sample_route_steps();
  f.app->overflow_menu.toggle(f.app->bounds_rect);
  f.app->dialog.open_attribution_dialog(false);
  Painter painter;
  const auto p = painter.window(*f.app);
  const long zoom_in = p.index_of_text("+");
  const long navigation = p.index_of_text("Navigation");
  const long menu = p.index_of_text("Offline maps");
  const long dialog = p.index_of_text("Close");
  ASSERT_GE(zoom_in, 0);
  EXPECT_LT(zoom_in, navigation);
  EXPECT_LT(navigation, menu);
  EXPECT_LT(menu, dialog);
  ASSERT_FALSE(f.app->hit_targets.empty());
  EXPECT_EQ(f.app->hit_targets.back(),
            (HitTarget{more_button_rect(f.app->bounds_rect), UiMessage{msg::ToggleOverflowMenu{}}}));
}

TEST(Overlay, ControlsShowHoverAndTheTrafficSwitch) {
  AppFixture f;
  Painter painter;
  const Theme& theme = painter.theme;
  const auto rects = control_button_rects(f.app->bounds_rect);
  f.move(rect_center(rects[2]).x, rect_center(rects[2]).y);
  auto p = painter.window(*f.app);
  EXPECT_EQ(p.fill_of(RoundedRect::make(rects[2], 10.0))->color, theme.hover);
  EXPECT_EQ(p.fill_of(RoundedRect::make(rects[3], 10.0))->color, theme.surface);
  EXPECT_EQ(p.stroke_of(RoundedRect::make(rects[3], 10.0))->color, theme.border);
  const Point c = rect_center(rects[3]);
  EXPECT_EQ(p.fill_of(zarn_ui::Circle{{c.x, c.y - 8.0}, 3.2})->color, mix_color(theme.danger, theme.surface, 0.55f));

  f.app->backend.traffic.enabled = true;
  f.move(rect_center(rects[3]).x, rect_center(rects[3]).y);
  p = painter.window(*f.app);
  EXPECT_EQ(p.fill_of(RoundedRect::make(rects[2], 10.0))->color, theme.surface);
  EXPECT_EQ(p.fill_of(RoundedRect::make(rects[3], 10.0))->color, theme.hover);
  EXPECT_EQ(p.stroke_of(RoundedRect::make(rects[3], 10.0))->color, theme.accent);
  EXPECT_EQ(p.fill_of(zarn_ui::Circle{{c.x, c.y - 8.0}, 3.2})->color, theme.danger);
  EXPECT_EQ(p.fill_of(zarn_ui::Circle{{c.x, c.y + 8.0}, 3.2})->color, theme.success);
}

TEST(Overlay, TrafficLegendTable) {
  const auto segments = [] {
    auto app = new_sample_app();
    return synthetic_traffic(app->vector_map).segments;
  }();
  struct Case {
    const char* name;
    double width;
    bool expanded, collapsed, with_segments;
    std::optional<std::string> source;
    bool legend, pill;
    double left;
  } cases[] = {
      {"no street network", 1280, true, false, false, std::nullopt, false, true, 410},
      {"segments, no source", 1280, true, false, true, std::nullopt, true, false, 410},
      {"segments with source", 1280, true, false, true, "sample data", true, false, 410},
      {"wide, panel collapsed", 1280, true, true, true, std::nullopt, true, false, 16},
      {"narrow, panel closed", 600, false, false, true, std::nullopt, true, false, 16},
      {"narrow, panel open", 600, true, false, true, std::nullopt, false, false, 0},
  };
  for (const auto& c : cases) {
    AppFixture f(default_map_model(), {0, 0, c.width, 800});
    f.app->backend.traffic.enabled = true;
    f.app->panel.expanded = c.expanded;
    f.app->panel.collapsed = c.collapsed;
    if (c.with_segments) f.app->backend.traffic.segments = segments;
    f.app->backend.traffic.source = c.source;
    Painter painter;
    const auto p = painter.window(*f.app);
    EXPECT_EQ(p.has_text("Traffic"), c.legend) << c.name;
    EXPECT_EQ(p.has_text("No traffic data"), c.pill) << c.name;
    EXPECT_EQ(p.has_text("· sample data"), c.source.has_value() && c.legend) << c.name;
    if (c.legend) {
      EXPECT_EQ(text_origin(*p.run("Traffic")), (Point{c.left + 12, 800 - 134 + 12})) << c.name;
      const auto counts = traffic_level_counts(segments);
      const auto heavy = p.run(std::to_string(counts[2]));
      ASSERT_TRUE(heavy) << c.name;
      EXPECT_EQ(text_origin(*p.run("Heavy")), (Point{c.left + 38, 800 - 134 + 34 + 38})) << c.name;
    }
    if (c.pill) {
      EXPECT_EQ(text_origin(*p.run("No traffic data")), (Point{c.left + 27, 800 - 39.5})) << c.name;
    }
  }
}

TEST(Overlay, StatusPillShowsWorkFailuresAndNotices) {
  struct Case {
    const char* status;
    StatusKind kind;
    std::uint32_t pending;
    bool suggestions;
    bool shown;
    bool danger;
  } cases[] = {
      {"Searching…", StatusKind::InProgress, 0, false, true, false},
      {"Routing failed (offline estimate shown): timeout", StatusKind::Failure, 0, false, true, true},
      {"Location DENIED", StatusKind::Failure, 0, false, true, true},
      {"12 places nearby", StatusKind::Outcome, 0, false, false, false},
      {"12 places nearby", StatusKind::Outcome, 1, false, true, false},
      {"No results for \u201cxyzzy\u201d", StatusKind::Notice, 0, false, true, false},
      {"Searching…", StatusKind::InProgress, 1, true, false, false},
      {"", StatusKind::Outcome, 3, false, false, false},
      // The kind tells, not the words: a found place or a query may hold any of them.
      {"2 results for \u201cerror\u201d", StatusKind::Outcome, 1, false, true, false},
      {"Removed \u201cFailed Hill\u201d \u00b7 3 MB freed", StatusKind::Outcome, 0, false, false, false},
      {"No results for \u201cwait\u2026\u201d", StatusKind::Notice, 0, false, true, false},
  };
  for (const auto& c : cases) {
    AppFixture f;
    f.app->set_status(c.status, c.kind);
    f.app->backend.pending_jobs = c.pending;
    if (c.suggestions) {
      f.model().query = "Mar";
      f.app->search_box.open();
      f.app->search_box.set_search_suggestions({new_place("p", "Marienplatz", Category::Landmark, "", {48.1, 11.5})});
    }
    Painter painter;
    const auto p = painter.window(*f.app);
    const auto run = p.run(c.status);
    EXPECT_EQ(run.has_value() && c.status[0] != '\0', c.shown) << c.status;
    if (!c.shown || !run) continue;
    // Centred in the map between the side panel (ending at 400) and the controls (from 1224),
    // 10 px from each.
    const double w = painter.text.measure(c.status, 12.0f);
    const Rect pill{812 - (w + 36) / 2, 74, 812 + (w + 36) / 2, 104};
    EXPECT_EQ(text_origin(*run), (Point{pill.x0 + 28, pill.y0 + 7.5})) << c.status;
    const auto dot = p.fill_of(zarn_ui::Circle{{pill.x0 + 16, 89}, 4.0});
    ASSERT_TRUE(dot) << c.status;
    EXPECT_EQ(dot->color, c.danger ? painter.theme.danger : painter.theme.accent) << c.status;
  }
}

// The pill keeps to the map beside the side panel and left of the controls, shortened to fit on
// one line; over the narrow layout's open panel it sits in the panel's header, beside the title.
TEST(Overlay, TheStatusPillKeepsToItsAreaAndIsShortenedInsideIt) {
  const std::string status = "Search failed: cannot reach the search service";
  struct Case {
    const char* what;
    Rect bounds;
    bool expanded;
    bool collapsed;
    Rect area;  // the pill lies inside it, centred
  } cases[] = {
      {"wide", {0, 0, 1280, 800}, true, false, {410, 74, 1214, 104}},
      {"wide, panel collapsed", {0, 0, 1280, 800}, true, true, {410, 74, 1214, 104}},
      {"800 x 600", {0, 0, 800, 600}, true, false, {362, 74, 734, 104}},
      {"narrow, panel closed", {0, 0, 400, 700}, false, false, {16, 74, 334, 104}},
      // "Places" is 6 characters of 7 px at x 28.
      {"narrow, panel open", {0, 0, 400, 700}, true, false, {82, 89, 374, 119}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppFixture f(default_map_model(), c.bounds);
    f.app->set_status(status, StatusKind::Failure);
    f.app->panel.expanded = c.expanded;
    f.app->panel.collapsed = c.collapsed;
    Painter painter;
    const auto p = painter.window(*f.app);
    std::optional<zarn_ui::scene::TextRun> run;
    for (const auto& r : p.all<zarn_ui::scene::TextRun>()) {
      if (r.text.starts_with("Search failed")) run = r;
    }
    ASSERT_TRUE(run);
    const double w = painter.text.measure(run->text, 12.0f);
    if (w + 36 > c.area.width()) ADD_FAILURE() << "the text is not shortened to the area";
    if (painter.text.measure(status, 12.0f) + 36 > c.area.width()) {
      EXPECT_TRUE(run->text.ends_with("\u2026"));
    }
    const double cx = (c.area.x0 + c.area.x1) / 2;
    const Rect pill{cx - (w + 36) / 2, c.area.y0, cx + (w + 36) / 2, c.area.y1};
    EXPECT_EQ(text_origin(*run), (Point{pill.x0 + 28, pill.y0 + 7.5}));
    EXPECT_GE(pill.x0, c.area.x0);
    EXPECT_LE(pill.x1, c.area.x1);
  }
}

TEST(Overlay, TheNarrowOpenPanelKeepsTheControlsAndScaleBarUnderIt) {
  for (const bool expanded : {true, false}) {
    SCOPED_TRACE(expanded ? "panel open" : "panel closed");
    AppFixture f(sample_map_model(), {0, 0, 400, 800});
    f.app->panel.expanded = expanded;
    Painter painter;
    painter.window(*f.app);
    const auto rects = control_button_rects(f.app->bounds_rect);
    f.move(rect_center(rects[2]).x, rect_center(rects[2]).y);
    EXPECT_EQ(f.app->overlay.hovered_control(), expanded ? MapControl::None : MapControl::Locate);
    const auto p = painter.window(*f.app);
    EXPECT_EQ(p.fill_of(RoundedRect::make(rects[2], 10.0)).has_value(), !expanded) << "the locate button";
    EXPECT_EQ(p.fill_of(RoundedRect::make(rects[0], 10.0)).has_value(), !expanded) << "the zoom-in button";
    // The scale bar's label stands 24 px above the bottom edge.
    bool scale_label = false;
    for (const auto& r : p.all<zarn_ui::scene::TextRun>()) scale_label |= text_origin(r).y == 800 - 26 + 2;
    EXPECT_EQ(scale_label, !expanded) << "the scale bar";
    // "More" would lie over the open panel's list at this width: it waits until the panel closes.
    EXPECT_EQ(f.app->hit_targets.back().message == UiMessage{msg::ToggleOverflowMenu{}}, !expanded);
    const bool menu_button = std::any_of(f.app->hit_targets.begin(), f.app->hit_targets.end(), [](const HitTarget& t) {
      return t.message == UiMessage{msg::ToggleNavigation{}};
    });
    EXPECT_TRUE(menu_button) << "the menu button stays: it closes the panel";
  }
  // Where the open panel leaves it room, "More" stays above it.
  AppFixture wide(sample_map_model(), {0, 0, 600, 800});
  wide.app->panel.expanded = true;
  Painter painter;
  painter.window(*wide.app);
  EXPECT_EQ(wide.app->hit_targets.back().message, UiMessage{msg::ToggleOverflowMenu{}});
}

Poi card_poi(bool all_rows) {
  Poi poi;
  poi.id = "poi-1";
  poi.name = "Café Luitpold";
  poi.category = Category::Cafe;
  if (all_rows) {
    poi.address = "Brienner Str. 11";
    poi.opening_hours = "Mo-Su 08:00-19:00";
    poi.phone = "+49 89 242875";
    poi.website = "https://example.org";
    poi.kind = "coffee_shop";
  }
  return poi;
}

TEST(Overlay, PoiCardGrowsWithItsRowsAndItsCloseButtonWins) {
  for (const bool all_rows : {false, true}) {
    AppFixture f;
    f.app->backend.view_pois.pois = {card_poi(all_rows)};
    f.app->selected_poi = "poi-1";
    Painter painter;
    const auto p = painter.window(*f.app);
    // The card's is the last area that absorbs presses (the side panel's comes before it).
    const auto card = std::find_if(f.app->hit_targets.rbegin(), f.app->hit_targets.rend(),
                                   [](const HitTarget& t) { return t.message == UiMessage{msg::Noop{}}; });
    ASSERT_NE(card, f.app->hit_targets.rend());
    EXPECT_EQ(card->rect.height(), all_rows ? 214.0 : 118.0);
    EXPECT_EQ(card->rect.y1, 800 - 54);
    // Beside the side panel, centred up to the right margin and at most 360 wide.
    EXPECT_EQ(card->rect.width(), 360.0);
    EXPECT_EQ(card->rect.x0, (410.0 + 1264.0) / 2 - 180);
    EXPECT_EQ(p.has_text("⚓"), all_rows);
    EXPECT_EQ(p.has_text("· coffee_shop"), all_rows);
    const auto link = p.run("https://example.org");
    if (all_rows) {
      EXPECT_EQ(link->color, painter.theme.accent);
    }

    // The "✕" lies on the card and is recorded after it, so it takes the press.
    f.click(card->rect.x1 - 20, card->rect.y0 + 20);
    EXPECT_FALSE(f.app->selected_poi);
  }
}

// The card never lies over something else: not over the narrow layout's open panel (the panel
// lists the place), above the traffic legend, and with fewer rows where the window is short.
TEST(Overlay, PoiCardKeepsClearOfThePanelTheLegendAndTheControls) {
  const auto card_of = [](const MapsApp& app) -> std::optional<Rect> {
    for (const HitTarget& t : app.hit_targets) {
      if (t.message == UiMessage{msg::ClosePoi{}}) {
        for (const HitTarget& c : app.hit_targets) {
          if (c.message == UiMessage{msg::Noop{}} && c.rect.contains(t.rect.center())) return c.rect;
        }
      }
    }
    return std::nullopt;
  };
  Painter painter;
  {
    AppFixture f(default_map_model(), {0, 0, 600, 800});
    f.app->backend.view_pois.pois = {card_poi(true)};
    f.app->selected_poi = "poi-1";
    painter.window(*f.app);
    EXPECT_FALSE(card_of(*f.app)) << "over the open narrow panel";
    f.app->panel.expanded = false;
    painter.window(*f.app);
    EXPECT_TRUE(card_of(*f.app)) << "once it is closed";
  }
  {
    AppFixture f(sample_map_model(), {0, 0, 400, 700});
    f.model().route.reset();
    f.app->panel.expanded = false;
    f.app->backend.view_pois.pois = {card_poi(true)};
    f.app->selected_poi = "poi-1";
    set_traffic_enabled(f.app->session(), true);
    painter.window(*f.app);
    const auto card = card_of(*f.app);
    ASSERT_TRUE(card);
    EXPECT_EQ(card->y1, 700 - 48 - 10) << "a gap above the legend (its no-data pill here)";
    EXPECT_EQ(card->height(), 214);
  }
  {
    // Too short for every row: the rows go, the name, category and Directions stay below the
    // status pill, and the card ends left of the controls it reaches up beside.
    AppFixture f(sample_map_model(), {0, 0, 400, 420});
    f.app->panel.expanded = false;
    f.app->backend.view_pois.pois = {card_poi(true)};
    f.app->selected_poi = "poi-1";
    set_traffic_enabled(f.app->session(), true);
    const auto p = painter.window(*f.app);
    const auto card = card_of(*f.app);
    ASSERT_TRUE(card);
    EXPECT_GE(card->y0, 114);
    EXPECT_LT(card->height(), 214);
    EXPECT_TRUE(p.has_text("Directions"));
    EXPECT_LE(card->x1, control_button_rect(f.app->bounds_rect, MapControl::ZoomIn).x0 - 10);
  }
}

TEST(Overlay, MoreButtonTellsOfTheMenuAndOfDownloads) {
  AppFixture f;
  Painter painter;
  const Theme& theme = painter.theme;
  const Rect more = more_button_rect(f.app->bounds_rect);
  const auto shape = RoundedRect::make(more, 10.0);
  const zarn_ui::Circle middle{rect_center(more), 1.9};
  auto p = painter.window(*f.app);
  EXPECT_EQ(p.stroke_of(shape)->color, theme.border);
  EXPECT_EQ(p.fill_of(middle)->color, theme.text);

  f.app->backend.tiles.download_total = 10;
  f.app->backend.tiles.download_done = 4;
  p = painter.window(*f.app);
  EXPECT_EQ(p.stroke_of(shape)->color, theme.accent);
  EXPECT_EQ(p.fill_of(middle)->color, theme.text);

  f.app->backend.tiles.download_done = 10;
  f.app->overflow_menu.toggle(f.app->bounds_rect);
  p = painter.window(*f.app);
  EXPECT_EQ(p.stroke_of(shape)->color, theme.accent);
  EXPECT_EQ(p.fill_of(middle)->color, theme.accent);
}

TEST(Overlay, MenuButtonOnlyInTheNarrowLayout) {
  AppFixture f(default_map_model(), {0, 0, 600, 800});
  f.app->panel.expanded = false;
  Painter painter;
  painter.window(*f.app);
  const Rect button{16, 16, 56, 64};
  // The first of the overlay's, above only the map's credit.
  ASSERT_GE(f.app->hit_targets.size(), 3u);
  EXPECT_EQ(f.app->hit_targets[1], (HitTarget{button, UiMessage{msg::ToggleNavigation{}}}));
  f.click(30, 30);
  EXPECT_TRUE(f.app->panel.expanded);
  const auto p = painter.window(*f.app);
  EXPECT_EQ(p.stroke_of(RoundedRect::make(button, 12.0))->color, painter.theme.focus);

  AppFixture wide;
  painter.window(*wide.app);
  for (const auto& t : wide.app->hit_targets) EXPECT_NE(t.message, UiMessage{msg::ToggleNavigation{}});
}

// A tooltip comes up once the pointer has rested on a control for the host's delay, and goes
// when the pointer leaves.
TEST(Overlay, TooltipsComeUpAfterTheirDelay) {
  AppFixture f;
  Painter painter;
  const Rect zoom_out = control_button_rect(f.app->bounds_rect, MapControl::ZoomOut);
  f.move(rect_center(zoom_out).x, rect_center(zoom_out).y);
  EXPECT_FALSE(painter.window(*f.app).has_text("Zoom out"));
  f.advance(zarn_ui::widgets::TooltipHost::kDelay - 1ms);
  EXPECT_FALSE(painter.window(*f.app).has_text("Zoom out"));
  f.advance(1ms);
  EXPECT_TRUE(painter.window(*f.app).has_text("Zoom out"));
  EXPECT_FALSE(f.app->needs_frame());

  const Rect more = more_button_rect(f.app->bounds_rect);
  f.move(rect_center(more).x, rect_center(more).y);
  f.advance(zarn_ui::widgets::TooltipHost::kDelay);
  const auto p = painter.window(*f.app);
  EXPECT_FALSE(p.has_text("Zoom out"));
  EXPECT_TRUE(p.has_text("More"));
  f.press();
  EXPECT_FALSE(painter.window(*f.app).has_text("More"));
}

// A status shortened to fit its pill shows whole in the tooltip of the pill; one that fits has no
// tooltip, and the tooltip goes with the status it showed.
TEST(Overlay, AShortenedStatusShowsWholeWhereThePointerRestsOnIt) {
  const std::string status =
      "Routing failed (offline estimate shown): the routing service answered with an error (HTTP 503)";
  AppFixture f(default_map_model(), {0, 0, 800, 600});
  f.app->set_status(status, StatusKind::Failure);
  Painter painter;
  auto p = painter.window(*f.app);
  std::optional<Rect> pill;
  for (const auto& r : p.all<zarn_ui::scene::TextRun>()) {
    if (r.text.starts_with("Routing failed")) {
      ASSERT_TRUE(r.text.ends_with("\u2026"));
      pill = Rect{text_origin(r).x - 20, text_origin(r).y, text_origin(r).x + 20, text_origin(r).y + 10};
    }
  }
  ASSERT_TRUE(pill);
  f.move(rect_center(*pill).x, rect_center(*pill).y);
  f.advance(zarn_ui::widgets::TooltipHost::kDelay);
  EXPECT_TRUE(painter.window(*f.app).has_text(status));

  // The status changes under the pointer: its tooltip goes, and the new one comes up in its turn.
  const std::string next = "Routing failed (offline estimate shown): the routing service did not answer in time";
  f.app->set_status(next, StatusKind::Failure);
  p = painter.window(*f.app);
  EXPECT_FALSE(p.has_text(status));
  EXPECT_FALSE(p.has_text(next));
  f.move(rect_center(*pill).x + 1, rect_center(*pill).y);
  f.advance(zarn_ui::widgets::TooltipHost::kDelay);
  EXPECT_TRUE(painter.window(*f.app).has_text(next));

  f.app->set_status("Routing\u2026", StatusKind::InProgress);
  painter.window(*f.app);
  f.move(rect_center(*pill).x, rect_center(*pill).y);
  f.advance(zarn_ui::widgets::TooltipHost::kDelay);
  painter.window(*f.app);
  EXPECT_FALSE(f.app->overlay.tooltips().shown()) << "a status that fits has no tooltip";
}

}  // namespace
}  // namespace maps
