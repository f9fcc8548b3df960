#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "doc/readers.hpp"
#include "doc/readers_records.hpp"
#include "doc/writers.hpp"
#include "doc_fixtures.hpp"

namespace maps::doc {
namespace {

using automerge::AutoCommit;
using testing::journey;
using testing::place;
using testing::region;

// Two copies of one seeded document; each test edits both and merges them both ways.
struct Pair {
  AutoCommit a;
  AutoCommit b;
  explicit Pair(const MapModel& seed) {
    save_map_model(a, seed);
    a.commit();
    b = a.fork();
  }
  void merge_both() {
    ASSERT_TRUE(a.merge(b));
    ASSERT_TRUE(b.merge(a));
  }
};

automerge::ExId record(AutoCommit& doc, std::string_view collection, std::string_view id) {
  return *get_map(doc, testing::child_map(doc, testing::root_of(doc), collection), id);
}

TEST(Conflicts, ConcurrentDeleteAndReviveReadsDeletedAndSavedReadsItsWinner) {
  MapModel seed;
  seed.places = {place("p", "P")};
  seed.regions = {region("r")};
  Pair pair(seed);
  put_bool_if_changed(pair.a, record(pair.a, kPlaces, "p"), "saved", true);
  put_bool_if_changed(pair.b, record(pair.b, kPlaces, "p"), "saved", false);
  (void)pair.b.put(record(pair.b, kPlaces, "p"), "saved", automerge::ScalarValue::boolean(false));
  (void)pair.a.put(record(pair.a, kRegions, "r"), kDeleted, automerge::ScalarValue::boolean(true));
  (void)pair.b.put(record(pair.b, kRegions, "r"), kDeleted, automerge::ScalarValue::boolean(false));
  pair.merge_both();

  for (AutoCommit* doc : {&pair.a, &pair.b}) {
    auto rec = record(*doc, kRegions, "r");
    EXPECT_EQ(doc->get_all(rec, kDeleted)->size(), 2u);
    EXPECT_TRUE(is_deleted(*doc, rec));
    auto p = record(*doc, kPlaces, "p");
    auto all = *doc->get_all(p, "saved");
    ASSERT_EQ(all.size(), 2u);
    const bool winner = *all.back().value.to_scalar().as_bool();
    EXPECT_EQ(read_bool_field(*doc, p, "saved"), winner);
    EXPECT_TRUE(load_map_model(*doc)->regions.empty());
    EXPECT_EQ(load_map_model(*doc)->places.at(0).saved, winner);
  }
  EXPECT_EQ(load_map_model(pair.a), load_map_model(pair.b));

  // Reviving clears every concurrent value, even when the winning one already says false.
  maps_action_apply({MapsAction::AddRegion{region("r", "Back")}}, pair.a);
  EXPECT_EQ(pair.a.get_all(record(pair.a, kRegions, "r"), kDeleted)->size(), 1u);
  EXPECT_EQ(load_map_model(pair.a)->regions, std::vector<DownloadedRegion>{region("r", "Back")});
}

TEST(Conflicts, ConcurrentListRewritesConvergeToReadableJourneys) {
  MapModel seed;
  seed.transit = {journey("08:00")};
  Pair pair(seed);
  write_transit(pair.a, testing::root_of(pair.a), {journey("09:00"), journey("09:30")});
  write_transit(pair.b, testing::root_of(pair.b), {journey("10:00")});
  pair.merge_both();
  auto list = *get_list(pair.a, testing::root_of(pair.a), kTransit);
  // Both rebuilds survive side by side; the old element is gone from both.
  EXPECT_EQ(pair.a.length(list), 3u);
  // The loader follows the seeded plan; the rebuilt list itself reads the same on both sides.
  auto deps = [](AutoCommit& doc) {
    std::vector<std::string> out;
    auto l = *get_list(doc, testing::root_of(doc), kTransit);
    for (std::size_t i = 0; i < doc.length(l); ++i) {
      if (auto j = read_transit_journey(doc, l, i)) out.push_back(j->dep);
    }
    return out;
  };
  auto da = deps(pair.a);
  EXPECT_EQ(da, deps(pair.b));
  std::sort(da.begin(), da.end());
  EXPECT_EQ(da, (std::vector<std::string>{"09:00", "09:30", "10:00"}));
}

TEST(Conflicts, ConcurrentRecentCommitsKeepEveryLiveRecord) {
  MapModel seed;
  seed.recents = {"a", "b", "c", "d", "e", "f", "g", "h"};
  Pair pair(seed);
  maps_action_apply({MapsAction::CommitSearch{"x"}}, pair.a);
  maps_action_apply({MapsAction::CommitSearch{"y"}}, pair.b);
  pair.merge_both();
  // Each side deleted "h"; both new texts are live at rank 0, ordered by key, and nothing is capped.
  auto recents = load_map_model(pair.a)->recents;
  EXPECT_EQ(recents, (std::vector<std::string>{"x", "y", "a", "b", "c", "d", "e", "f", "g"}));
  EXPECT_EQ(load_map_model(pair.b)->recents, recents);
}

// One side's search pushes "h" off the list (its key deleted) while the other searches "h" again
// (its record written): the copies meet without error and read alike, as they did when a
// fallen-off record was only marked deleted.
TEST(Conflicts, ASearchFallingOffMeetsTheSameSearchMadeAgain) {
  MapModel seed;
  seed.recents = {"a", "b", "c", "d", "e", "f", "g", "h"};
  Pair pair(seed);
  maps_action_apply({MapsAction::CommitSearch{"x"}}, pair.a);
  maps_action_apply({MapsAction::CommitSearch{"h"}}, pair.b);
  pair.merge_both();
  const auto recents = load_map_model(pair.a)->recents;
  EXPECT_EQ(load_map_model(pair.b)->recents, recents);
  EXPECT_EQ(recents, (std::vector<std::string>{"x", "a", "b", "c", "d", "e", "f", "g"}));
  // The next search on either side writes a list of eight again.
  maps_action_apply({MapsAction::CommitSearch{"z"}}, pair.b);
  EXPECT_EQ(load_map_model(pair.b)->recents, (std::vector<std::string>{"z", "x", "a", "b", "c", "d", "e", "f"}));
}

// Values replaced as a whole (enumeration texts, names, ids, addresses) end with one of the two
// values written concurrently, never a mixture of both.
TEST(Conflicts, ConcurrentWholeValueWritesEndWithOneOfTheValues) {
  struct Case {
    const char* name;
    std::function<void(AutoCommit&, int side)> write;
    std::function<std::string(const MapModel&)> read;
    std::string values[2];
  };
  // Each field of a record has its own winner; the seed differs from both sides in every field.
  const auto upsert = [](AutoCommit& d, int side) {
    Place p = place("p", side ? "Kaffeehaus" : "Museum");
    p.category = side ? Category::Cafe : Category::Museum;
    p.address = side ? "Ring 1" : "Platz 22";
    maps_action_apply({MapsAction::UpsertPlaces{{p}}}, d);
  };
  const std::vector<Case> cases = {
      {"travel mode",
       [](AutoCommit& d, int side) {
         maps_action_apply({MapsAction::SetTravelMode{side ? TravelMode::Bike : TravelMode::Transit}}, d);
       },
       [](const MapModel& m) { return std::string(travel_mode_key(m.mode)); },
       {"transit", "bike"}},
      {"place name",
       [&](AutoCommit& d, int side) { upsert(d, side); },
       [](const MapModel& m) { return m.places.at(0).name; },
       {"Museum", "Kaffeehaus"}},
      {"place category",
       [&](AutoCommit& d, int side) { upsert(d, side); },
       [](const MapModel& m) { return std::string(doc_key(m.places.at(0).category)); },
       {"museum", "cafe"}},
      {"place address",
       [&](AutoCommit& d, int side) { upsert(d, side); },
       [](const MapModel& m) { return m.places.at(0).address; },
       {"Platz 22", "Ring 1"}},
      {"region name",
       [](AutoCommit& d, int side) {
         maps_action_apply({MapsAction::AddRegion{region("r", side ? "Altstadt" : "Neustadt")}}, d);
       },
       [](const MapModel& m) { return m.regions.at(0).name; },
       {"Neustadt", "Altstadt"}},
      {"route endpoint names",
       [](AutoCommit& d, int side) {
         MapsAction::SetRoute set{testing::route(),   LatLon{48.1, 11.5},       side ? "Home" : "Office",
                                  LatLon{48.3, 11.7}, side ? "Gym" : "Station", TravelMode::Car};
         maps_action_apply({set}, d);
       },
       [](const MapModel& m) { return m.origin_name + "|" + m.dest_name; },
       {"Office|Station", "Home|Gym"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MapModel seed;
    seed.places = {place("p", "Seeded")};
    seed.places[0].category = Category::Park;
    seed.regions = {region("r", "Seeded")};
    seed.origin_name = "Seeded start";
    seed.dest_name = "Seeded end";
    Pair pair(seed);
    c.write(pair.a, 0);
    c.write(pair.b, 1);
    pair.merge_both();
    const std::string got = c.read(*load_map_model(pair.a));
    EXPECT_EQ(got, c.read(*load_map_model(pair.b)));
    EXPECT_TRUE(got == c.values[0] || got == c.values[1]) << got;
  }
}

}  // namespace
}  // namespace maps::doc
