// A chosen destination is written straight into the state; it must outlast the next tick's
// hydration until a committed plan covers it.

#include <gtest/gtest.h>

#include "app/construct.hpp"
#include "app/ui_messages.hpp"
#include "transitions/messages.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

TEST(SelectionOverlay, ChosenDestinationSurvivesHydration) {
  auto app = new_sample_app();
  zarn_ui::state::State state;
  app->tick(state);  // seeds the document
  ASSERT_FALSE(app->model.places.empty());
  const Place target = app->model.places.back();
  route_message(*app, UiMessage{msg::OpenPlace{target.id}}, state);
  ASSERT_EQ(app->model.dest, target.pos);
  for (int i = 0; i < 3; ++i) app->tick(state);
  EXPECT_EQ(app->model.dest, target.pos);
  EXPECT_EQ(app->model.dest_name, target.name);
  EXPECT_TRUE(app->model.transit.empty());  // a new destination empties the journey list, and it stays empty

  // Clearing the route commits a plan that covers the route only; the destination stays.
  route_message(*app, UiMessage{msg::ClearRoute{}}, state);
  app->tick(state);
  EXPECT_FALSE(app->model.route.has_value());
  EXPECT_EQ(app->model.dest, target.pos);
}

}  // namespace
}  // namespace maps
