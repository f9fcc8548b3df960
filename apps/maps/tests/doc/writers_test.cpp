#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "doc/readers.hpp"
#include "doc/writers.hpp"
#include "doc_fixtures.hpp"
#include "sample/sample_data.hpp"
#include "search/recents.hpp"

namespace maps::doc {
namespace {

using automerge::AutoCommit;
using testing::place;
using testing::region;

MapsAction commit(std::string q) { return MapsAction{MapsAction::CommitSearch{std::move(q)}}; }

std::vector<std::string> recents_of(AutoCommit& doc) { return read_recents(doc, testing::root_of(doc)); }

automerge::ExId recent_record(AutoCommit& doc, std::string_view text) {
  return *get_map(doc, testing::child_map(doc, testing::root_of(doc), kRecents), recent_search_key(text));
}

// The keys under "recents", whatever their records say.
std::vector<std::string> recent_keys(AutoCommit& doc) {
  return doc.keys(testing::child_map(doc, testing::root_of(doc), kRecents));
}

TEST(SeedingAndRewrites, UnchangedWritesLeaveTheHeadsAlone) {
  struct Case {
    const char* name;
    std::function<void(AutoCommit&)> write;
  };
  const MapModel sample_without_lists = [] {
    MapModel m = sample_map_model();
    m.route.reset();
    m.transit.clear();
    return m;
  }();
  const Case cases[] = {
      {"seed twice (no lists)", [&](AutoCommit& d) { save_map_model(d, sample_without_lists); }},
      {"SetTravelMode", [](AutoCommit& d) { maps_action_apply({MapsAction::SetTravelMode{TravelMode::Bike}}, d); }},
      {"UpsertPlaces", [](AutoCommit& d) { maps_action_apply({MapsAction::UpsertPlaces{{place("a", "A")}}}, d); }},
      {"SetPlaceSaved",
       [](AutoCommit& d) {
         maps_action_apply({MapsAction::SetPlaceSaved{"a", true}}, d);
       }},
      {"AddRegion", [](AutoCommit& d) { maps_action_apply({MapsAction::AddRegion{region("r")}}, d); }},
      {"DeleteRegion", [](AutoCommit& d) { maps_action_apply({MapsAction::DeleteRegion{"r"}}, d); }},
      {"ClearRegions", [](AutoCommit& d) { maps_action_apply({MapsAction::ClearRegions{}}, d); }},
      {"CommitSearch", [](AutoCommit& d) { maps_action_apply(commit("Museum"), d); }},
      {"ClearRecents", [](AutoCommit& d) { maps_action_apply({MapsAction::ClearRecents{}}, d); }},
  };
  for (const Case& c : cases) {
    AutoCommit doc;
    save_map_model(doc, sample_without_lists);
    c.write(doc);
    const auto heads = doc.get_heads();
    const auto changes = doc.change_count();
    c.write(doc);
    // The plan texts are put again on seeding, so only count non-plan changes there.
    if (std::string_view(c.name).starts_with("seed")) {
      EXPECT_LE(doc.change_count(), changes + 1) << c.name;
    } else {
      EXPECT_EQ(doc.get_heads(), heads) << c.name;
    }
  }
}

TEST(SeedingAndRewrites, SeedingTwiceChangesNoRecordScalarOrText) {
  AutoCommit doc;
  const MapModel model = sample_map_model();
  save_map_model(doc, model);
  auto first = load_map_model(doc);
  const auto before = doc.get_heads();
  auto places = testing::child_map(doc, testing::root_of(doc), kPlaces);
  const auto place_keys = doc.keys(places);
  // Snapshot every record value id: an unchanged record keeps its operation ids.
  std::vector<std::optional<automerge::ValueEntry>> ids;
  for (const auto& k : place_keys) {
    auto rec = *get_map(doc, places, k);
    for (const char* field : {"name", "saved", "category"}) ids.push_back(*doc.get(rec, field));
  }
  save_map_model(doc, model);
  EXPECT_NE(doc.get_heads(), before);  // plans and lists are rewritten
  std::size_t i = 0;
  for (const auto& k : place_keys) {
    auto rec = *get_map(doc, places, k);
    for (const char* field : {"name", "saved", "category"}) EXPECT_EQ(*doc.get(rec, field), ids[i++]) << k << field;
  }
  EXPECT_EQ(load_map_model(doc), first);
  MapModel expected = testing::persisted_part(model);
  std::stable_sort(expected.places.begin(), expected.places.end(), [](auto& a, auto& b) { return a.id < b.id; });
  std::stable_sort(expected.regions.begin(), expected.regions.end(), [](auto& a, auto& b) { return a.id < b.id; });
  EXPECT_EQ(testing::persisted_part(*first), expected);
}

TEST(RecentSearches, CommitRules) {
  AutoCommit doc;
  auto root = testing::root_of(doc);
  write_recents(doc, root, {"one", "two", "three", "cafe", "five"});
  maps_action_apply(commit("Cafe"), doc);
  EXPECT_EQ(recents_of(doc), (std::vector<std::string>{"Cafe", "one", "two", "three", "five"}));
  auto rec = recent_record(doc, "cafe");
  EXPECT_EQ(read_text(doc, rec, "text"), "Cafe");
  EXPECT_EQ(read_uint(doc, rec, "rank"), 0u);

  for (const char* q : {"six", "seven", "eight", "nine"}) maps_action_apply(commit(q), doc);
  EXPECT_EQ(recents_of(doc),
            (std::vector<std::string>{"nine", "eight", "seven", "six", "Cafe", "one", "two", "three"}));
  // What fell off the list leaves no key behind.
  EXPECT_EQ(recent_keys(doc).size(), search::kMaxRecentSearches);
  const auto keys = recent_keys(doc);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), recent_search_key("five")), 0);

  maps_action_apply({MapsAction::ClearRecents{}}, doc);
  EXPECT_TRUE(recents_of(doc).empty());
  EXPECT_TRUE(recent_keys(doc).empty());
  maps_action_apply(commit("two"), doc);
  EXPECT_EQ(recents_of(doc), std::vector<std::string>{"two"});
  EXPECT_EQ(read_uint(doc, recent_record(doc, "two"), "rank"), 0u);
  EXPECT_EQ(recent_keys(doc), std::vector<std::string>{recent_search_key("two")});
}

// However many searches were made, the document keeps as many keys as the list shows; one written
// by an older version, whose fallen-off records are only marked deleted, reads as it did (those
// records hidden, one revived by a new search shown) and loses those keys with the next search.
TEST(RecentSearches, FallenOffSearchesLeaveNoKeyAndOlderDocumentsStillRead) {
  AutoCommit doc;
  for (int i = 0; i < 200; ++i) maps_action_apply(commit("search " + std::to_string(i)), doc);
  EXPECT_EQ(recent_keys(doc).size(), search::kMaxRecentSearches);
  EXPECT_EQ(recents_of(doc).front(), "search 199");
  EXPECT_EQ(recents_of(doc).back(), "search 192");

  AutoCommit older;
  auto root = testing::root_of(older);
  write_recents(older, root, {"kept", "old one", "old two"});
  for (const char* text : {"old one", "old two"}) tombstone_record(older, recent_record(older, text));
  older.commit();
  EXPECT_EQ(recents_of(older), std::vector<std::string>{"kept"});
  EXPECT_EQ(recent_keys(older).size(), 3u);
  maps_action_apply(commit("Old Two"), older);  // the same search again, in other letters
  EXPECT_EQ(recents_of(older), (std::vector<std::string>{"Old Two", "kept"}));
  EXPECT_EQ(recent_keys(older).size(), 2u);
}

TEST(RecentSearches, RepeatInOtherNonAsciiCaseBecomesTheNewestEntryWithItsOwnText) {
  struct Case {
    std::vector<std::string> commits;
    std::vector<std::string> want;
  };
  const std::vector<Case> cases = {
      {{"m\u00fcnchen", "M\u00dcNCHEN"}, {"M\u00dcNCHEN"}},
      {{"M\u00dcNCHEN", "Bonn", " m\u00fcnchen "}, {"m\u00fcnchen", "Bonn"}},
      {{"\u00c9clair", "caf\u00e9", "\u00e9CLAIR"}, {"\u00e9CLAIR", "caf\u00e9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want.front());
    AutoCommit doc;
    std::vector<std::string> in_memory;
    for (const std::string& text : c.commits) {
      maps_action_apply(commit(text), doc);
      search::push_recent_search(in_memory, text);
    }
    EXPECT_EQ(recents_of(doc), c.want);
    EXPECT_EQ(in_memory, c.want) << "the state's own list follows the same rule";
    EXPECT_EQ(read_uint(doc, recent_record(doc, c.want.front()), "rank"), 0u);
  }
}

TEST(Places, UpsertRevivesAndNeverUnsaves) {
  AutoCommit doc;
  MapModel m;
  m.places = {place("a", "A", true), place("b", "B", true)};
  save_map_model(doc, m);
  m.places = {place("a", "A", true)};
  save_map_model(doc, m);                                           // "b" is tombstoned
  maps_action_apply({MapsAction::SetPlaceSaved{"b", false}}, doc);  // no effect on a tombstone
  maps_action_apply({MapsAction::UpsertPlaces{{place("a", "A2"), place("b", "B2"), place("b", "B3")}}}, doc);
  auto loaded = *load_map_model(doc);
  ASSERT_EQ(loaded.places.size(), 2u);
  EXPECT_EQ(loaded.places[0], place("a", "A2", true));
  EXPECT_EQ(loaded.places[1], place("b", "B3", false));  // revived with the new fields
}

TEST(Regions, DeleteOfAnUnknownIdChangesNoRecord) {
  AutoCommit doc;
  maps_action_apply({MapsAction::AddRegion{region("r")}}, doc);
  maps_action_apply({MapsAction::DeleteRegion{"zzz"}}, doc);
  auto regions = testing::child_map(doc, testing::root_of(doc), kRegions);
  EXPECT_EQ(doc.keys(regions), std::vector<std::string>{"r"});
  maps_action_apply({MapsAction::DeleteRegion{"r"}}, doc);
  maps_action_apply({MapsAction::AddRegion{region("r", "Again")}}, doc);
  EXPECT_EQ(load_map_model(doc)->regions, std::vector<DownloadedRegion>{region("r", "Again")});
}

TEST(Plans, SeedingWithoutARouteKeepsTheRouteMapButThePlanHidesIt) {
  AutoCommit doc;
  MapModel m = testing::model_with_everything();
  save_map_model(doc, m);
  m.route.reset();
  m.transit.clear();
  save_map_model(doc, m);
  auto root = testing::root_of(doc);
  EXPECT_TRUE(get_map(doc, root, kRoute).has_value());
  EXPECT_EQ(read_text(doc, root, kRoutePlan), "\"None\"");
  auto loaded = *load_map_model(doc);
  EXPECT_EQ(loaded.route, std::nullopt);
  EXPECT_TRUE(loaded.transit.empty());
  EXPECT_EQ(doc.length(*get_list(doc, root, kTransit)), 0u);
}

// The endpoints the person chose are one pair for every travel mode: a mode switch goes on with
// them, a plan of the new mode made for other endpoints ends, and ending the route ends its
// start but keeps the destination; all of it reads back the same after a restart.
TEST(Plans, ChosenEndpointsOutlastModeSwitchesAndEndingTheRoute) {
  const LatLon a{48.10, 11.50}, b{48.20, 11.60}, c{48.13, 11.56}, d{48.137, 11.575};
  AutoCommit doc;
  save_map_model(doc, MapModel{});
  maps_action_apply({MapsAction::SetTransit{{testing::journey()}, a, "A", b, "B"}}, doc);
  maps_action_apply({MapsAction::SetTravelMode{TravelMode::Car}}, doc);
  maps_action_apply({MapsAction::SetRoute{testing::route(), c, "C", d, "D", TravelMode::Car}}, doc);

  struct Step {
    const char* name;
    MapsAction action;
    std::optional<LatLon> origin;
    std::string origin_name;
    std::optional<LatLon> dest;
    bool route;
    bool journeys;
  };
  const Step steps[] = {
      {"to transit: the journeys made from A end",
       {MapsAction::SetTravelMode{TravelMode::Transit}},
       c,
       "C",
       d,
       true,
       false},
      {"back to the car: its route goes on", {MapsAction::SetTravelMode{TravelMode::Car}}, c, "C", d, true, false},
      {"the route ends, and its start", {MapsAction::ClearRoute{}}, std::nullopt, "Map centre", d, false, false},
      {"to transit after the end",
       {MapsAction::SetTravelMode{TravelMode::Transit}},
       std::nullopt,
       "Map centre",
       d,
       false,
       false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    maps_action_apply(step.action, doc);
    auto reloaded = AutoCommit::load(doc.save());
    ASSERT_TRUE(reloaded);
    for (const AutoCommit* read : {&doc, &*reloaded}) {
      const MapModel m = *load_map_model(*read);
      EXPECT_EQ(m.origin, step.origin);
      EXPECT_EQ(m.origin_name, step.origin_name);
      EXPECT_EQ(m.dest, step.dest);
      EXPECT_EQ(m.dest_name, "D");
      EXPECT_EQ(m.route.has_value(), step.route);
      EXPECT_EQ(!m.transit.empty(), step.journeys);
    }
  }
}

}  // namespace
}  // namespace maps::doc
