#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/geocoding.hpp"

namespace maps {
namespace {

using nlohmann::json;

json hit(std::string extra = "") { return json::parse(R"({"lat":"48.1374","lon":"11.5755")" + extra + "}"); }

TEST(ParseSearchPlace, NameRules) {
  struct Case {
    const char* extra;
    const char* name;
  };
  const Case cases[] = {
      {R"(,"name":"Marienplatz","display_name":"Marienplatz, München")", "Marienplatz"},
      {R"(,"name":"","address":{"road":"Marienplatz","house_number":"1"})", "Marienplatz 1"},
      {R"(,"name":"","address":{"road":"Marienplatz","house_number":""})", "Marienplatz"},
      {R"(,"address":{"footway":"Hofgartenweg"})", "Hofgartenweg"},
      {R"(,"name":"","display_name":"80331, Altstadt, München")", "Altstadt"},
      {R"(,"name":"","address":{"road":"","pedestrian":"Kaufingerstraße"},"display_name":"Neuhausen, München")",
       "Neuhausen"},
      {R"(,"name":"","display_name":"")", "Place"},
      {R"(,"name":5,"display_name":" 12 , , ")", "Place"},
  };
  for (const auto& c : cases) {
    auto p = parse_search_place(hit(c.extra));
    ASSERT_TRUE(p.has_value()) << c.extra;
    EXPECT_EQ(p->name, c.name) << c.extra;
    EXPECT_FALSE(p->saved);
  }
}

TEST(ParseSearchPlace, CoordinatesMustBeNumericTexts) {
  EXPECT_FALSE(parse_search_place(json::parse(R"({"lat":48.1,"lon":"11.5"})")));
  EXPECT_FALSE(parse_search_place(json::parse(R"({"lat":"48.1"})")));
  EXPECT_FALSE(parse_search_place(json::parse(R"({"lat":"north","lon":"11.5"})")));
  EXPECT_FALSE(parse_search_place(json::parse(R"({"lat":"NaN","lon":"11.5"})")));
  EXPECT_FALSE(parse_search_place(json::parse(R"([1,2])")));
  auto p = parse_search_place(hit());
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pos, (LatLon{48.1374, 11.5755}));
}

// Texts that read as numbers but name no point on the globe put the place nowhere: the hit is
// skipped. The edges of the globe themselves are kept.
TEST(ParseSearchPlace, CoordinatesOffTheGlobeAreRefused) {
  struct Case {
    const char* lat;
    const char* lon;
    bool kept;
  };
  const Case cases[] = {
      {"90", "180", true},      {"-90", "-180", true},   {"90.0001", "11.5", false}, {"-91", "11.5", false},
      {"48.1", "180.5", false}, {"48.1", "-1e3", false}, {"1e400", "11.5", false},   {"48.1", "inf", false},
      {"-nan", "11.5", false},  {"0", "-0", true},
  };
  for (const Case& c : cases) {
    const json h = {{"lat", c.lat}, {"lon", c.lon}, {"name", "X"}};
    EXPECT_EQ(parse_search_place(h).has_value(), c.kept) << c.lat << ", " << c.lon;
  }
  // A box corner off the globe counts as no box: the place's own surroundings stand in.
  auto a = parse_area_candidate(hit(R"(,"boundingbox":["48.13","48.14","-200","11.59"])"));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->min, (LatLon{48.1374 - 0.006, 11.5755 - 0.006}));
  EXPECT_EQ(a->max, (LatLon{48.1374 + 0.006, 11.5755 + 0.006}));
  auto far_north = parse_area_candidate(hit(R"(,"boundingbox":["48.13","95","11.56","11.59"])"));
  ASSERT_TRUE(far_north);
  EXPECT_EQ(far_north->max, (LatLon{48.1374 + 0.006, 11.5755 + 0.006}));
  // Near the pole and the antimeridian those surroundings stay on the globe.
  auto pole = parse_area_candidate(json{{"lat", "89.999"}, {"lon", "-179.998"}, {"name", "Pole"}});
  ASSERT_TRUE(pole);
  EXPECT_EQ(pole->max.lat, 90.0);
  EXPECT_EQ(pole->min.lon, -180.0);
  EXPECT_DOUBLE_EQ(pole->min.lat, 89.999 - 0.006);
  EXPECT_DOUBLE_EQ(pole->max.lon, -179.998 + 0.006);
}

TEST(ParseSearchPlace, IdAndCategory) {
  struct Case {
    const char* extra;
    const char* id;
    Category category;
  };
  const Case cases[] = {
      {R"(,"osm_type":"node","osm_id":42,"class":"amenity","type":"cafe")", "osm-node-42", Category::Cafe},
      {R"(,"osm_id":42)", "osm-n-42", Category::Other},
      {R"(,"osm_type":"way")", "osm-way-0", Category::Other},
      {R"(,"osm_type":"way","osm_id":"42")", "osm-way-0", Category::Other},
      {R"(,"osm_id":-7,"category":"tourism","type":"museum")", "osm-n--7", Category::Museum},
      {R"(,"class":"shop","category":"amenity","type":"cafe")", "osm-n-0", Category::Shop},
      {R"(,"class":3,"category":"railway","type":"station")", "osm-n-0", Category::Transit},
  };
  for (const auto& c : cases) {
    auto p = parse_search_place(hit(c.extra));
    ASSERT_TRUE(p) << c.extra;
    EXPECT_EQ(p->id, c.id) << c.extra;
    EXPECT_EQ(p->category, c.category) << c.extra;
  }
}

TEST(FirstNonNumericPart, SkipsEmptyAndDigitParts) {
  EXPECT_EQ(first_non_numeric_part({" 80331 ", "", " Altstadt ", "x"}), "Altstadt");
  EXPECT_EQ(first_non_numeric_part({"12a"}), "12a");
  EXPECT_EQ(first_non_numeric_part({"1", " ", "22"}), std::nullopt);
  EXPECT_EQ(first_non_numeric_part({}), std::nullopt);
}

TEST(ParseAreaCandidate, BoxAndLabel) {
  auto a = parse_area_candidate(hit(R"(,"name":"Altstadt","display_name":"Altstadt, München, Bayern",)"
                                    R"("boundingbox":["48.13","48.14","11.56","11.59"])"));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->name, "Altstadt");
  EXPECT_EQ(a->label, "München, Bayern");
  EXPECT_EQ(a->min, (LatLon{48.13, 11.56}));
  EXPECT_EQ(a->max, (LatLon{48.14, 11.59}));
  EXPECT_EQ(a->pos, (LatLon{48.1374, 11.5755}));

  auto numbers = parse_area_candidate(hit(R"(,"display_name":"Bayern","boundingbox":[48.13,48.14,11.56,11.59])"));
  ASSERT_TRUE(numbers);
  EXPECT_EQ(numbers->label, "Bayern");
  EXPECT_EQ(numbers->min, (LatLon{48.1374 - 0.006, 11.5755 - 0.006}));
  EXPECT_EQ(numbers->max, (LatLon{48.1374 + 0.006, 11.5755 + 0.006}));

  auto short_box = parse_area_candidate(hit(R"(,"display_name":"A,","boundingbox":["1","2","3"])"));
  ASSERT_TRUE(short_box);
  EXPECT_EQ(short_box->label, "");
  EXPECT_EQ(short_box->min.lat, 48.1374 - 0.006);

  EXPECT_FALSE(parse_area_candidate(json::parse(R"({"lat":1,"lon":2})")));
}

TEST(ParsePlaceSearch, ReplyShapes) {
  auto ok = parse_place_search(json::parse(R"([{"lat":"1","lon":"2","name":"A"},{"lat":3},{"lat":"5","lon":"6"}])"));
  ASSERT_TRUE(ok.is_ok());
  ASSERT_EQ(ok->size(), 2u);
  EXPECT_EQ((*ok)[0].name, "A");
  EXPECT_EQ((*ok)[1].pos, (LatLon{5, 6}));

  EXPECT_TRUE(parse_place_search(json::array()).value().empty());
  for (const char* bad : {R"({"error":"Unable to geocode"})", "null", "\"x\"", "3"}) {
    auto r = parse_place_search(json::parse(bad));
    ASSERT_TRUE(r.is_err()) << bad;
    EXPECT_EQ(r.error(), "unexpected response");
    EXPECT_EQ(parse_area_search(json::parse(bad)).error(), "unexpected response");
  }
}

TEST(ParseReverseGeocode, NameThenTwoAddressParts) {
  EXPECT_EQ(parse_reverse_geocode(json::parse(R"({"name":"Rathaus","display_name":"a, b"})")).value(), "Rathaus");
  EXPECT_EQ(parse_reverse_geocode(json::parse(R"({"name":"","display_name":"12, Marienplatz, München"})")).value(),
            "12, Marienplatz");
  EXPECT_EQ(parse_reverse_geocode(json::parse(R"({"display_name":" Bayern "})")).value(), "Bayern");
  for (const char* bad : {R"({"name":"","display_name":""})", R"({"error":"Unable to geocode"})", "[]", "null"}) {
    auto r = parse_reverse_geocode(json::parse(bad));
    ASSERT_TRUE(r.is_err()) << bad;
    EXPECT_EQ(r.error(), "no address for this location");
  }
}

TEST(GeocodingUrls, PathsAndQueries) {
  ServiceHosts hosts;
  hosts.nominatim = "http://127.0.0.1:1";
  EXPECT_EQ(place_search_url(hosts, " Café+1 "),
            "http://127.0.0.1:1/search?q=%20Caf%C3%A9%2B1%20&format=jsonv2&limit=8&addressdetails=1");
  EXPECT_EQ(reverse_geocode_url(hosts, 48.1371, -11.5),
            "http://127.0.0.1:1/reverse?lat=48.137100&lon=-11.500000&format=jsonv2&zoom=16&addressdetails=1");
  EXPECT_EQ(ServiceHosts{}.nominatim, "https://nominatim.openstreetmap.org");
}

}  // namespace
}  // namespace maps
