#include "model/place_ops.hpp"

#include <gtest/gtest.h>

namespace maps {
namespace {

TEST(PlaceOps, UpsertToggleAndLookups) {
  MapModel model;
  const Place a = new_place("a", "Alpha", Category::Cafe, "Street 1", {48.1, 11.5});
  EXPECT_FALSE(a.saved);
  upsert_place(model, a);
  EXPECT_FALSE(toggle_place_saved(model, "zzz"));
  EXPECT_TRUE(toggle_place_saved(model, "a"));
  Place renamed = a;
  renamed.name = "Alpha Bar";
  renamed.saved = false;
  upsert_place(model, renamed);  // keeps it saved, takes the new name
  ASSERT_EQ(model.places.size(), 1u);
  EXPECT_TRUE(model.places[0].saved);
  EXPECT_EQ(model.places[0].name, "Alpha Bar");
  EXPECT_FALSE(toggle_place_saved(model, "a"));

  Place twin = new_place("a", "Second", Category::Bar, "", {0, 0});
  model.places.push_back(twin);
  EXPECT_EQ(find_place(model, "a")->name, "Alpha Bar");  // the first of two with one id
  model.selected = "missing";
  EXPECT_FALSE(selected_place(model).has_value());
  model.selected = "a";
  EXPECT_EQ(selected_place(model)->name, "Alpha Bar");
}

}  // namespace
}  // namespace maps
