// The application's commit road: seeding, dispatching and hydrating on a real state.

#include <gtest/gtest.h>

#include "app/construct.hpp"
#include "doc/readers.hpp"
#include "doc/schema_keys.hpp"
#include "doc_fixtures.hpp"
#include "transitions/commit.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

TEST(CommitState, FirstCommitSeedsTheWholeStateThenAppliesTheAction) {
  auto app = new_sample_app();
  zarn_ui::state::State state;
  const MapModel before = app->model;
  app->model.query = "not persisted";
  commit_state(app->model, app->transient, app->commits, state,
               MapsAction{MapsAction::SetTravelMode{TravelMode::Foot}});

  auto stored = doc::load_map_model(state.doc());
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->mode, TravelMode::Foot);
  EXPECT_EQ(stored->places.size(), before.places.size());
  EXPECT_EQ(stored->regions.size(), before.regions.size());
  // The state shows both the seeded model and the action; what is not persisted stays.
  EXPECT_EQ(app->model.mode, TravelMode::Foot);
  EXPECT_EQ(app->model.places, stored->places);
  EXPECT_EQ(app->model.query, "not persisted");
  EXPECT_EQ(app->commits.action_host.dispatch_count(), 1u);
  EXPECT_EQ(app->commits.action_host.entries().back().label, "Set travel mode");
}

TEST(CommitState, LaterCommitsDoNotReseed) {
  auto app = new_empty_app();
  zarn_ui::state::State state;
  commit_state(app->model, app->transient, app->commits, state,
               MapsAction{MapsAction::AddRegion{doc::testing::region("r")}});
  // A place only in the state is not written by the next commit: the document is the source.
  app->model.places.push_back(doc::testing::place("ghost", "Ghost"));
  commit_state(app->model, app->transient, app->commits, state, MapsAction{MapsAction::CommitSearch{"museum"}});
  EXPECT_TRUE(app->model.places.empty());
  EXPECT_EQ(app->model.recents, std::vector<std::string>{"museum"});
  EXPECT_EQ(app->model.regions.size(), 1u);
}

TEST(CommitState, OlderDocumentIsCarriedBeforeTheFirstAction) {
  auto app = new_empty_app();
  zarn_ui::state::State state;
  const std::string older =
      R"({"places":[],"recents":["older"],"transit":[],"transit_choice":0,"panel":"Explore","mode":"Bike",)"
      R"("query":"","results":[],"origin_name":"Start","center":{"lat":1,"lon":2},"zoom":12,"status":""})";
  auto text = state.doc().put_object(automerge::ROOT, doc::kOlderRootKey, automerge::ObjType::Text);
  ASSERT_TRUE(text);
  ASSERT_TRUE(state.doc().splice_text(*text, 0, 0, older));
  commit_state(app->model, app->transient, app->commits, state, MapsAction{MapsAction::CommitSearch{"newer"}});
  EXPECT_EQ(app->model.recents, (std::vector<std::string>{"newer", "older"}));
  EXPECT_EQ(app->model.mode, TravelMode::Bike);
}

}  // namespace
}  // namespace maps
