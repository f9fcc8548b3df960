#include <gtest/gtest.h>

#include "net/http_client.hpp"
#include "net/pois.hpp"

namespace maps {
namespace {

using nlohmann::json;

TEST(PoiCategory, Table) {
  struct Case {
    const char* key;
    const char* value;
    Category category;
  };
  const Case cases[] = {
      {"amenity", "cafe", Category::Cafe},         {"amenity", "food_court", Category::Restaurant},
      {"amenity", "biergarten", Category::Bar},    {"amenity", "doctors", Category::Hospital},
      {"amenity", "pharmacy", Category::Other},    {"amenity", "Cafe", Category::Other},
      {"tourism", "artwork", Category::Museum},    {"tourism", "motel", Category::Hotel},
      {"tourism", "monument", Category::Landmark}, {"tourism", "zoo", Category::Other},
      {"historic", "castle", Category::Landmark},  {"leisure", "nature_reserve", Category::Park},
      {"leisure", "pitch", Category::Other},       {"shop", "bakery", Category::Shop},
      {"railway", "halt", Category::Transit},      {"public_transport", "station", Category::Transit},
      {"highway", "bus_stop", Category::Transit},  {"highway", "primary", Category::Other},
      {"place", "city", Category::Other},          {"", "", Category::Other},
  };
  for (const auto& c : cases) EXPECT_EQ(poi_category(c.key, c.value), c.category) << c.key << "=" << c.value;
}

TEST(OverpassQuery, BoxInEveryFilter) {
  const std::string q = overpass_query(48.1, 11.5, 48.2, 11.6);
  const std::string box = "(48.10000,11.50000,48.20000,11.60000)";
  std::size_t count = 0;
  for (auto pos = q.find(box); pos != std::string::npos; pos = q.find(box, pos + 1)) ++count;
  EXPECT_EQ(count, 7u);
  EXPECT_EQ(q.rfind("[out:json][timeout:20];(nwr[\"amenity\"~\"^(restaurant|cafe|bar|pub|fast_food|biergarten|", 0),
            0u);
  EXPECT_NE(q.find("nwr[\"highway\"=\"bus_stop\"]" + box + ";nwr[\"public_transport\"=\"station\"]" + box +
                   ";);out center 250;"),
            std::string::npos);
  ServiceHosts hosts;
  hosts.overpass = "http://h";
  EXPECT_EQ(overpass_url(hosts, 48.1, 11.5, 48.2, 11.6), "http://h/api/interpreter?data=" + percent_encode(q));
}

const char* kElements = R"({"elements": [
  {"type": "node", "id": 1, "lat": 48.1, "lon": 11.5,
   "tags": {"name": "Café Frischhut", "shop": "bakery", "amenity": "cafe", "addr:street": "Leopoldstraße",
            "addr:housenumber": "12", "addr:city": "München", "opening_hours": "Mo-Fr 07:00-18:00",
            "contact:website": "https://example.org", "phone": "+49 89 1", "contact:phone": "ignored"}},
  {"type": "way", "id": 2, "center": {"lat": 48.2, "lon": 11.6}, "tags": {"name": "Park", "leisure": "park",
   "addr:housenumber": "3", "addr:city": "München", "cuisine": "coffee_shop"}},
  {"type": "way", "id": 3, "tags": {"name": "No centre", "leisure": "park"}},
  {"type": "node", "id": 4, "lat": 48, "lon": 11, "tags": {"name": "", "amenity": "bar"}},
  {"type": "node", "id": 5, "lat": 48, "lon": 11, "tags": {"name": "House", "building": "yes"}},
  {"type": "node", "id": 6, "lat": 48, "lon": 11, "tags": {"name": "Apotheke", "amenity": "pharmacy",
   "addr:street": "Marienplatz"}},
  {"type": "node", "id": 1, "lat": 1, "lon": 1, "tags": {"name": "Duplicate", "amenity": "bar"}},
  {"id": "7", "lat": "48", "lon": 11, "center": {"lat": 47, "lon": 10}, "tags": {"name": "Stop",
   "highway": "bus_stop", "shop": ""}},
  "junk", {"tags": 5}
]})";

TEST(ParseOverpassPois, ElementsToPoints) {
  const auto pois = parse_overpass_pois(json::parse(kElements));
  ASSERT_EQ(pois.size(), 4u);

  EXPECT_EQ(pois[0], (Poi{"osm-node-1",
                          "Café Frischhut",
                          "Leopoldstraße 12, München",
                          "Mo-Fr 07:00-18:00",
                          "https://example.org",
                          "+49 89 1",
                          "bakery",
                          {48.1, 11.5},
                          Category::Cafe}));
  EXPECT_EQ(pois[1], (Poi{"osm-way-2",
                          "Park",
                          "München",
                          std::nullopt,
                          std::nullopt,
                          std::nullopt,
                          "coffee shop",
                          {48.2, 11.6},
                          Category::Park}));
  EXPECT_EQ(pois[2].id, "osm-node-6");
  EXPECT_EQ(pois[2].category, Category::Other);
  EXPECT_EQ(pois[2].address, "Marienplatz");
  EXPECT_EQ(pois[3].id, "osm-node-0");
  EXPECT_EQ(pois[3].pos, (LatLon{47, 10}));
  EXPECT_EQ(pois[3].category, Category::Transit);
  EXPECT_EQ(pois[3].kind, std::nullopt);
}

TEST(ParseOverpassPois, PositionsOffTheGlobeAreRefused) {
  const auto pois = parse_overpass_pois(json::parse(R"({"elements": [
    {"type": "node", "id": 1, "lat": 91, "lon": 11, "tags": {"name": "Over the pole", "amenity": "cafe"}},
    {"type": "node", "id": 2, "lat": 48, "lon": -181, "tags": {"name": "Past the date line", "amenity": "cafe"}},
    {"type": "way", "id": 3, "lat": 48, "lon": 1e300, "center": {"lat": 47, "lon": 10},
     "tags": {"name": "Centre stands in", "amenity": "cafe"}},
    {"type": "way", "id": 4, "center": {"lat": -1e10, "lon": 10}, "tags": {"name": "Bad centre", "amenity": "cafe"}}
  ]})"));
  ASSERT_EQ(pois.size(), 1u);
  EXPECT_EQ(pois[0].id, "osm-way-3");
  EXPECT_EQ(pois[0].pos, (LatLon{47, 10}));
}

TEST(ParseOverpassPois, MissingElementsGiveNothing) {
  for (const char* v : {"{}", R"({"elements":{}})", "[]", "null", R"({"elements":[]})"}) {
    EXPECT_TRUE(parse_overpass_pois(json::parse(v)).empty()) << v;
  }
}

TEST(ParseOverpassReply, ARuntimeErrorRemarkIsAnErrorWithItsText) {
  const char* timed_out =
      R"({"version":0.6,"elements":[],"remark":"runtime error: Query timed out in \"query\" at line 1 after 21 seconds."})";
  auto r = parse_overpass_reply(json::parse(timed_out));
  ASSERT_TRUE(r.is_err());
  EXPECT_EQ(r.error(), "runtime error: Query timed out in \"query\" at line 1 after 21 seconds.");

  // Elements that came before the failure are a partial answer, not a success.
  const char* partial = R"({"elements":[{"type":"node","id":1,"lat":48.1,"lon":11.5,
    "tags":{"name":"A","amenity":"cafe"}}],"remark":" runtime error: Query ran out of memory "})";
  auto p = parse_overpass_reply(json::parse(partial));
  ASSERT_TRUE(p.is_err());
  EXPECT_EQ(p.error(), "runtime error: Query ran out of memory");

  // Other remarks, or none, leave the answer as it is.
  for (const char* fine : {R"({"elements":[],"remark":"runtime remark: Timeout is 20 seconds."})",
                           R"({"elements":[],"remark":5})", R"({"elements":[]})"}) {
    auto ok = parse_overpass_reply(json::parse(fine));
    ASSERT_TRUE(ok.is_ok()) << fine;
    EXPECT_TRUE(ok->empty()) << fine;
  }
}

}  // namespace
}  // namespace maps
