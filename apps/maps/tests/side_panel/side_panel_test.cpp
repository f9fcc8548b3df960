// The side panel on the recording scene: its card and header at the layout's example widths,
// the collapsed and empty states, the lists of the Explore mode and where their rows take presses.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_input_fixture.hpp"
#include "display_list.hpp"
#include "draw_kit/palette.hpp"
#include "sample/sample_data.hpp"
#include "side_panel/nearby_row.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;
using namespace display_list;
using zarn_ui::theme::Theme;

std::vector<HitTarget> targets_with(const MapsApp& app, const UiMessage& message) {
  std::vector<HitTarget> out;
  for (const auto& t : app.hit_targets) {
    if (t.message == message) out.push_back(t);
  }
  return out;
}

MapModel explore_sample() {
  MapModel m = sample_map_model();
  m.panel = Panel::Explore;
  return m;
}

TEST(SidePanelGeometry, CardHeaderAndListAtTheLayoutWidths) {
  struct Case {
    double width;
    double panel_width;
    bool wide;
  } cases[] = {{1280, 384, true}, {1000, 384, true}, {720, 302.4, true},
               {719, 384, false}, {400, 368, false}, {200, 168, false}};
  for (const auto& c : cases) {
    AppFixture f(default_map_model(), {0, 0, c.width, 800});
    const auto scene = f.draw();
    const Rect p{16, 74, 16 + c.panel_width, 784};
    const auto card = targets_with(*f.app, UiMessage{msg::Noop{}});
    ASSERT_FALSE(card.empty()) << c.width;
    EXPECT_EQ(card.front().rect, p) << c.width;
    EXPECT_EQ(f.app->side_panel.list_panel(), p) << c.width;
    EXPECT_DOUBLE_EQ(f.app->side_panel.view_height(), 784 - 10 - (74 + 60)) << c.width;

    const auto collapse = targets_with(*f.app, UiMessage{msg::TogglePanelCollapsed{}});
    if (c.wide) {
      ASSERT_EQ(collapse.size(), 1u) << c.width;
      EXPECT_EQ(collapse[0].rect, (Rect{p.x1 - 50, 84, p.x1 - 10, 124})) << c.width;
    } else {
      EXPECT_TRUE(collapse.empty()) << "the narrow layout has no collapse button, at " << c.width;
    }
    const auto title = find_text(scene, "Places");
    ASSERT_TRUE(title) << c.width;
    EXPECT_EQ(title->at, (Point{28, 94})) << c.width;
    const auto greeting = find_text(scene, "Find your way");
    ASSERT_TRUE(greeting) << c.width;
    EXPECT_EQ(greeting->at, (Point{26, 134})) << "the list starts 10 px in and 60 px down, at " << c.width;
  }
}

TEST(SidePanelGeometry, HiddenCollapsedAndShortPanels) {
  {
    AppFixture f(default_map_model(), {0, 0, 600, 800});
    f.app->panel.expanded = false;
    const auto scene = f.draw();
    EXPECT_FALSE(has_text(scene, "Places")) << "a closed narrow panel is not drawn";
    EXPECT_FALSE(f.app->side_panel.list_panel());
  }
  {
    AppFixture f(default_map_model(), {0, 0, 1280, 800});
    f.app->panel.collapsed = true;
    f.app->side_panel.set_heights(900, 400);
    const auto scene = f.draw();
    EXPECT_FALSE(has_text(scene, "Find your way"));
    ASSERT_TRUE(has_text(scene, "Places"));
    EXPECT_EQ(find_text(scene, "Places")->at, (Point{30, 94.625}));
    EXPECT_EQ(targets_with(*f.app, UiMessage{msg::Noop{}}).front().rect, (Rect{16, 74, 400, 134}));
    const auto expand = targets_with(*f.app, UiMessage{msg::TogglePanelCollapsed{}});
    ASSERT_EQ(expand.size(), 1u);
    EXPECT_EQ(expand[0].rect, (Rect{350, 84, 390, 124}));
    EXPECT_TRUE(has_text(scene, "\u00bb"));
    EXPECT_EQ(f.app->side_panel.content_height(), 0.0);
    EXPECT_EQ(f.app->side_panel.view_height(), 0.0);
    EXPECT_FALSE(f.app->side_panel.list_panel()) << "a collapsed card has no list to scroll";
  }
  {
    // The collapsed card names the page it hides.
    MapModel m = default_map_model();
    m.panel = Panel::Directions;
    AppFixture f(m, {0, 0, 1280, 800});
    f.app->panel.collapsed = true;
    const auto scene = f.draw();
    EXPECT_TRUE(has_text(scene, "Directions"));
    EXPECT_FALSE(has_text(scene, "Places"));
  }
  {
    // Collapsing belongs to the wide layout; a narrow panel shows its list.
    AppFixture f(default_map_model(), {0, 0, 600, 800});
    f.app->panel.collapsed = true;
    EXPECT_TRUE(has_text(f.draw(), "Find your way"));
  }
  // The panel's rectangle is 90 px shorter than the window: 79 px paints no card, 80 px does.
  for (const auto& [height, shown] : {std::pair{169.0, false}, std::pair{170.0, true}}) {
    AppFixture f(default_map_model(), {0, 0, 1280, height});
    EXPECT_EQ(has_text(f.draw(), "Places"), shown) << height;
    EXPECT_EQ(f.app->side_panel.list_panel().has_value(), shown) << height;
  }
}

TEST(SidePanelGeometry, DirectionsHeaderHasABackButton) {
  MapModel m = default_map_model();
  m.panel = Panel::Directions;
  AppFixture f(m);
  const auto scene = f.draw();
  const auto back = targets_with(*f.app, UiMessage{msg::BackToPlaces{}});
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].rect, (Rect{26, 84, 66, 124}));
  ASSERT_TRUE(has_text(scene, "Directions"));
  EXPECT_EQ(find_text(scene, "Directions")->at, (Point{16 + 58 + 2, 94}));
}

TEST(ExploreLists, SectionsInOrderAndTheirTargets) {
  AppFixture f(explore_sample(), {0, 0, 1280, 2400});  // tall enough to show every row
  f.app->backend.view_pois.pois = sample_pois();
  const auto scene = f.draw();
  const auto order = text_order(scene);
  const long card = index_of(order, "Landmark");  // the selected place's category under its name
  const long results = index_of(order, "RESULTS"), nearby = index_of(order, "NEARBY"), saved = index_of(order, "SAVED"),
             recents = index_of(order, "RECENT SEARCHES");
  ASSERT_GE(card, 0);
  EXPECT_LT(card, results);
  EXPECT_LT(results, nearby);
  EXPECT_LT(nearby, saved);
  EXPECT_LT(saved, recents);

  // The card's three buttons share the width between the card's 16 px text margins.
  const Rect list{26, 134, 390, 2374};
  const double bw = (list.width() - 40) / 3;
  const UiMessage buttons[] = {UiMessage{msg::Directions{}}, UiMessage{msg::TransitDirections{}},
                               UiMessage{msg::ToggleSaved{}}};
  for (int i = 0; i < 3; ++i) {
    const auto t = targets_with(*f.app, buttons[i]);
    ASSERT_EQ(t.size(), 1u) << i;
    EXPECT_NEAR(t[0].rect.x0, list.x0 + 16 + i * (bw + 4), 1e-9) << i;
    EXPECT_NEAR(t[0].rect.width(), bw, 1e-9) << i;
    EXPECT_EQ(t[0].rect.y0, list.y0 + 86) << i;
  }
  EXPECT_NEAR(targets_with(*f.app, buttons[2])[0].rect.x1, list.x1 - 16, 1e-9);
  EXPECT_TRUE(has_text(scene, "Save"));

  // Every recent search can be searched again; "Clear" sits at the heading's right end.
  for (const std::string& t : f.model().recents) {
    EXPECT_EQ(targets_with(*f.app, UiMessage{msg::SearchAgain{t}}).size(), 1u) << t;
  }
  EXPECT_EQ(targets_with(*f.app, UiMessage{msg::ClearRecents{}}).size(), 1u);
  for (const Poi& poi : sample_pois()) {
    EXPECT_EQ(targets_with(*f.app, UiMessage{msg::OpenPoi{poi.id}}).size(), has_text(scene, poi.name) ? 1u : 0u);
  }
}

TEST(ExploreLists, ASavedResultIsListedAndHighlightedTwice) {
  MapModel m = explore_sample();
  m.selected = "cafe-glueck";  // saved, and one of the results
  AppFixture f(m);
  const Theme theme = Theme::light();
  const auto scene = f.draw(theme);
  const auto rows = targets_with(*f.app, UiMessage{msg::OpenPlace{"cafe-glueck"}});
  ASSERT_EQ(rows.size(), 2u);
  const auto highlights = filled_rects(scene, theme.accent.multiply_alpha(0.14f));
  ASSERT_EQ(highlights.size(), 2u);
  EXPECT_EQ(highlights[0], (Rect{26, rows[0].rect.y0, 390, rows[0].rect.y0 + 48}));
  EXPECT_EQ(highlights[1], (Rect{26, rows[1].rect.y0, 390, rows[1].rect.y0 + 48}));
  EXPECT_TRUE(has_text(scene, "Saved \u2713"));
  // Both rows say it is saved, also when the result is a copy from before it was saved.
  const auto hearts_on = [](const zarn_ui::Scene& sc, const std::vector<HitTarget>& rs) {
    std::size_t n = 0;
    for (const auto& r : rs) {
      for (const auto& t : texts(sc)) n += t.text == "\u2665" && t.at.y == r.rect.y0 + 24;
    }
    return n;
  };
  EXPECT_EQ(hearts_on(scene, rows), 2u);
  for (Place& r : f.app->model.results) r.saved = false;
  const auto again = f.draw(theme);
  EXPECT_EQ(hearts_on(again, targets_with(*f.app, UiMessage{msg::OpenPlace{"cafe-glueck"}})), 2u);
}

TEST(ExploreLists, RowsScrolledOutOfViewTakeNoPress) {
  AppFixture f(explore_sample(), {0, 0, 1280, 500});
  f.draw();
  const double content = f.app->side_panel.content_height();
  const double view = f.app->side_panel.view_height();
  ASSERT_GT(content, view);
  f.app->side_panel.scroll_by(content);  // to the end
  f.draw();
  EXPECT_DOUBLE_EQ(f.app->side_panel.content_height(), content) << "the content height does not depend on the scroll";
  EXPECT_DOUBLE_EQ(f.app->side_panel.scroll(), content - view);
  const Rect list{26, 134, 390, 474};
  for (const auto& t : f.app->hit_targets) {
    if (std::holds_alternative<msg::Directions>(t.message.value)) ADD_FAILURE() << "the card scrolled out of view";
    if (std::holds_alternative<msg::OpenPlace>(t.message.value) ||
        std::holds_alternative<msg::SearchAgain>(t.message.value)) {
      EXPECT_GE(t.rect.y0, list.y0);
      EXPECT_LE(t.rect.y1, list.y1);
    }
  }
  // A row cut by the list's top edge takes presses only on its visible part.
  f.app->side_panel.reset_scroll();
  f.app->side_panel.scroll_by(20);
  f.draw();
  const auto directions = targets_with(*f.app, UiMessage{msg::Directions{}});
  ASSERT_EQ(directions.size(), 1u);
  EXPECT_EQ(directions[0].rect.y0, 134 + 86 - 20);
}

TEST(ExploreLists, LongTextsEndInAnEllipsis) {
  MapModel m = explore_sample();
  const std::string long_text(80, 'w');
  m.results.front().name = long_text;
  // A pasted page searched for is kept whole, and shortened where it is drawn.
  const std::string pasted(10000, 'w');
  m.recents = {pasted};
  AppFixture f(m);
  const auto scene = f.draw();
  std::size_t shortened = 0;
  for (const auto& t : texts(scene)) {
    if (t.text.size() > 3 && t.text.ends_with("\u2026") && t.text.front() == 'w') {
      ++shortened;
      EXPECT_LE(t.text.size(), 80u);
    }
  }
  EXPECT_EQ(shortened, 2u) << "the long result name and the recent search";
  EXPECT_FALSE(find_text(scene, pasted));
  EXPECT_EQ(f.app->model.recents.front(), pasted);
}

TEST(ExploreLists, EmptyStateOnlyWhenEveryListIsEmpty) {
  MapModel m = default_map_model();
  {
    AppFixture f(m);
    const auto scene = f.draw();
    EXPECT_TRUE(has_text(scene, "Search for a place or address"));
    EXPECT_TRUE(has_text(scene, "to route and plan transit."));
    EXPECT_DOUBLE_EQ(f.app->side_panel.content_height(), 78);
  }
  {
    AppFixture f(m);
    f.app->backend.view_pois.pois = sample_pois();  // loaded points of interest alone end the empty state
    const auto scene = f.draw();
    EXPECT_FALSE(has_text(scene, "Find your way"));
    EXPECT_TRUE(has_text(scene, "NEARBY"));
  }
}

// The pictogram on a nearby row is sized to the 11 px disc and cuts its openings in the disc's
// colour: a bus's windows are the disc showing through its body.
TEST(NearbyRow, PictogramSizedToTheDiscOnItsColour) {
  Poi bus;
  bus.id = "stop";
  bus.name = "Stop";
  bus.category = Category::Transit;
  bus.pos = default_map_model().center;
  AppFixture f;
  f.app->backend.view_pois.pois = {bus};
  const Theme theme = Theme::light();
  const auto scene = f.draw(theme);
  const Color disc = mix_color(theme.accent, theme.background, 0.78f);
  const Point c{26 + 18, 134 + 20 + 24};  // under the NEARBY heading
  const double s = 0.58 * 11;
  const auto body = filled_rects(scene, theme.text);
  EXPECT_NE(std::find(body.begin(), body.end(), Rect{c.x - 0.6 * s, c.y - 0.72 * s, c.x + 0.6 * s, c.y + 0.5 * s}),
            body.end());
  const auto windows = filled_rects(scene, disc);
  EXPECT_NE(
      std::find(windows.begin(), windows.end(), Rect{c.x - 0.42 * s, c.y - 0.5 * s, c.x - 0.06 * s, c.y - 0.06 * s}),
      windows.end());
}

TEST(NearbyRow, SubtitleFromAddressOrKind) {
  Poi poi;
  poi.category = Category::Cafe;
  struct Case {
    std::string address;
    std::optional<std::string> kind;
    std::string subtitle;
  } cases[] = {
      {"Theatinerstraße 18", "coffee_shop", "Café · Theatinerstraße 18"},
      {"", "coffee_shop", "Café · coffee_shop"},
      {"", std::nullopt, "Café"},
      {"", std::string(), "Café"},
  };
  for (const auto& c : cases) {
    poi.address = c.address;
    poi.kind = c.kind;
    EXPECT_EQ(nearby_subtitle(poi), c.subtitle);
  }
}

}  // namespace
}  // namespace maps
