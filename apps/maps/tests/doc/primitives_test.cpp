#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "doc/primitives.hpp"
#include "doc/readers_records.hpp"
#include "doc/schema_keys.hpp"
#include "doc_fixtures.hpp"

namespace maps::doc {
namespace {

using automerge::AutoCommit;
using automerge::ObjType;
using automerge::ScalarValue;

TEST(RecentSearchKey, TrimsLowerCasesAndHexEncodes) {
  struct Case {
    const char* text;
    const char* key;
  };
  const Case cases[] = {
      {"museum", "6d757365756d"},
      {"  Museum \t", "6d757365756d"},
      {"\u00a0museum\u2003", "6d757365756d"},  // Unicode white space is trimmed too
      {"Caf\u00e9", "636166c3a9"},             // the last letter takes two bytes
      {"M\u00dcNCHEN", "6dc3bc6e6368656e"},
      {"m\u00fcnchen", "6dc3bc6e6368656e"},
      {"", ""},
      // Stored keys: these must never change.
      {"GRO\u1e9eE Stra\u00dfe", "67726fc39f652073747261c39f65"},
      {"D\u0130YARBAKIR \u0131", "6469cc8779617262616b697220c4b1"},
      {"\u039f\u0394\u039f\u03a3", "cebfceb4cebfcf82"},  // final sigma
      {"\u0535\u0550\u0535\u054e\u0531\u0546", "d5a5d680d5a5d5bed5a1d5b6"},
      {"E\u0301 \U00010400", "65cc8120f09090a8"},
      {"\xC0\xAF\xED\xA0\x80", "efbfbdefbfbdefbfbdefbfbdefbfbd"},
      {"\u3000\u00a0Marien\u00a0platz\u2029", "6d617269656ec2a0706c61747a"},
  };
  for (const Case& c : cases) EXPECT_EQ(recent_search_key(c.text), c.key) << c.text;
}

TEST(EnumKeys, ExactLowerCaseTextsOnly) {
  EXPECT_EQ(travel_mode_key(TravelMode::Bike), "bike");
  EXPECT_EQ(parse_travel_mode("foot"), TravelMode::Foot);
  EXPECT_EQ(parse_travel_mode("Car"), std::nullopt);
  EXPECT_EQ(doc_key(Maneuver::SlightLeft), "slight_left");
  EXPECT_EQ(parse_doc_key<Maneuver>("sharp_right"), Maneuver::SharpRight);
  EXPECT_EQ(parse_doc_key<Category>("Cafe"), std::nullopt);
  EXPECT_EQ(doc_key(TransitMode::Subway), "subway");
}

class Primitives : public ::testing::Test {
 protected:
  AutoCommit doc;
  automerge::ExId root = testing::root_of(doc);
};

TEST_F(Primitives, ReadersAcceptTheirKindsAndRejectTheRest) {
  ASSERT_TRUE(doc.put(root, "s", ScalarValue::str("plain")));
  ASSERT_TRUE(doc.put(root, "u", ScalarValue::uint64(7)));
  ASSERT_TRUE(doc.put(root, "i", ScalarValue::int64(-3)));
  ASSERT_TRUE(doc.put(root, "ipos", ScalarValue::int64(9)));
  ASSERT_TRUE(doc.put(root, "f", ScalarValue::f64(1.5)));
  ASSERT_TRUE(doc.put(root, "big", ScalarValue::uint64(UINT64_MAX)));
  ASSERT_TRUE(doc.put(root, "c", ScalarValue::counter(4)));
  ASSERT_TRUE(doc.put(root, "n", ScalarValue::null()));
  ASSERT_TRUE(doc.put_object(root, "m", ObjType::Map));

  EXPECT_EQ(read_text(doc, root, "s"), "plain");
  EXPECT_EQ(read_text(doc, root, "u"), std::nullopt);
  EXPECT_EQ(read_f64(doc, root, "u"), 7.0);
  EXPECT_EQ(read_f64(doc, root, "i"), -3.0);
  EXPECT_EQ(read_f64(doc, root, "c"), std::nullopt);
  EXPECT_EQ(read_uint(doc, root, "i"), std::nullopt);  // a negative rank reads as absent
  EXPECT_EQ(read_uint(doc, root, "ipos"), 9u);
  EXPECT_EQ(read_uint(doc, root, "f"), std::nullopt);
  EXPECT_EQ(read_transit_time_offset(doc, root, "u"), 7);
  EXPECT_EQ(read_transit_time_offset(doc, root, "big"), std::nullopt);
  EXPECT_EQ(read_uint(doc, root, "n"), std::nullopt);
  EXPECT_EQ(read_uint(doc, root, "m"), std::nullopt);
  EXPECT_EQ(get_list(doc, root, "m"), std::nullopt);
  EXPECT_TRUE(get_map(doc, root, "m").has_value());
}

// Texts are written as strings; the text objects of older documents read as their content, stay
// while the value is unchanged and give way to a string when it changes.
TEST_F(Primitives, TextsAreStringsAndOlderTextObjectsStillRead) {
  write_text(doc, root, "name", "New");
  auto entry = doc.get(root, "name");
  ASSERT_TRUE(entry && entry->has_value());
  EXPECT_EQ(*(*entry)->value.to_scalar().as_str(), "New");

  auto older = doc.put_object(root, "older", ObjType::Text);
  ASSERT_TRUE(older);
  ASSERT_TRUE(doc.splice_text(*older, 0, 0, "Café"));
  EXPECT_EQ(read_text(doc, root, "older"), "Café");
  const auto heads = doc.get_heads();
  write_text(doc, root, "older", "Café");
  EXPECT_EQ(doc.get_heads(), heads);
  write_text(doc, root, "older", "Bar");
  entry = doc.get(root, "older");
  ASSERT_TRUE(entry && entry->has_value());
  EXPECT_TRUE((*entry)->value.is_scalar());
  EXPECT_EQ(read_text(doc, root, "older"), "Bar");
}

TEST_F(Primitives, NarrowFieldsKeepTheirLowBits) {
  auto regions = *ensure_map(doc, root, kRegions);
  auto r = *ensure_map(doc, regions, "x");
  write_text(doc, r, "id", "x");
  write_text(doc, r, "name", "X");
  write_latlon(doc, r, "min", {1, 2});
  write_latlon(doc, r, "max", {3, 4});
  ASSERT_TRUE(doc.put(r, "z0", ScalarValue::uint64(300)));
  ASSERT_TRUE(doc.put(r, "z1", ScalarValue::uint64(12)));
  ASSERT_TRUE(doc.put(r, "tiles", ScalarValue::uint64((1ull << 32) + 5)));
  auto read = read_region(doc, regions, "x");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->z0, 44);
  EXPECT_EQ(read->tiles, 5u);
}

TEST_F(Primitives, F64WriteIgnoresDifferencesWithinOneUlpOfOne) {
  const double nan = std::nan("");
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double stored;
    double next;
    bool writes;
  };
  const Case cases[] = {
      {48.1371, 48.1371 + 1e-17, false},
      {48.1371, 48.1371, false},
      {48.1371, 48.1372, true},
      {48.1371, nan, false},
      {nan, nan, false},
      {nan, 48.1371, true},  // a stored NaN is repaired by the next real value
      {inf, inf, false},
      {inf, 1.0, true},
  };
  for (const Case& c : cases) {
    AutoCommit d;
    auto r = testing::root_of(d);
    ASSERT_TRUE(d.put(r, "lat", ScalarValue::f64(c.stored)));
    const auto before = d.get_heads();
    put_f64_if_changed(d, r, "lat", c.next);
    EXPECT_EQ(d.get_heads() != before, c.writes) << c.stored << " -> " << c.next;
  }
}

TEST_F(Primitives, BoolWritesOnlyWhatDiffersAndMissingReadsFalse) {
  const auto start = doc.get_heads();
  put_bool_if_changed(doc, root, "saved", false);
  EXPECT_EQ(doc.get_heads(), start);
  EXPECT_FALSE(doc.get(root, "saved")->has_value());
  put_bool_if_changed(doc, root, "saved", true);
  EXPECT_TRUE(read_bool_field(doc, root, "saved"));
  const auto after = doc.get_heads();
  put_bool_if_changed(doc, root, "saved", true);
  EXPECT_EQ(doc.get_heads(), after);
}

TEST_F(Primitives, LatLonAndGeometryNeedBothCoordinates) {
  auto half = *ensure_map(doc, root, "half");
  ASSERT_TRUE(doc.put(half, "lat", ScalarValue::f64(1.0)));
  ASSERT_TRUE(doc.put(root, "whole", ScalarValue::str("not a map")));
  EXPECT_EQ(read_latlon(doc, root, "half"), std::nullopt);
  EXPECT_EQ(read_latlon(doc, root, "whole"), std::nullopt);

  write_geometry(doc, root, {{1, 2}, {3, 4}, {5, 6}});
  auto list = *get_list(doc, root, "geometry");
  auto middle = *list_item(doc, list, 1);
  ASSERT_TRUE(doc.delete_(middle, "lon"));
  ASSERT_TRUE(doc.insert(list, 0, ScalarValue::str("junk")));
  EXPECT_EQ(read_geometry(doc, root), (std::vector<LatLon>{{1, 2}, {5, 6}}));
  EXPECT_TRUE(read_geometry(doc, half).empty());
}

// A damaged or foreign document may hold coordinates no place can have; they read as missing.
TEST_F(Primitives, LatLonOffTheGlobeReadsAsMissing) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double lat, lon;
    bool kept;
  } cases[] = {{90, 180, true},  {-90, -180, true}, {90.5, 11, false}, {48, -180.01, false}, {nan, 11, false},
               {48, nan, false}, {inf, 11, false},  {48, -inf, false}, {-1e308, 11, false}};
  for (const Case& c : cases) {
    auto pos = *ensure_map(doc, root, "pos");
    ASSERT_TRUE(doc.put(pos, "lat", ScalarValue::f64(c.lat)));
    ASSERT_TRUE(doc.put(pos, "lon", ScalarValue::f64(c.lon)));
    EXPECT_EQ(read_latlon(doc, root, "pos").has_value(), c.kept) << c.lat << ", " << c.lon;
    write_geometry(doc, root, {{1, 2}, {3, 4}});
    auto list = *get_list(doc, root, "geometry");
    auto first = *list_item(doc, list, 0);
    ASSERT_TRUE(doc.put(first, "lat", ScalarValue::f64(c.lat)));
    ASSERT_TRUE(doc.put(first, "lon", ScalarValue::f64(c.lon)));
    const std::vector<LatLon> want = c.kept ? std::vector<LatLon>{{c.lat, c.lon}, {3, 4}} : std::vector<LatLon>{{3, 4}};
    EXPECT_EQ(read_geometry(doc, root), want) << c.lat << ", " << c.lon;
  }
}

TEST_F(Primitives, RootThatIsNotAMapIsReplaced) {
  AutoCommit d;
  ASSERT_TRUE(d.put(automerge::ROOT, kRootKey, ScalarValue::str("junk")));
  auto r = maps_root(d);
  ASSERT_TRUE(r);
  EXPECT_TRUE(get_map(d, automerge::ROOT, kRootKey).has_value());
}

TEST_F(Primitives, ClearListEmptiesAndOptionalWritersDeleteTheKey) {
  write_geometry(doc, root, {{1, 2}, {3, 4}});
  clear_list(doc, *get_list(doc, root, "geometry"));
  EXPECT_EQ(doc.length(*get_list(doc, root, "geometry")), 0u);
  write_opt_text(doc, root, "color", std::string("#fff"));
  write_opt_latlon(doc, root, "origin", LatLon{1, 2});
  write_opt_text(doc, root, "color", std::nullopt);
  write_opt_latlon(doc, root, "origin", std::nullopt);
  EXPECT_FALSE(doc.get(root, "color")->has_value());
  EXPECT_FALSE(doc.get(root, "origin")->has_value());
}

}  // namespace
}  // namespace maps::doc
