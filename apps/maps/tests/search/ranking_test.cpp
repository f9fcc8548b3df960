#include "search/ranking.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "search_fixtures.hpp"

namespace maps::search {
namespace {

using testing::kCentre;
using testing::north_of;
using testing::place;

std::vector<std::string> ids(const std::vector<Place>& places) {
  std::vector<std::string> out;
  for (const Place& p : places) out.push_back(p.id);
  return out;
}

TEST(OriginOrCentre, OriginWinsWhenSet) {
  const LatLon origin{1, 2};
  EXPECT_EQ(origin_or_centre(origin, kCentre), origin);
  EXPECT_EQ(origin_or_centre(std::nullopt, kCentre), kCentre);
}

TEST(DistanceBefore, TotalOrder) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(distance_before(-0.0, 0.0));
  EXPECT_FALSE(distance_before(0.0, -0.0));
  EXPECT_FALSE(distance_before(0.0, 0.0));
  EXPECT_TRUE(distance_before(1.0, 2.0));
  EXPECT_TRUE(distance_before(kInf, kNaN));
  EXPECT_TRUE(distance_before(-kInf, -kNaN));  // a NaN of either sign sorts after every number
  EXPECT_FALSE(distance_before(kNaN, 1.0));
  EXPECT_FALSE(distance_before(kNaN, kNaN));
}

TEST(SortAndDedup, RankFirstThenDistance) {
  std::vector<Place> places = {
      place("far-other", "Hofgarten", 50),
      place("near-substring", "Stadtmuseum", 400),
      place("far-exact", "Museum", 3000),
      place("near-prefix", "Museum Brandhorst", 900),
      place("nearer-substring", "Kunstmuseum", 300),
  };
  sort_and_dedup_results(places, kCentre, "museum");
  EXPECT_EQ(ids(places),
            (std::vector<std::string>{"far-exact", "near-prefix", "nearer-substring", "near-substring", "far-other"}));
}

TEST(SortAndDedup, EmptyQueryOrdersByDistanceAndKeepsTiesStable) {
  std::vector<Place> places = {place("c", "C", 30), place("a", "A", 10), place("b1", "B", 20),
                               place("b2", "Other B", 20)};
  rank_search_results(places, "  ", kCentre);
  EXPECT_EQ(ids(places), (std::vector<std::string>{"a", "b1", "b2", "c"}));
}

TEST(SortAndDedup, NearDuplicates) {
  const struct {
    const char* what;
    std::vector<Place> in;
    std::vector<std::string> kept;
  } cases[] = {
      {"80 m apart: the nearer stays",
       {place("second", "Marienplatz", 180), place("first", "Marienplatz", 100)},
       {"first"}},
      {"200 m apart: both stay", {place("a", "Marienplatz", 0), place("b", "Marienplatz", 200)}, {"a", "b"}},
      {"folded names differ: both stay",
       {place("a", "Marienplatz", 0), place("b", "Marienplatz (U/S)", 20)},
       {"a", "b"}},
      {"same folded name: case, accents and spaces do not matter",
       {place("a", "Café Glück", 0), place("b", "  CAFE  GLUCK", 30)},
       {"a"}},
      {"149 m is a duplicate, 151 m is not",
       {place("a", "Stachus", 0), place("b", "Stachus", 149), place("c", "Stachus", 151)},
       {"a", "c"}},
      {"compared with the kept entries only",
       // b duplicates a and goes; c is 140 m from b but 280 m from a, so it stays.
       {place("a", "Tor", 0), place("b", "Tor", 140), place("c", "Tor", 280)},
       {"a", "c"}},
  };
  for (const auto& c : cases) {
    std::vector<Place> places = c.in;
    sort_and_dedup_results(places, kCentre, "marienplatz");
    EXPECT_EQ(ids(places), c.kept) << c.what;
  }
}

TEST(SortAndDedup, NonFinitePositionsSortLastAndDoNotCrash) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  std::vector<Place> places = {place("nan", "Tor", 0), place("far", "Tor", 5000), place("near", "Tor", 10)};
  places[0].pos = {kNaN, kNaN};
  sort_and_dedup_results(places, kCentre, "tor");
  // A NaN distance is never "less than 150 m", so the NaN place is no duplicate either.
  EXPECT_EQ(ids(places), (std::vector<std::string>{"near", "far", "nan"}));
}

TEST(SortAndDedup, ReferencePointDecides) {
  std::vector<Place> places = {place("south", "Tor", 0), place("north", "Tor", 2000)};
  sort_and_dedup_results(places, north_of(kCentre, 1900), "tor");
  EXPECT_EQ(ids(places), (std::vector<std::string>{"north", "south"}));
}

}  // namespace
}  // namespace maps::search
