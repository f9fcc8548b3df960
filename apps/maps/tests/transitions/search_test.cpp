// Submitting a search and the state's wrappers over the local matcher, the ranking and the
// nearby list.

#include "transitions/search.hpp"
#include "app/ui_messages.hpp"
#include "model/place_ops.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app_input_fixture.hpp"
#include "tick_fixture.hpp"
#include "transitions/messages.hpp"

namespace maps {
namespace {

using testing::TickFixture;

constexpr LatLon kCentre{48.1371, 11.5754};

Place place(const std::string& id, const std::string& name, LatLon pos, Category category = Category::Landmark) {
  return Place{id, name, category, "", pos, false};
}

Poi poi(const std::string& id, const std::string& name, LatLon pos, Category category = Category::Cafe) {
  Poi p;
  p.id = id;
  p.name = name;
  p.pos = pos;
  p.category = category;
  return p;
}

std::vector<std::string> ids(const std::vector<Place>& places) {
  std::vector<std::string> out;
  for (const Place& p : places) out.push_back(p.id);
  return out;
}

MapModel searchable_model() {
  MapModel m = default_map_model();
  m.places = {place("far", "Marienplatz", {48.20, 11.60}), place("near", "Marienplatz", {48.1372, 11.5755}),
              place("sub", "Stadtmarienplatz", {48.1375, 11.5760}), place("other", "Hofgarten", {48.14, 11.58})};
  return m;
}

struct SubmitCase {
  const char* name;
  std::string query;
  bool with_state;
  std::vector<std::string> results;  // expected, in order
  std::optional<std::string> selected;
  std::vector<MapsAction> commits;
  std::vector<std::string> recents;
  std::vector<PlaceSearchJob> jobs;
};

TEST(SubmitSearch, LocalAnswersRecordingStatusAndJob) {
  const std::vector<SubmitCase> cases = {
      {"ranked local answers, recorded through the action path",
       "  marienplatz ",
       true,
       {"near", "far", "sub"},
       "near",
       {{MapsAction::CommitSearch{"marienplatz"}}},
       {"Earlier"},
       {{"marienplatz"}}},
      {"without a UI state the state's own list",
       "Hofgarten",
       false,
       {"other"},
       "other",
       {},
       {"Hofgarten", "Earlier"},
       {{"Hofgarten"}}},
      {"nothing local still asks the service, and the earlier selection is no answer",
       "Odeonsplatz",
       true,
       {},
       std::nullopt,
       {{MapsAction::CommitSearch{"Odeonsplatz"}}},
       {"Earlier"},
       {{"Odeonsplatz"}}},
  };
  for (const SubmitCase& c : cases) {
    SCOPED_TRACE(c.name);
    MapModel model = searchable_model();
    model.query = c.query;
    model.selected = "before";
    model.recents = {"Earlier"};
    model.panel = Panel::Directions;
    TickFixture f(true, model);
    std::vector<MapsAction> commits;
    f.app->commits.override = [&](zarn_ui::state::State&, MapsAction a) { commits.push_back(a); };
    f.app->search_box.set_search_suggestions({place("s", "Suggested", kCentre)});
    f.app->side_panel.set_heights(900.0, 300.0);
    f.app->side_panel.scroll_by(120.0);
    ASSERT_GT(f.app->side_panel.scroll(), 0.0);

    submit_search(f.app->session(), c.with_state ? &f.state : nullptr);

    EXPECT_EQ(ids(f.model().results), c.results);
    EXPECT_EQ(f.model().selected, c.selected);
    EXPECT_EQ(f.model().center, c.results.empty() ? kCentre : f.model().results.front().pos);
    EXPECT_EQ(commits, c.commits);
    EXPECT_EQ(f.model().recents, c.recents);
    EXPECT_EQ(f.model().panel, Panel::Explore);
    EXPECT_EQ(f.app->side_panel.scroll(), 0.0);
    EXPECT_TRUE(f.app->search_box.suggestions().empty());
    EXPECT_TRUE(f.app->panel.expanded);
    EXPECT_EQ(f.model().status, "Searching\u2026");
    EXPECT_EQ(f.app->backend.pending_jobs, 1u);
    EXPECT_EQ(f.jobs->of_kind<PlaceSearchJob>(), c.jobs);
  }
}

TEST(SubmitSearch, BlankQueryChangesNothing) {
  MapModel model = searchable_model();
  model.query = " \t ";
  TickFixture f(true, model);
  std::vector<MapsAction> commits;
  f.app->commits.override = [&](zarn_ui::state::State&, MapsAction a) { commits.push_back(a); };
  const MapModel before = f.model();
  submit_search(f.app->session(), &f.state);
  EXPECT_EQ(f.model(), before);
  EXPECT_TRUE(commits.empty());
  EXPECT_TRUE(f.jobs->requests.empty());
  EXPECT_EQ(f.app->backend.pending_jobs, 0u);
}

TEST(SubmitSearch, NotLiveKeepsTheCountAndTheStatusRaised) {
  input_testing::AppFixture f(searchable_model());
  f.model().query = "Hofgarten";
  submit_search(f.app->session(), &f.state);
  f.app->tick(f.state);
  EXPECT_EQ(f.app->backend.pending_jobs, 1u);
  EXPECT_EQ(f.model().status, "Searching\u2026");
}

TEST(SubmitSearch, AFirstAnswerMadeFromAPointOfInterestIsStoredSoTheSelectionFindsIt) {
  TickFixture f(true, searchable_model());
  f.tick();  // seeds the document
  f.app->backend.view_pois.pois = {poi("osm-node-5", "Café Frischhut", {48.1352, 11.5740})};
  f.model().query = "frischhut";
  submit_search(f.app->session(), &f.state);
  for (int i = 0; i < 3; ++i) f.tick();
  ASSERT_EQ(ids(f.model().results), std::vector<std::string>{"osm-node-5"});
  ASSERT_TRUE(selected_place(f.app->model).has_value());
  EXPECT_EQ(selected_place(f.app->model)->name, "Café Frischhut");
  EXPECT_FALSE(selected_place(f.app->model)->saved);
}

TEST(OpenPlace, AResultRowMadeFromAPointOfInterestIsStoredBeforeItIsSelected) {
  TickFixture f(true, searchable_model());
  f.tick();
  f.app->backend.view_pois.pois = {poi("osm-node-5", "Café Frischhut", {48.1352, 11.5740}),
                                   poi("osm-node-6", "Café Luitpold", {48.1440, 11.5750})};
  f.model().query = "café";
  submit_search(f.app->session(), &f.state);
  ASSERT_EQ(f.model().results.size(), 2u);
  const Place second = f.model().results[1];
  route_message(*f.app, UiMessage{msg::OpenPlace{second.id}}, f.state);
  for (int i = 0; i < 3; ++i) f.tick();
  ASSERT_TRUE(find_place(f.app->model, second.id).has_value());
  EXPECT_EQ(f.model().dest, std::optional(second.pos));
  EXPECT_EQ(f.model().dest_name, second.name);
}

TEST(SearchWrappers, MeasureFromTheOriginWhenSetElseFromTheCentre) {
  TickFixture f(true, searchable_model());
  const LatLon north{48.20, 11.60};
  EXPECT_EQ(origin_or_centre(f.app->model), kCentre);
  EXPECT_EQ(ids(local_search_sorted(f.app->model, f.app->backend, "Marienplatz")),
            (std::vector<std::string>{"near", "far", "sub"}));

  f.app->transient.set_origin(f.model(), north, "North");
  EXPECT_EQ(origin_or_centre(f.app->model), north);
  EXPECT_EQ(ids(local_search_sorted(f.app->model, f.app->backend, "Marienplatz")),
            (std::vector<std::string>{"far", "near", "sub"}));
  std::vector<Place> answers = {place("a", "Marienplatz", kCentre), place("b", "Marienplatz", north)};
  rank_search_results(answers, "marienplatz", f.app->model);
  EXPECT_EQ(ids(answers), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(ids(search_local_places(f.app->model, f.app->backend, "marienplatz")),
            (std::vector<std::string>{"far", "near", "sub"}))
      << "unordered: in stored order";

  f.app->backend.view_pois.pois = {poi("c", "Centre", kCentre), poi("n", "North", north)};
  const auto nearby = nearby_pois(f.app->model, f.app->backend, f.app->selected_poi);
  ASSERT_EQ(nearby.size(), 2u);
  EXPECT_EQ(nearby[0].id, "n");
}

TEST(PushRecentSearch, ARepeatInOtherCaseMovesToTheFrontWithItsOwnText) {
  TickFixture f;
  f.model().recents = {"a", "b", "c", "d", "hofgarten", "e", "f"};
  push_recent_search(f.app->session(), "  Hofgarten ");
  EXPECT_EQ(f.model().recents, (std::vector<std::string>{"Hofgarten", "a", "b", "c", "d", "e", "f"}));
  push_recent_search(f.app->session(), "\u00dcbersee");
  push_recent_search(f.app->session(), "\u00fcBERSEE");
  push_recent_search(f.app->session(), "g");
  EXPECT_EQ(f.model().recents, (std::vector<std::string>{"g", "\u00fcBERSEE", "Hofgarten", "a", "b", "c", "d", "e"}));
}

}  // namespace
}  // namespace maps
