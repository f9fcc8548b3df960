// The tick meeting the document (first-tick seeding or loading, the older entry carried over,
// hydration on later ticks, the direct-value overlay) and the download-complete status.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "doc/readers.hpp"
#include "doc/writers.hpp"
#include "model/json_codec.hpp"
#include "tick_fixture.hpp"
#include "transitions/commit.hpp"

namespace maps {
namespace {

using testing::make_place;
using testing::make_route;
using testing::TickFixture;

MapModel model_with_places(std::vector<Place> places, TravelMode mode) {
  MapModel m = default_map_model();
  m.places = std::move(places);
  m.mode = mode;
  return m;
}

TEST(TickDocument, FirstTickSeedsADocumentWithoutModel) {
  TickFixture f(true, model_with_places({make_place("a"), make_place("b")}, TravelMode::Foot));
  ASSERT_FALSE(doc::load_map_model(f.state.doc()).has_value());
  f.tick();
  EXPECT_TRUE(f.app->commits.doc_initialised);
  const auto stored = doc::load_map_model(f.state.doc());
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->places, f.model().places);
  EXPECT_EQ(stored->mode, TravelMode::Foot);
}

TEST(TickDocument, FirstTickHydratesFromAStoredModelAndKeepsTheRest) {
  TickFixture f(true, model_with_places({make_place("mine")}, TravelMode::Car));
  doc::save_map_model(f.state.doc(), model_with_places({make_place("stored")}, TravelMode::Bike));
  f.model().query = "typed";
  f.model().center = LatLon{50.0, 8.0};
  f.model().zoom = 12.0;
  f.tick();
  ASSERT_EQ(f.model().places.size(), 1u);
  EXPECT_EQ(f.model().places[0].id, "stored");
  EXPECT_EQ(f.model().mode, TravelMode::Bike);
  EXPECT_EQ(f.model().query, "typed");
  EXPECT_EQ(f.model().center, (LatLon{50.0, 8.0}));
  EXPECT_EQ(f.model().zoom, 12.0);
}

TEST(TickDocument, OlderEntryIsCarriedIntoTheCurrentMapOnTheFirstTick) {
  const std::string older =
      R"({"places":[{"id":"old","name":"Old Cafe","category":"Cafe","address":"","pos":{"lat":48.1,"lon":11.5},)"
      R"("saved":true}],"recents":["old search"],"transit":[],"transit_choice":0,"panel":"Explore",)"
      R"("mode":"Bike","query":"","results":[],"origin_name":"Map centre","center":{"lat":48.1,"lon":11.5},)"
      R"("zoom":14.0,"status":""})";
  ASSERT_TRUE(deserialize_map_model_str(older).is_ok());
  TickFixture f;
  auto& document = f.state.doc();
  auto text = document.put_object(automerge::ROOT, "maps", automerge::ObjType::Text);
  ASSERT_TRUE(text.is_ok());
  ASSERT_TRUE(document.splice_text(text.value(), 0, 0, older).is_ok());

  f.tick();
  EXPECT_TRUE(doc::holds_model_map(document));
  ASSERT_EQ(f.model().places.size(), 1u);
  EXPECT_EQ(f.model().places[0].id, "old");
  EXPECT_TRUE(f.model().places[0].saved);
  EXPECT_EQ(f.model().recents, std::vector<std::string>{"old search"});
  // A later action writes into the carried map, so nothing of the older entry is lost.
  doc::maps_action_apply(MapsAction{MapsAction::SetTravelMode{TravelMode::Foot}}, document);
  f.tick();
  EXPECT_EQ(f.model().mode, TravelMode::Foot);
  EXPECT_EQ(f.model().places.size(), 1u);
  EXPECT_EQ(f.model().recents, std::vector<std::string>{"old search"});
}

TEST(TickDocument, LaterTicksTakeThePersistedFieldsFromTheDocument) {
  TickFixture f;
  f.tick();
  doc::maps_action_apply(MapsAction{MapsAction::SetTravelMode{TravelMode::Bike}}, f.state.doc());
  f.tick();
  EXPECT_EQ(f.model().mode, TravelMode::Bike);
  // A persisted field written straight into the state, outside the overlay, lasts only until the
  // document moves: a document that stands where it stood is not read again.
  f.model().dest = LatLon{48.3, 11.7};
  f.tick();
  EXPECT_EQ(f.model().dest, std::optional(LatLon{48.3, 11.7}));
  doc::maps_action_apply(MapsAction{MapsAction::SetTravelMode{TravelMode::Foot}}, f.state.doc());
  f.tick();
  EXPECT_EQ(f.model().dest, std::nullopt);
  EXPECT_EQ(f.model().mode, TravelMode::Foot);
}

// The model reads the document again whenever it moved, whichever way: an edit still in the
// pending change, that change closed, a change of another copy taken in; and only then.
TEST(TickDocument, HydrationFollowsTheDocumentsMark) {
  TickFixture f;
  f.tick();  // seeds the document
  f.tick();  // reads it
  auto& document = f.state.doc();
  auto ticks_read = [&](const char* what) {
    f.model().mode = TravelMode::Transit;  // a value hydration takes back
    f.tick();
    const bool read = f.model().mode != TravelMode::Transit;
    EXPECT_EQ(f.app->commits.hydrated_at, document.mark()) << what;
    return read;
  };
  EXPECT_FALSE(ticks_read("unmoved"));
  doc::maps_action_apply(MapsAction{MapsAction::SetTravelMode{TravelMode::Bike}}, document);
  ASSERT_GT(document.mark().pending_ops, 0u);
  EXPECT_TRUE(ticks_read("pending edit"));
  EXPECT_EQ(f.model().mode, TravelMode::Bike);
  EXPECT_FALSE(ticks_read("unmoved again"));
  document.commit();
  EXPECT_TRUE(ticks_read("the pending change closed"));
  EXPECT_FALSE(ticks_read("unmoved after the commit"));
  automerge::AutoCommit other = document.fork();
  doc::maps_action_apply(MapsAction{MapsAction::SetTravelMode{TravelMode::Foot}}, other);
  ASSERT_TRUE(document.merge(other).is_ok());
  EXPECT_TRUE(ticks_read("another copy's change"));
  EXPECT_EQ(f.model().mode, TravelMode::Foot);
  EXPECT_FALSE(ticks_read("unmoved after the merge"));
  // A committed action is read at once; the tick after it finds the document where that read
  // left it.
  commit_state(f.app->model, f.app->transient, f.app->commits, f.state,
               MapsAction{MapsAction::SetTravelMode{TravelMode::Car}});
  EXPECT_EQ(f.model().mode, TravelMode::Car);
  EXPECT_EQ(f.app->commits.hydrated_at, document.mark());
}

TEST(TickDocument, OverlayKeepsDirectValuesUntilAPlanCoversThem) {
  TickFixture f;
  f.tick();
  const LatLon fix{48.2, 11.6};
  const LatLon dest{48.15, 11.55};
  f.app->transient.set_origin(f.model(), fix, "Current location");
  f.app->transient.set_dest(f.model(), dest, "Museum");
  const Route estimate = make_route(48.2, 48.15);
  f.app->transient.set_route(f.model(), estimate);
  f.app->transient.set_transit(f.model(), {});
  for (int i = 0; i < 3; ++i) f.tick();
  EXPECT_EQ(f.model().origin, std::optional(fix));
  EXPECT_EQ(f.model().dest, std::optional(dest));
  EXPECT_EQ(f.model().route, std::optional(estimate));

  // The committed route carries the endpoints it was asked for; the document now holds them.
  const Route answer = make_route(48.2, 48.16);
  f.send(worker::Route{answer});
  f.tick();
  EXPECT_FALSE(f.app->transient.origin.has_value());
  EXPECT_FALSE(f.app->transient.route.has_value());
  EXPECT_TRUE(f.app->transient.transit.has_value());  // only SetTransit or ClearTransit cover it
  f.tick();
  EXPECT_EQ(f.model().origin, std::optional(fix));
  EXPECT_EQ(f.model().origin_name, "Current location");
  EXPECT_EQ(f.model().dest_name, "Museum");
  EXPECT_EQ(f.model().route, std::optional(answer));
}

TEST(TickOverlay, EachPlanActionCoversTheFieldsItCommits) {
  struct Case {
    const char* name;
    MapsAction action;
    bool endpoints_left;
    bool route_left;
    bool transit_left;
  };
  const std::vector<Case> cases = {
      {"SetRoute", MapsAction{MapsAction::SetRoute{}}, false, false, true},
      {"SetTransit", MapsAction{MapsAction::SetTransit{}}, false, true, false},
      {"ClearRoute", MapsAction{MapsAction::ClearRoute{}}, true, false, true},
      {"ClearTransit", MapsAction{MapsAction::ClearTransit{}}, true, true, false},
      {"SetTravelMode", MapsAction{MapsAction::SetTravelMode{TravelMode::Bike}}, true, true, true},
      {"UpsertPlaces", MapsAction{MapsAction::UpsertPlaces{}}, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MapModel m;
    TransientOverlay o;
    o.set_origin(m, LatLon{1, 2}, "a");
    o.set_dest(m, std::nullopt, "");
    o.set_route(m, make_route());
    o.set_transit(m, {});
    o.cover(c.action);
    EXPECT_EQ(o.origin.has_value(), c.endpoints_left);
    EXPECT_EQ(o.origin_name.has_value(), c.endpoints_left);
    EXPECT_EQ(o.dest.has_value(), c.endpoints_left);
    EXPECT_EQ(o.dest_name.has_value(), c.endpoints_left);
    EXPECT_EQ(o.route.has_value(), c.route_left);
    EXPECT_EQ(o.transit.has_value(), c.transit_left);
  }
}

TEST(TickOverlay, AppliesHeldValuesIncludingCleared) {
  MapModel shown;
  TransientOverlay o;
  o.set_dest(shown, std::nullopt, "");
  o.set_route(shown, std::nullopt);
  MapModel hydrated;
  hydrated.dest = LatLon{1, 1};
  hydrated.dest_name = "stored";
  hydrated.route = make_route();
  hydrated.origin_name = "stored origin";
  o.apply(hydrated);
  EXPECT_EQ(hydrated.dest, std::nullopt);
  EXPECT_EQ(hydrated.dest_name, "");
  EXPECT_EQ(hydrated.route, std::nullopt);
  EXPECT_EQ(hydrated.origin_name, "stored origin");  // not held: the document's value stays
}

class TickDownloads : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("maps-tick-downloads-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "15" / "1");
    std::ofstream(dir_ / "15" / "1" / "2.png", std::ios::binary) << std::string(1234, 'x');
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(TickDownloads, CompletionMeasuresTheCacheAndReportsOnlyWhileDownloadingIsShown) {
  struct Case {
    const char* status;
    StatusKind kind;
    std::uint32_t failed_before;
    std::size_t outstanding;  // tiles still to answer before this frame
    bool last_ok;
    const char* status_after;
    std::uint64_t usage_after;
  };
  const std::vector<Case> cases = {
      {"Downloading 3 tiles\u2026", StatusKind::Downloading, 0, 1, true, "Offline area ready (3 tiles)", 1234},
      {"Downloading 3 tiles\u2026", StatusKind::Downloading, 0, 1, false,
       "Offline area incomplete (1 of 3 tiles failed)", 1234},
      {"Downloading 3 tiles\u2026", StatusKind::Downloading, 1, 1, true,
       "Offline area incomplete (1 of 3 tiles failed)", 1234},
      {"Located", StatusKind::Outcome, 0, 1, true, "Located", 1234},
      // The words alone report nothing: only a status that tells of a download is replaced.
      {"Downloading is paused", StatusKind::Outcome, 0, 1, true, "Downloading is paused", 1234},
      {"Downloading 3 tiles\u2026", StatusKind::Downloading, 0, 2, true, "Downloading 3 tiles\u2026", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.status << " " << c.outstanding << " " << c.last_ok);
    TickFixture f;
    TileStore& tiles = f.app->backend.tiles;
    tiles.style_dir = dir_;
    auto [tx, rx] = base::channel<TileResult>();
    tiles.result = std::move(rx);
    const std::vector<TileKey> keys = {{1, 2, 15}, {2, 2, 15}, {3, 2, 15}};
    tiles.download_keys = keys;
    tiles.download_total = 3;
    tiles.download_done = static_cast<std::uint32_t>(3 - c.outstanding);
    tiles.download_failed = c.failed_before;
    for (std::size_t i = 3 - c.outstanding; i < 3; ++i) tiles.download_outstanding.insert(keys[i]);
    f.app->set_status(c.status, c.kind);
    ASSERT_TRUE(tx.send(TileDownloaded{keys[3 - c.outstanding], c.last_ok}));
    f.tick();
    EXPECT_EQ(f.model().status, c.status_after);
    EXPECT_EQ(f.app->offline_panel.disk_usage(), c.usage_after);
  }
}

// A store without worker finishes a download as it is asked for; the next frame still reports it.
TEST_F(TickDownloads, ADownloadThatEndedBeforeTheFrameIsReportedOnce) {
  TickFixture f;
  TileStore& tiles = f.app->backend.tiles;
  tiles.download_total = 3;
  tiles.download_done = 3;
  f.app->set_status("Downloading 3 tiles\u2026", StatusKind::Downloading);
  f.tick();
  EXPECT_EQ(f.model().status, "Offline area ready (3 tiles)");
  f.app->set_status("Located");
  f.tick();
  EXPECT_EQ(f.model().status, "Located");
}

}  // namespace
}  // namespace maps
