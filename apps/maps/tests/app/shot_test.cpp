#include "app/shot.hpp"

#include <gtest/gtest.h>

#include "app/construct.hpp"
#include "navigation/navigation_steps.hpp"

namespace maps {
namespace {

TEST(ShotTheme, EnvironmentTable) {
  using zarn_ui::theme::Theme;
  struct Case {
    const char* theme;
    const char* motion;
    Theme expect;
    bool reduce;
  } cases[] = {
      {"light", nullptr, Theme::light(), false}, {"high-contrast", "1", Theme::high_contrast(), true},
      {"Light", "true", Theme::dark(), true},  // exact match only
      {nullptr, "yes", Theme::dark(), true},     {"dark", "TRUE", Theme::dark(), false},
      {"", "0", Theme::dark(), false},
  };
  for (const auto& c : cases) {
    const Theme t = shot_theme(c.theme, c.motion, 1.0f);
    Theme want = c.expect;
    want.reduce_motion = c.reduce;
    EXPECT_EQ(t, want) << (c.theme ? c.theme : "(unset)");
  }
  EXPECT_EQ(shot_theme("light", nullptr, 1.5f).text_scale, 1.5f);
}

TEST(ShotPose, FirstFloatingFlagInTableOrderWins) {
  using zarn_ui::launch::LaunchArgs;
  EXPECT_EQ(floating_navigation_mode(LaunchArgs::from_flags({})), std::nullopt);
  EXPECT_EQ(floating_navigation_mode(LaunchArgs::from_flags({"--floating-navigation-hover", "--floating-navigation"})),
            "detached");
  EXPECT_EQ(floating_navigation_mode(LaunchArgs::from_flags({"--floating-navigation-returned"})), "returned");
}

TEST(ShotPose, StagingDetachesAndPins) {
  auto app = new_sample_app();
  app->bounds_rect = {0, 0, 1280, 800};
  stage_floating_navigation(*app, "attached");
  EXPECT_TRUE(app->navigation.placement().is_docked());
  EXPECT_EQ(app->navigation.placement().handoff_pin(), 1000u);

  app = new_sample_app();
  app->bounds_rect = {0, 0, 1280, 800};
  stage_floating_navigation(*app, "hover");
  EXPECT_FALSE(app->navigation.placement().is_docked());
  EXPECT_TRUE(app->navigation.placement().detached);
  EXPECT_TRUE(app->navigation.placement().detach_confirmed);
  EXPECT_TRUE(app->navigation.end_hovered());
  EXPECT_EQ(app->navigation.placement().handoff_pin(), 1000u);

  app = new_sample_app();
  app->bounds_rect = {0, 0, 1280, 800};
  stage_floating_navigation(*app, "returning");
  EXPECT_EQ(app->navigation.placement().handoff_pin(), 500u);
  // Dragged from (1000, 136) to (720, 360): the panel moved by the same amount.
  EXPECT_EQ(app->navigation.placement().floating_rect.x0, 820 - 280);
  EXPECT_EQ(app->navigation.placement().floating_rect.y0, 120 + 224);
}

}  // namespace
}  // namespace maps
