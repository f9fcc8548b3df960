#include "app/shot.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/construct.hpp"
#include "app/navigation_view.hpp"
#include "app/startup.hpp"
#include "format/units.hpp"
#include "sample/sample_data.hpp"

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

// A shot that cannot be written is a failure the launcher reports, not an exit from inside the
// callback, and leaves no file behind.
TEST(ShotOutcome, AnUnwritablePathFailsWithItsReason) {
  const auto dir = std::filesystem::path(::testing::TempDir()) / "maps-shot-unwritable";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "file") << "x";
  auto args = zarn_ui::launch::LaunchArgs::from_flags({"--empty"});
  args.set_shot_output((dir / "file" / "out.png").string());
  args.set_shot_size({64, 48});
  const zarn_ui::launch::ShotOutcome out = render_shot(args);
  EXPECT_EQ(out.kind, zarn_ui::launch::ShotOutcome::Kind::Failed);
  EXPECT_NE(out.error.find("atomically publish png"), std::string::npos) << out.error;
  EXPECT_FALSE(std::filesystem::exists(dir / "file" / "out.png"));
  std::filesystem::remove_all(dir);
}

// The frame of a demonstration shot, on the recording scene.
zarn_ui::Scene shot_scene(const std::vector<std::string>& flags) {
  const auto args = zarn_ui::launch::LaunchArgs::from_flags(flags);
  auto app = app_from_launch_args(args);
  auto text = zarn_ui::text_render::TextRenderer::fixed(7);
  zarn_ui::Scene scene;
  EXPECT_TRUE(paint_shot_frame(*app, args, 1280, 800, zarn_ui::theme::Theme::dark(), text, scene));
  return scene;
}

std::vector<std::string> texts_of(const zarn_ui::Scene& scene) {
  std::vector<std::string> out;
  for (const auto& item : scene.items()) {
    if (const auto* run = std::get_if<zarn_ui::scene::TextRun>(&item)) out.push_back(run->text);
  }
  return out;
}

bool shows(const zarn_ui::Scene& scene, const std::string& s) {
  const auto t = texts_of(scene);
  return std::find(t.begin(), t.end(), s) != t.end();
}

// Each demonstration flag, and each pose of the floating panel, gives a frame of its own.
TEST(ShotFrames, DemonstrationStatesAreDistinct) {
  const std::vector<std::vector<std::string>> states = {
      {},
      {"--menu"},
      {"--attribution"},
      {"--error"},
      {"--traffic"},
      {"--floating-navigation"},
      {"--floating-navigation-attached"},
      {"--floating-navigation-hover"},
      {"--floating-navigation-returning"},
      {"--floating-navigation-returned"},
  };
  std::vector<zarn_ui::Scene> scenes;
  for (const auto& s : states) scenes.push_back(shot_scene(s));
  for (std::size_t i = 1; i < states.size(); ++i) {
    // The attached pose is the docked panel at rest, as the plain frame shows it.
    if (states[i][0] == "--floating-navigation-attached") continue;
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(scenes[i], scenes[j]) << states[i][0] << " vs " << j;
  }

  const auto& menu = scenes[1];
  for (const char* label : {"Attribution", "Offline maps", "Licenses", "Float navigation"}) {
    EXPECT_TRUE(shows(menu, label)) << label;
  }
  EXPECT_TRUE(shows(scenes[2], "Attribution"));
  EXPECT_TRUE(shows(scenes[2], "Close"));
  EXPECT_TRUE(shows(scenes[2], "Basemap tiles © CARTO"));
  EXPECT_TRUE(shows(scenes[3], "Map imagery unavailable offline — reconnect and try again"));
  for (const char* row : {"Traffic", "· sample data", "Free flowing", "Moderate", "Heavy", "Standstill"}) {
    EXPECT_TRUE(shows(scenes[4], row)) << row;
  }
  for (std::size_t i = 5; i < states.size(); ++i) {
    const auto t = texts_of(scenes[i]);
    EXPECT_EQ(std::count(t.begin(), t.end(), "Navigation"), 1) << states[i][0] << ": one panel";
  }
}

// On the desktop the panel is drawn last, above the window's own layers; back in the window it
// lies under the "More" button again.
TEST(ShotFrames, FloatingLayerLiesAboveTheWindow) {
  const auto index = [](const zarn_ui::Scene& scene, const std::string& s) {
    const auto t = texts_of(scene);
    return std::find(t.begin(), t.end(), s) - t.begin();
  };
  for (const char* pose : {"--floating-navigation", "--floating-navigation-hover", "--floating-navigation-returning"}) {
    const auto scene = shot_scene({pose});
    EXPECT_EQ(texts_of(scene).back(), format_distance(sample_route_steps().distance_m) + " remaining") << pose;
  }
  const auto returned = shot_scene({"--floating-navigation-returned"});
  EXPECT_LT(index(returned, "Navigation"), static_cast<long>(texts_of(returned).size()) - 1);
}

}  // namespace
}  // namespace maps
