// A document folder written by an earlier build (a snapshot and a log, texts stored as text
// objects) must open and read back as the model it held, and keep reading after new writes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "doc/action_path.hpp"
#include "doc/readers.hpp"
#include "doc_fixtures.hpp"
#include "model/json_codec.hpp"
#include "zarn_ui/action_host.hpp"
#include "zarn_ui/persist.hpp"

namespace maps::doc {
namespace {

const std::filesystem::path kFixture = std::filesystem::path(MAPS_TEST_FIXTURES) / "stored_document";

class StoredDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::path(::testing::TempDir()) / "maps-stored-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    ASSERT_NE(::mkdtemp(buf.data()), nullptr);
    folder_ = buf.data();
    for (const char* name : {"document.snapshot", "document.log"}) {
      std::filesystem::copy_file(kFixture / name, folder_ / name);
    }
    std::ifstream in(kFixture / "expected_model.json");
    std::stringstream text;
    text << in.rdbuf();
    auto expected = deserialize_json<MapModel>(text.str());
    ASSERT_TRUE(expected) << expected.error();
    expected_ = testing::persisted_part(*expected);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  MapModel read_back() {
    zarn_ui::persist::PersistedDoc p = zarn_ui::persist::open_in(folder_);
    EXPECT_EQ(p.status(), "");
    EXPECT_TRUE(p.is_persistent());
    auto model = load_map_model(p.doc());
    EXPECT_TRUE(model.has_value());
    return model ? testing::persisted_part(*model) : MapModel{};
  }

  std::filesystem::path folder_;
  MapModel expected_;
};

TEST_F(StoredDocument, OpensAsTheModelItHeld) {
  EXPECT_EQ(read_back(), expected_);
  // Opening folded the log into a new snapshot; that one reads the same.
  EXPECT_EQ(read_back(), expected_);
}

TEST_F(StoredDocument, NewWritesOnTopKeepEverythingElse) {
  {
    zarn_ui::persist::PersistedDoc p = zarn_ui::persist::open_in(folder_);
    zarn_ui::action_host::ActionHost host;
    const std::vector<MapsAction> actions = {
        MapsAction{MapsAction::SetTravelMode{TravelMode::Foot}},
        MapsAction{MapsAction::UpsertPlaces{{testing::place("fx", "Fixture Bakery")}}},
    };
    for (const MapsAction& a : actions) {
      dispatch_with_context(host, p.doc(), kMapsActionType, a, action_context_for(kMapsAppId, kMapsAppName, a));
    }
    ASSERT_TRUE(p.flush());
  }
  // The travel mode and the renamed place read as written; what the two actions do not touch
  // reads as it was stored. The mode switch goes on with the journeys' endpoints, and the stored
  // route, made for another destination, is ended with it.
  for (Place& place : expected_.places) {
    if (place.id == "fx") place.name = "Fixture Bakery";
  }
  const MapModel got = read_back();
  EXPECT_EQ(got.mode, TravelMode::Foot);
  EXPECT_EQ(got.places, expected_.places);
  EXPECT_EQ(got.recents, expected_.recents);
  ASSERT_TRUE(expected_.route.has_value());
  EXPECT_NE(expected_.route->to, expected_.dest.value_or(LatLon{}));
  EXPECT_EQ(got.route, std::nullopt);
  EXPECT_EQ(got.origin, expected_.origin);
  EXPECT_EQ(got.dest, expected_.dest);
  EXPECT_EQ(got.dest_name, expected_.dest_name);
  EXPECT_EQ(got.transit, expected_.transit);
  EXPECT_EQ(got.transit_time, expected_.transit_time);
  EXPECT_EQ(got.regions, expected_.regions);
}

// Two instances on the stored document change the same values before either saves: the travel
// mode and a place's name end as one instance wrote them, and everything else stays.
TEST_F(StoredDocument, TwoInstancesChangingTheSameValuesEndWithOneOfThem) {
  {
    zarn_ui::persist::PersistedDoc a = zarn_ui::persist::open_in(folder_);
    zarn_ui::persist::PersistedDoc b = zarn_ui::persist::open_in(folder_);
    zarn_ui::action_host::ActionHost host;
    auto act = [&](zarn_ui::persist::PersistedDoc& p, TravelMode mode, const char* name) {
      for (const MapsAction& action : {MapsAction{MapsAction::SetTravelMode{mode}},
                                       MapsAction{MapsAction::UpsertPlaces{{testing::place("fx", name)}}}}) {
        dispatch_with_context(host, p.doc(), kMapsActionType, action,
                              action_context_for(kMapsAppId, kMapsAppName, action));
      }
    };
    act(a, TravelMode::Foot, "Alpha");
    act(b, TravelMode::Transit, "Beta");
    ASSERT_TRUE(a.flush());
    ASSERT_TRUE(b.flush());
  }
  const MapModel got = read_back();
  EXPECT_TRUE(got.mode == TravelMode::Foot || got.mode == TravelMode::Transit);
  std::vector<Place> rest;
  for (const Place& place : got.places) {
    if (place.id == "fx") {
      EXPECT_TRUE(place.name == "Alpha" || place.name == "Beta") << place.name;
    } else {
      rest.push_back(place);
    }
  }
  std::vector<Place> expected_rest;
  for (const Place& place : expected_.places) {
    if (place.id != "fx") expected_rest.push_back(place);
  }
  EXPECT_EQ(rest, expected_rest);
  EXPECT_EQ(got.recents, expected_.recents);
  EXPECT_EQ(got.regions, expected_.regions);
}

}  // namespace
}  // namespace maps::doc
