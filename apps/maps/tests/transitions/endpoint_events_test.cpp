// The route endpoint editor's events as the state applies them.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "model/place_ops.hpp"
#include "tick_fixture.hpp"
#include "transitions/plans.hpp"
#include "transitions/search.hpp"

namespace maps {
namespace {

using testing::TickFixture;

constexpr LatLon kCentre{48.1371, 11.5754};
const Place kStation{"hbf", "Hauptbahnhof", Category::Transit, "Bayerstraße 10", {48.1402, 11.5600}, false};
const Place kPark{"park", "Hofgarten", Category::Park, "", {48.1429, 11.5800}, true};

MapModel model_with_places() {
  MapModel m = default_map_model();
  m.places = {kStation, kPark};
  return m;
}

void tick_a_few(TickFixture& f) {
  for (int i = 0; i < 3; ++i) f.tick();
}

struct TextCase {
  const char* name;
  EndpointEvent event;
  std::string origin_query;
  std::string dest_query;
  std::vector<std::string> origin_suggestions;
  std::vector<std::string> dest_suggestions;
  std::vector<EndpointSearchJob> jobs;
  std::string status;
};

std::vector<std::string> ids(const std::vector<Place>& places) {
  std::vector<std::string> out;
  for (const Place& p : places) out.push_back(p.id);
  return out;
}

TEST(EndpointEvents, TextsShowLocalSuggestionsAndASubmittedTextAsksTheGeocoder) {
  using E = EndpointEvent;
  const std::vector<TextCase> cases = {
      {"origin edited", E{E::TextEdited{"bahnhof", EndpointField::Origin}}, "bahnhof", "", {"hbf"}, {}, {}, "Ready"},
      {"destination edited",
       E{E::TextEdited{"HOF", EndpointField::Destination}},
       "",
       "HOF",
       {},
       {"hbf", "park"},
       {},
       "Ready"},
      {"edited to nothing", E{E::TextEdited{"", EndpointField::Origin}}, "", "", {}, {}, {}, "Ready"},
      // Only spaces: the untrimmed text finds nothing, and no job starts.
      {"blank submitted", E{E::Submitted{"   ", EndpointField::Destination}}, "", "", {}, {}, {}, "Ready"},
      // The job gets the text as submitted and names the origin 1, the destination 0.
      {"origin submitted",
       E{E::Submitted{"Hofgarten", EndpointField::Origin}},
       "",
       "",
       {"park"},
       {},
       {{"Hofgarten", EndpointField::Origin}},
       "Searching\u2026"},
      {"destination submitted",
       E{E::Submitted{"Marienplatz", EndpointField::Destination}},
       "",
       "",
       {},
       {},
       {{"Marienplatz", EndpointField::Destination}},
       "Searching\u2026"},
      {"nothing", E{E::Nothing{}}, "", "", {}, {}, {}, "Ready"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    TickFixture f(true, model_with_places());
    f.model().status = "Ready";
    handle_endpoint_editor_event(f.app->session(), c.event);
    EXPECT_EQ(f.model().origin_query, c.origin_query);
    EXPECT_EQ(f.model().dest_query, c.dest_query);
    EXPECT_EQ(ids(f.app->endpoint_editor.suggestions(EndpointField::Origin)), c.origin_suggestions);
    EXPECT_EQ(ids(f.app->endpoint_editor.suggestions(EndpointField::Destination)), c.dest_suggestions);
    EXPECT_EQ(f.jobs->of_kind<EndpointSearchJob>(), c.jobs);
    EXPECT_EQ(f.app->backend.pending_jobs, c.jobs.size());
    EXPECT_EQ(f.model().status, c.status);
    EXPECT_TRUE(f.jobs->of_kind<RouteJob>().empty());
  }
}

TEST(EndpointEvents, ChosenSuggestionBecomesThatEndpointAndAsksForAPlan) {
  struct Case {
    EndpointField field;
    TravelMode mode;
  };
  for (const Case c : {Case{EndpointField::Origin, TravelMode::Car}, Case{EndpointField::Destination, TravelMode::Car},
                       Case{EndpointField::Origin, TravelMode::Transit}}) {
    const bool origin = c.field == EndpointField::Origin;
    SCOPED_TRACE(::testing::Message() << (origin ? "origin" : "destination") << " " << enum_name(c.mode));
    MapModel model = model_with_places();
    model.mode = c.mode;
    model.selected = "park";
    model.dest = kPark.pos;
    model.dest_name = kPark.name;
    model.origin_query = "sta";
    model.dest_query = "sta";
    TickFixture f(true, model);
    f.tick();  // seeds the document
    // A suggestion made from a point of interest: not yet a stored place.
    const Place chosen{"osm-node-9", "Stachus", Category::Shop, "Karlsplatz", {48.1390, 11.5660}, false};
    handle_endpoint_editor_event(f.app->session(), EndpointEvent{EndpointEvent::SuggestionChosen{chosen, c.field}},
                                 &f.state);
    tick_a_few(f);
    f.advance(kJourneyAskPause);  // journeys are asked for once the asking pauses
    f.tick();

    ASSERT_TRUE(find_place(f.app->model, chosen.id).has_value()) << "stored through the document";
    const LatLon from = origin ? chosen.pos : kCentre;
    const LatLon to = origin ? kPark.pos : chosen.pos;
    // The map moved to the place, then fitted the plan's two ends.
    EXPECT_NEAR(f.model().center.lat, (from.lat + to.lat) / 2, 1e-9);
    EXPECT_NEAR(f.model().center.lon, (from.lon + to.lon) / 2, 1e-9);
    EXPECT_EQ(f.model().origin, std::optional(from));
    EXPECT_EQ(f.model().origin_name, origin ? "Stachus" : "Map centre");
    EXPECT_EQ(f.model().dest, std::optional(to));
    EXPECT_EQ(f.model().dest_name, origin ? "Hofgarten" : "Stachus");
    EXPECT_EQ(f.model().selected, std::optional<std::string>(origin ? "park" : "osm-node-9"));
    EXPECT_EQ(f.model().origin_query, origin ? "" : "sta");
    EXPECT_EQ(f.model().dest_query, origin ? "sta" : "");
    if (c.mode == TravelMode::Transit) {
      ASSERT_EQ(f.jobs->of_kind<TransitJob>().size(), 1u);
      EXPECT_EQ(f.jobs->of_kind<TransitJob>()[0].from, from);
      EXPECT_EQ(f.jobs->of_kind<TransitJob>()[0].to, to);
    } else {
      EXPECT_EQ(f.jobs->of_kind<RouteJob>(), (std::vector<RouteJob>{{c.mode, from, to, 1}}));
      EXPECT_EQ(f.model().route, std::optional(offline_route_estimate(c.mode, from, to)));
    }
  }
}

TEST(EndpointEvents, ChosenSuggestionKeepsAStoredPlacesSavedMark) {
  TickFixture f(true, model_with_places());
  f.tick();
  Place unsaved = kPark;
  unsaved.saved = false;
  handle_endpoint_editor_event(
      f.app->session(), EndpointEvent{EndpointEvent::SuggestionChosen{unsaved, EndpointField::Origin}}, &f.state);
  tick_a_few(f);
  EXPECT_TRUE(find_place(f.app->model, "park")->saved);
}

TEST(EndpointEvents, SwapExchangesBothEndsOnlyWhenBothAreSet) {
  {
    TickFixture f;
    f.tick();
    f.app->transient.set_origin(f.model(), kStation.pos, "Hauptbahnhof");
    f.app->transient.set_dest(f.model(), kPark.pos, "Hofgarten");
    handle_endpoint_editor_event(f.app->session(), EndpointEvent{EndpointEvent::Swap{}});
    tick_a_few(f);
    EXPECT_EQ(f.model().origin, std::optional(kPark.pos));
    EXPECT_EQ(f.model().origin_name, "Hofgarten");
    EXPECT_EQ(f.model().dest, std::optional(kStation.pos));
    EXPECT_EQ(f.model().dest_name, "Hauptbahnhof");
    EXPECT_EQ(f.jobs->of_kind<RouteJob>(), (std::vector<RouteJob>{{TravelMode::Car, kPark.pos, kStation.pos, 1}}));
  }
  {
    TickFixture f;
    f.app->transient.set_dest(f.model(), kPark.pos, "Hofgarten");
    const MapModel before = f.model();
    handle_endpoint_editor_event(f.app->session(), EndpointEvent{EndpointEvent::Swap{}});
    EXPECT_EQ(f.model(), before);
    EXPECT_TRUE(f.jobs->requests.empty());
    EXPECT_EQ(f.app->backend.pending_jobs, 0u);
  }
}

}  // namespace
}  // namespace maps
