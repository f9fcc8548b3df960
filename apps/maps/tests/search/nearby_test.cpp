#include "search/nearby.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search_fixtures.hpp"

namespace maps::search {
namespace {

using testing::kCentre;
using testing::poi;

std::vector<std::string> ids(const std::vector<Poi>& pois) {
  std::vector<std::string> out;
  for (const Poi& p : pois) out.push_back(p.id);
  return out;
}

// Twelve points, loaded farthest first: "p1" is nearest, "p12" farthest.
std::vector<Poi> twelve() {
  std::vector<Poi> out;
  for (int i = 12; i >= 1; --i) out.push_back(poi("p" + std::to_string(i), "P", i * 100.0));
  return out;
}

TEST(NearbyPois, NearestTenFirst) {
  EXPECT_EQ(ids(nearby_pois(twelve(), kCentre, std::nullopt)),
            (std::vector<std::string>{"p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9", "p10"}));
}

TEST(NearbyPois, SelectedOutsideTheTenComesFirst) {
  EXPECT_EQ(ids(nearby_pois(twelve(), kCentre, std::string("p11"))),
            (std::vector<std::string>{"p11", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9"}));
}

TEST(NearbyPois, SelectedInsideTheTenOrUnknownChangesNothing) {
  const auto plain = ids(nearby_pois(twelve(), kCentre, std::nullopt));
  EXPECT_EQ(ids(nearby_pois(twelve(), kCentre, std::string("p4"))), plain);
  EXPECT_EQ(ids(nearby_pois(twelve(), kCentre, std::string("gone"))), plain);
}

TEST(NearbyPois, FewerThanTenAllNearestFirstWithStableTies) {
  const std::vector<Poi> pois = {poi("b", "B", 300), poi("a1", "A", 100), poi("a2", "A", 100), poi("c", "C", 50)};
  EXPECT_EQ(ids(nearby_pois(pois, kCentre, std::string("b"))), (std::vector<std::string>{"c", "a1", "a2", "b"}));
  EXPECT_TRUE(nearby_pois({}, kCentre, std::string("b")).empty());
}

TEST(NearbyPois, CopiesWholeRecords) {
  const std::vector<Poi> pois = {poi("x", "Kiosk", 10, Category::Shop, std::string("kiosk"), "Tal 1")};
  EXPECT_EQ(nearby_pois(pois, kCentre, std::nullopt), pois);
}

}  // namespace
}  // namespace maps::search
