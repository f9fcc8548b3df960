// The directions panel on the recording scene: the endpoint fields and their press areas, the
// travel-mode tabs, the journey-time controls at the layout's example widths, the road route's
// times and steps, and the journeys with their legs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_input_fixture.hpp"
#include "directions/directions_panel.hpp"
#include "directions/directions_plan.hpp"
#include "directions/journey_time.hpp"
#include "display_list.hpp"
#include "draw_kit/palette.hpp"
#include "format/clock_text.hpp"
#include "sample/sample_data.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;
using namespace display_list;
using zarn_ui::theme::Theme;

std::vector<HitTarget> targets_of_kind(const MapsApp& app, std::uint8_t kind) {
  std::vector<HitTarget> out;
  for (const auto& t : app.hit_targets) {
    if (t.message.kind() == kind) out.push_back(t);
  }
  return out;
}

template <typename M>
std::vector<HitTarget> targets(const MapsApp& app) {
  return targets_of_kind(app, UiMessage{M{}}.kind());
}

std::optional<HitTarget> shift_target(const MapsApp& app, std::int32_t minutes) {
  for (const auto& t : app.hit_targets) {
    if (t.message == UiMessage{msg::ShiftTransitTime{minutes}}) return t;
  }
  return std::nullopt;
}

bool overlaps(const Rect& a, const Rect& b) { return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1; }

MapModel directions_model(TravelMode mode = TravelMode::Car) {
  MapModel m = sample_map_model();
  m.panel = Panel::Directions;
  m.mode = mode;
  return m;
}

// The panel's list area at the default window: 26 .. 390, content from y 134.
constexpr double kLeft = 26, kRight = 390, kTop = 134;

TEST(DirectionsPanel, EndpointBoxesFieldsAndSwap) {
  AppFixture f(directions_model());
  f.app->endpoint_editor.begin_endpoint_edit(EndpointField::Destination);
  const Theme theme = Theme::light();
  const auto scene = f.draw(theme);
  const EndpointEditor& editor = f.app->endpoint_editor;
  const Rect origin{kLeft, kTop, kRight - 42, kTop + 40}, dest{kLeft, kTop + 48, kRight - 42, kTop + 88};
  EXPECT_EQ(editor.box(EndpointField::Origin), origin);
  EXPECT_EQ(editor.box(EndpointField::Destination), dest);
  const std::vector<EndpointHit> expected = {
      {origin, EndpointHitKind::FieldBox, EndpointField::Origin, 0},
      {dest, EndpointHitKind::FieldBox, EndpointField::Destination, 0},
      {{kRight - 34, kTop + 20, kRight, kTop + 68}, EndpointHitKind::SwapButton, EndpointField::Origin, 0},
  };
  ASSERT_GE(editor.hits().size(), expected.size());
  EXPECT_EQ(std::vector<EndpointHit>(editor.hits().begin(), editor.hits().begin() + 3), expected);
  EXPECT_EQ(editor.input(EndpointField::Origin).rect(), (Rect{origin.x0 + 26, origin.y0, origin.x1 - 12, origin.y1}));
  EXPECT_EQ(editor.input(EndpointField::Destination).rect(), (Rect{dest.x0 + 26, dest.y0, dest.x1 - 12, dest.y1}));
  // The inactive origin shows its name; the edited destination shows the typed text (empty).
  EXPECT_TRUE(has_text(scene, "Sendling, München"));
  EXPECT_TRUE(has_text(scene, "Choose destination"));
  EXPECT_FALSE(editor.input(EndpointField::Origin).focused);
  EXPECT_TRUE(editor.input(EndpointField::Destination).focused);
  // The edited field's border is the focus colour.
  bool focus_border = false;
  for (const auto& item : scene.items()) {
    const auto* s = std::get_if<zarn_ui::scene::Stroke>(&item);
    const auto* rr = s ? std::get_if<zarn_ui::RoundedRect>(&s->shape) : nullptr;
    if (rr && rr->rect == dest) focus_border = s->color == theme.focus;
  }
  EXPECT_TRUE(focus_border);
}

TEST(DirectionsPanel, EndpointLabels) {
  struct Case {
    const char* name;
    bool origin_set;
    std::string origin_name;
    std::string dest_name;
    std::optional<std::string> selected;
    std::string origin_label;
    std::string dest_label;
  } cases[] = {
      {"both named", true, "Home", "Work", "marienplatz", "Home", "Work"},
      {"no origin position", false, "Home", "", "marienplatz", "", "Marienplatz"},
      {"neither", true, "", "", std::nullopt, "", ""},
  };
  for (const auto& c : cases) {
    MapModel m = directions_model();
    if (!c.origin_set) m.origin.reset();
    m.origin_name = c.origin_name;
    m.dest_name = c.dest_name;
    m.selected = c.selected;
    AppFixture f(m);
    EXPECT_EQ(origin_label(f.app->model), c.origin_label) << c.name;
    EXPECT_EQ(destination_label(f.app->model), c.dest_label) << c.name;
  }
}

TEST(DirectionsPanel, ModeTabsSplitTheWidth) {
  AppFixture f(directions_model(TravelMode::Bike));
  const Theme theme = Theme::light();
  const auto scene = f.draw(theme);
  const auto tabs = targets<msg::ChooseTravelMode>(*f.app);
  ASSERT_EQ(tabs.size(), 4u);
  const TravelMode order[] = {TravelMode::Car, TravelMode::Transit, TravelMode::Bike, TravelMode::Foot};
  const double cell = (kRight - kLeft) / 4;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(tabs[i].message, UiMessage{msg::ChooseTravelMode{order[i]}});
    EXPECT_NEAR(tabs[i].rect.x0, kLeft + i * cell, 1e-9);
    EXPECT_EQ(tabs[i].rect.y0, kTop + 142);
  }
  const auto pills = filled_rects(scene, theme.accent);
  EXPECT_NE(
      std::find(pills.begin(), pills.end(), Rect{kLeft + 2 * cell + 3, kTop + 145, kLeft + 3 * cell - 3, kTop + 179}),
      pills.end());
  EXPECT_EQ(find_text(scene, "Cycle")->color, Color::white());
  EXPECT_EQ(find_text(scene, "Drive")->color, theme.text_secondary);
}

// At every example width the earlier and later buttons stay apart, inside the list and clear of
// the segments and the label.
TEST(JourneyTime, ButtonsStayApartAtEveryWidth) {
  for (double width : {1280.0, 1000.0, 720.0, 719.0, 400.0, 320.0, 200.0}) {
    MapModel m = directions_model();
    m.transit_time = {TransitTimeMode::Depart, 15};
    AppFixture f(m, {0, 0, width, 800});
    const auto scene = f.draw();
    const auto earlier = shift_target(*f.app, -15), later = shift_target(*f.app, 15);
    ASSERT_TRUE(earlier && later) << width;
    const Rect list = f.app->side_panel.list_panel().value();
    EXPECT_FALSE(overlaps(earlier->rect, later->rect)) << width;
    EXPECT_GE(earlier->rect.x0, list.x0 + 10) << width;
    EXPECT_LE(later->rect.x1, list.x1 - 10) << width;
    for (const auto& seg : targets<msg::SetTransitTimeMode>(*f.app)) {
      EXPECT_FALSE(overlaps(seg.rect, earlier->rect)) << width;
      EXPECT_FALSE(overlaps(seg.rect, later->rect)) << width;
    }
    const auto label = find_text(scene, "09:15");
    ASSERT_TRUE(label) << width;
    EXPECT_GE(label->at.x, earlier->rect.x1) << width;
    EXPECT_LE(label->at.x + 5 * 7.0, later->rect.x0) << width;  // five characters of the fixed renderer
    const auto reset = targets<msg::LeaveNow>(*f.app);
    ASSERT_EQ(reset.size(), 1u) << width;
    EXPECT_GE(reset[0].rect.y0, earlier->rect.y1) << "the reset link lies below the buttons, at " << width;
  }
}

TEST(JourneyTime, WideLayoutKeepsOneRow) {
  const ListArea list{{kLeft, kTop, kRight, 774}, kLeft, kRight};
  const double t = kTop + 194;
  const JourneyTimeLayout l = journey_time_layout(list, t, 35, false, 84);
  EXPECT_EQ(l.segments, (Rect{kLeft, t, kLeft + 150, t + 36}));
  EXPECT_EQ(l.earlier, (Rect{kLeft + 158, t, kLeft + 196, t + 36}));
  EXPECT_EQ(l.later, (Rect{kRight - 38, t, kRight, t + 36}));
  ASSERT_TRUE(l.label_span);
  EXPECT_EQ(*l.label_span, (std::pair{kLeft + 196, kRight - 38}));
  EXPECT_EQ(l.label_y, t + 8.625);
  EXPECT_FALSE(l.reset);
  EXPECT_EQ(l.bottom, t + 36);
  const JourneyTimeLayout with_reset = journey_time_layout(list, t, 35, true, 84);
  EXPECT_EQ(with_reset.reset, (Rect{kLeft, t + 44, kLeft + 104, t + 70}));
  EXPECT_EQ(with_reset.bottom, t + 70);

  // A list too narrow for even the label's own row drops the label but keeps both buttons.
  const ListArea tiny{{0, 0, 60, 500}, 0, 60};
  const JourneyTimeLayout narrow = journey_time_layout(tiny, 0, 35, false, 84);
  EXPECT_FALSE(narrow.label_span);
  EXPECT_FALSE(overlaps(narrow.earlier, narrow.later));
  EXPECT_GT(narrow.earlier.width(), 0);
}

TEST(JourneyTime, LabelAndResetLink) {
  struct Case {
    TransitTime time;
    const char* label;
    bool reset;
  } cases[] = {
      {{TransitTimeMode::Depart, 0}, "Now", false},    {{TransitTimeMode::Depart, 15}, "09:15", true},
      {{TransitTimeMode::Depart, -30}, "08:30", true}, {{TransitTimeMode::Arrive, 0}, "09:00", true},
      {{TransitTimeMode::Arrive, 60}, "10:00", true},
  };
  for (const auto& c : cases) {
    MapModel m = directions_model();
    m.transit_time = c.time;
    AppFixture f(m);
    const auto scene = f.draw();
    EXPECT_EQ(journey_time_label(f.app->model.transit_time, f.app->now_local()), c.label) << c.label;
    EXPECT_TRUE(has_text(scene, c.label)) << c.label;
    EXPECT_EQ(has_text(scene, "Reset to now"), c.reset) << c.label;
    EXPECT_EQ(targets<msg::LeaveNow>(*f.app).size(), c.reset ? 1u : 0u) << c.label;
  }
}

TEST(RoadRoute, TimesFollowTheJourneyTime) {
  const LocalDateTime nine = demo_clock_now();
  const LocalDateTime ten_to_midnight = nine.plus_minutes(14 * 60 + 50);
  const LocalDateTime at_1813_10 = local_from_unix_ms(nine.plus_minutes(9 * 60 + 13).unix_ms + 10'000);
  const LocalDateTime at_1813_50 = local_from_unix_ms(at_1813_10.unix_ms + 40'000);
  struct Case {
    const char* name;
    LocalDateTime now;
    TransitTime time;
    double duration_s;
    std::optional<RouteTimes> times;
  } cases[] = {
      {"leaving now", nine, {TransitTimeMode::Depart, 0}, 360, RouteTimes{"Leave 09:00", "Arrive 09:06"}},
      // The other end lies the shown duration from the shown minute.
      {"7 min as shown", nine, {TransitTimeMode::Depart, 0}, 419.9, RouteTimes{"Leave 09:00", "Arrive 09:07"}},
      {"3 min from 18:13:10", at_1813_10, {TransitTimeMode::Depart, 0}, 150, RouteTimes{"Leave 18:13", "Arrive 18:16"}},
      {"3 min from 18:13:50", at_1813_50, {TransitTimeMode::Depart, 0}, 150, RouteTimes{"Leave 18:13", "Arrive 18:16"}},
      {"arriving by 18:13:50 in 1 min",
       at_1813_50,
       {TransitTimeMode::Arrive, 0},
       89,
       RouteTimes{"Leave 18:12", "Arrive 18:13"}},
      {"later", nine, {TransitTimeMode::Depart, 15}, 600, RouteTimes{"Leave 09:15", "Arrive 09:25"}},
      {"arriving by", nine, {TransitTimeMode::Arrive, 60}, 1200, RouteTimes{"Leave 09:40", "Arrive 10:00"}},
      {"past midnight", ten_to_midnight, {TransitTimeMode::Depart, 0}, 1200, RouteTimes{"Leave 23:50", "Arrive 00:10"}},
      {"negative duration", nine, {TransitTimeMode::Depart, 0}, -50, RouteTimes{"Leave 09:00", "Arrive 09:00"}},
      {"not a number", nine, {TransitTimeMode::Depart, 0}, std::nan(""), std::nullopt},
      {"beyond any clock", nine, {TransitTimeMode::Depart, 0}, 1e300, std::nullopt},
  };
  for (const auto& c : cases) {
    const auto got = route_times(c.now, c.time, c.duration_s);
    ASSERT_EQ(got.has_value(), c.times.has_value()) << c.name;
    if (!got) continue;
    EXPECT_EQ(got->leave, c.times->leave) << c.name;
    EXPECT_EQ(got->arrive, c.times->arrive) << c.name;
  }
}

TEST(RoadRoute, SummaryTimesAndSteps) {
  MapModel m = directions_model();
  m.route->steps = {
      {"Head north", 0.4, Maneuver::Depart}, {"Turn left", 1.0, Maneuver::Left}, {"Arrive", 250, Maneuver::Arrive}};
  m.route->duration_s = 360;
  {
    AppFixture f(m);
    const auto scene = f.draw();
    EXPECT_TRUE(has_text(scene, "6 min"));
    EXPECT_TRUE(has_text(scene, "Arrive 09:06")) << "leaving now shows only the arrival";
    EXPECT_FALSE(has_text(scene, "Leave 09:00"));
    // The 1 m step shows its distance (to the nearest 10 m); the 0.4 m step shows none.
    int short_steps = 0;
    for (const auto& t : texts(scene)) short_steps += t.text == "0 m" && t.at.x < kRight;  // in the panel
    EXPECT_EQ(short_steps, 1);
    EXPECT_TRUE(has_text(scene, "250 m"));
    const auto clear = targets<msg::ClearRoute>(*f.app);
    ASSERT_EQ(clear.size(), 1u);
    // Three steps 46 px apart end the content.
    const double r = kTop + 230 + 18;
    EXPECT_DOUBLE_EQ(f.app->side_panel.content_height(), r + 82 + 3 * 46 - kTop);
  }
  m.transit_time = {TransitTimeMode::Depart, 15};
  {
    AppFixture f(m);
    const auto scene = f.draw();
    EXPECT_TRUE(has_text(scene, "Leave 09:15"));
    EXPECT_TRUE(has_text(scene, "\u2192"));
    EXPECT_TRUE(has_text(scene, "Arrive 09:21"));
  }
  m.route.reset();
  {
    AppFixture f(m);
    EXPECT_TRUE(has_text(f.draw(), "Select a place, then tap Directions."));
  }
  // A destination without a start (after "End", or a start still to be chosen) asks for one.
  m.origin.reset();
  {
    AppFixture f(m);
    const auto scene = f.draw();
    EXPECT_TRUE(has_text(scene, "Choose a starting point to see the route."));
    EXPECT_TRUE(has_text(scene, m.dest_name));
  }
  m.dest.reset();
  m.selected.reset();
  {
    AppFixture f(m);
    EXPECT_TRUE(has_text(f.draw(), "Select a place, then tap Directions."));
  }
}

TEST(Transit, TransfersAndCredit) {
  EXPECT_EQ(transfers_text(0), "direct");
  EXPECT_EQ(transfers_text(1), "1 change");
  EXPECT_EQ(transfers_text(2), "2 changes");

  TransitLeg walk;
  TransitLeg u3;
  u3.mode = TransitMode::Subway;
  u3.line = "U3";
  TransitJourney a{"09:00", "09:10", 10, 0, {walk, u3}};
  EXPECT_EQ(transit_credit({a}), "Scheduled times · via Transitous (MOTIS)");
  TransitJourney b = a;
  b.legs[1].agency = "MVG";
  b.legs[1].realtime = true;
  a.legs[0].agency = "";
  EXPECT_EQ(transit_credit({a, b}), "Live times · via Transitous (MOTIS) · MVG");
}

TEST(Transit, EmptyListsSayWhy) {
  struct Case {
    const char* name;
    std::uint32_t pending;
    bool dest;
    bool selected;
    const char* text;
  } cases[] = {
      {"searching", 1, true, true, "Finding departures…"},
      {"no destination", 0, false, false, "Choose a destination to see departures."},
      {"a selected place will do", 0, false, true, "No public-transport itineraries found."},
      {"nothing found", 0, true, false, "No public-transport itineraries found."},
  };
  for (const auto& c : cases) {
    MapModel m = directions_model(TravelMode::Transit);
    m.transit.clear();
    if (!c.dest) m.dest.reset();
    m.dest_name.clear();
    if (!c.selected) m.selected.reset();
    AppFixture f(m);
    f.app->backend.pending_jobs = c.pending;
    const auto scene = f.draw();
    EXPECT_TRUE(has_text(scene, c.text)) << c.name;
    EXPECT_TRUE(has_text(scene, c.selected ? "Departures to Marienplatz" : "Departures to destination")) << c.name;
  }
}

TEST(Transit, JourneyCardsLegsAndDetails) {
  MapModel m = directions_model(TravelMode::Transit);
  TransitLeg walk;
  walk.duration_min = 0;
  walk.to_name = "Goetheplatz";
  walk.dep = "09:00";
  walk.arr = "09:00";
  std::vector<TransitLeg> legs = {walk};
  for (int i = 0; i < 12; ++i) {
    TransitLeg bus;
    bus.mode = TransitMode::Bus;
    bus.line = "1" + std::to_string(i);
    bus.headsign = "Moosach ";
    bus.color = "#112233";
    bus.text_color = "zz";  // unreadable: white
    bus.from_name = "A";
    bus.to_name = "B";
    bus.num_stops = i == 0 ? 1 : 3;
    legs.push_back(bus);
  }
  m.transit = {TransitJourney{"09:00", "09:40", 40, 12, legs}, TransitJourney{"09:05", "09:30", 25, 1, {walk}}};
  m.transit_choice = 0;
  const Theme theme = Theme::light();
  AppFixture f(m, {0, 0, 1280, 2400});
  const auto scene = f.draw(theme);
  EXPECT_TRUE(has_text(scene, "09:00 \u2013 09:40"));
  EXPECT_TRUE(has_text(scene, "40 min"));
  EXPECT_TRUE(has_text(scene, "12 changes"));
  EXPECT_TRUE(has_text(scene, "1 change"));
  EXPECT_TRUE(has_text(scene, "walk 1m")) << "a walk of 0 minutes shows 1";
  EXPECT_TRUE(has_text(scene, "Walk \u00b7 1 min"));
  EXPECT_TRUE(has_text(scene, "Bus 10 Moosach")) << "the title is trimmed";
  EXPECT_TRUE(has_text(scene, "to Goetheplatz"));
  EXPECT_TRUE(has_text(scene, "A \u2192 alight B \u00b7 1 stop")) << "one stop is not \"1 stops\"";
  EXPECT_TRUE(has_text(scene, "A \u2192 alight B \u00b7 3 stops"));
  // The chips stop once the row is full, without an ellipsis; the detail rows list every leg.
  int chips = 0;
  for (const auto& t : texts(scene)) {
    if (t.size == 12.0f && t.text.size() == 2 && t.text[0] == '1' && t.color == Color::white()) ++chips;
  }
  EXPECT_GT(chips, 0);
  EXPECT_LT(chips, 12);
  for (int i = 0; i < 12; ++i) EXPECT_TRUE(has_text(scene, "Bus 1" + std::to_string(i) + " Moosach")) << i;
  // A chip takes the leg's colour.
  EXPECT_FALSE(filled_rects(scene, *parse_hex_color("112233")).empty());
  const auto cards = targets<msg::ChooseJourney>(*f.app);
  ASSERT_EQ(cards.size(), 2u);
  EXPECT_EQ(cards[0].message, UiMessage{msg::ChooseJourney{0}});
  EXPECT_EQ(cards[1].message, UiMessage{msg::ChooseJourney{1}});
  EXPECT_DOUBLE_EQ(cards[1].rect.y0, cards[0].rect.y0 + 96 + 13 * 38 + 6) << "the chosen card's legs lie between";
  EXPECT_TRUE(has_text(scene, "Scheduled times \u00b7 via Transitous (MOTIS)"));
}

TEST(Transit, ALiveMarkerStaysClearOfTheTimes) {
  MapModel m = directions_model(TravelMode::Transit);
  TransitLeg leg;
  leg.mode = TransitMode::Subway;
  leg.line = "U3";
  leg.headsign = std::string(60, 'M');
  leg.dep = "09:17";
  leg.arr = "09:23";
  leg.realtime = true;
  m.transit = {TransitJourney{"09:17", "09:23", 6, 0, {leg}}};
  AppFixture f(m);
  const auto scene = f.draw();
  const auto live = find_text(scene, "live");
  const auto times = find_text(scene, "09:17\u201309:23");
  ASSERT_TRUE(live && times);
  EXPECT_LE(live->at.x + 4 * 7.0, times->at.x) << "four characters of the fixed renderer";
}

}  // namespace
}  // namespace maps
