#include "search/local_search.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search_fixtures.hpp"

namespace maps::search {
namespace {

using testing::kCentre;
using testing::place;
using testing::poi;

std::vector<std::string> ids(const std::vector<Place>& places) {
  std::vector<std::string> out;
  for (const Place& p : places) out.push_back(p.id);
  return out;
}

const std::vector<Place> kPlaces = {
    place("marienplatz", "Marienplatz", 0, Category::Landmark, "Marienplatz 1"),
    place("cafe-a", "Café Glück", 300, Category::Cafe, "Palmstraße 4"),
    place("hofgarten", "Hofgarten", 600, Category::Park, "Hofgartenstraße"),
    place("cafe-b", "Kaffeehaus", 100, Category::Cafe, "Tal 12"),
    place("museum", "Stadtmuseum", 200, Category::Museum, "St.-Jakobs-Platz 1"),
};

TEST(SearchLocalPlaces, TextMatchesKeepStoredOrder) {
  const struct {
    std::string query;
    std::vector<std::string> ids;
  } cases[] = {
      {"hof", {"hofgarten"}},
      {"  PLATZ ", {"marienplatz", "museum"}},  // by name, then by address
      {"café", {"cafe-a", "cafe-b"}},           // by the category label "Café"
      {"straße", {"cafe-a", "hofgarten"}},      // addresses, lower-cased but not folded
      {"strasse", {}},                          // local matching does not fold
      {"park", {"hofgarten"}},                  // the category label "Park"
      {"", {}},
      {" \t ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ids(search_local_places(kPlaces, {}, c.query)), c.ids) << c.query;
}

TEST(SearchLocalPlaces, CategoryKeywordsOnlyWhenNoTextMatched) {
  // "coffee" is in no name, address or label: the Cafe places match by keyword.
  EXPECT_EQ(ids(search_local_places(kPlaces, {}, "Coffee")), (std::vector<std::string>{"cafe-a", "cafe-b"}));
  // "ca": every Cafe place matches, through its label "Café".
  EXPECT_EQ(ids(search_local_places(kPlaces, {}, "ca")), (std::vector<std::string>{"cafe-a", "cafe-b"}));
  // A text match elsewhere suppresses the keyword pass: "garden" is a Park keyword, but no place's
  // text holds it, so Hofgarten matches by keyword; add a place named "Garden Bar" and only it matches.
  std::vector<Place> with_garden = kPlaces;
  with_garden.push_back(place("garden-bar", "Garden Bar", 50, Category::Bar));
  EXPECT_EQ(ids(search_local_places(kPlaces, {}, "garden")), (std::vector<std::string>{"hofgarten"}));
  EXPECT_EQ(ids(search_local_places(with_garden, {}, "garden")), (std::vector<std::string>{"garden-bar"}));
}

TEST(SearchLocalPlaces, QueryInsideAKeywordMatchesTheCategory) {
  const std::vector<Place> places = {place("c", "Kaffeehaus", 0, Category::Cafe, "Tal 12"),
                                     place("p", "Englischer Garten", 0, Category::Park, "")};
  // "esp" is part of "espresso"; no text holds it.
  EXPECT_EQ(ids(search_local_places(places, {}, "esp")), (std::vector<std::string>{"c"}));
}

TEST(SearchLocalPlaces, PointsOfInterestAfterPlaces) {
  const std::vector<Poi> pois = {
      poi("node/1", "Bean Bar", 10, Category::Cafe),                                  // keyword "coffee"
      poi("cafe-a", "Café Glück (POI copy)", 300, Category::Cafe),                    // same id as a listed place
      poi("node/2", "Corner", 20, Category::Shop, std::string("Coffee")),             // by kind
      poi("node/3", "Tram stop", 30, Category::Transit),                              // no match
      poi("node/1", "Bean Bar again", 10, Category::Cafe),                            // a repeated id
      poi("node/4", "Roastery", 40, Category::Other, std::nullopt, "Coffee Lane 3"),  // by address
  };
  const std::vector<Place> out = search_local_places(kPlaces, pois, "coffee");
  EXPECT_EQ(ids(out), (std::vector<std::string>{"cafe-a", "cafe-b", "node/1", "node/2", "node/4"}));
  const Place& from_poi = out[2];
  EXPECT_EQ(from_poi.name, "Bean Bar");
  EXPECT_EQ(from_poi.category, Category::Cafe);
  EXPECT_EQ(from_poi.pos, pois[0].pos);
  EXPECT_FALSE(from_poi.saved);
}

TEST(SearchLocalPlaces, PointOfInterestWithTheIdOfAnUnlistedPlaceIsListed) {
  const std::vector<Poi> pois = {poi("hofgarten", "Hofgarten Kiosk", 600)};
  const std::vector<Place> out = search_local_places(kPlaces, pois, "kiosk");
  EXPECT_EQ(ids(out), (std::vector<std::string>{"hofgarten"}));
  EXPECT_EQ(out[0].name, "Hofgarten Kiosk");
}

TEST(LocalSearchSorted, RankedAndDeduplicated) {
  const std::vector<Poi> pois = {poi("node/9", "Marienplatz", 40, Category::Transit)};  // 40 m from the place
  const std::vector<Place> out = local_search_sorted(kPlaces, pois, "Marienplatz", kCentre);
  EXPECT_EQ(ids(out), (std::vector<std::string>{"marienplatz"}));
}

TEST(PrepareSearchSubmission, TrimsAndRanks) {
  EXPECT_EQ(prepare_search_submission(kPlaces, {}, "   ", kCentre), std::nullopt);
  EXPECT_EQ(prepare_search_submission(kPlaces, {}, "", kCentre), std::nullopt);
  const auto s = prepare_search_submission(kPlaces, {}, "  coffee ", kCentre);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->text, "coffee");
  EXPECT_EQ(ids(s->results), (std::vector<std::string>{"cafe-b", "cafe-a"}));  // both rank 3: nearest first
  const auto none = prepare_search_submission(kPlaces, {}, "zzz", kCentre);
  ASSERT_TRUE(none);
  EXPECT_EQ(none->text, "zzz");
  EXPECT_TRUE(none->results.empty());
}

}  // namespace
}  // namespace maps::search
