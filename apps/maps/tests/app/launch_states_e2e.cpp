// Every launch flag rendered as the shot run renders it, compared with the plain sample: a flag
// whose state the Parts give a screen of its own must look different, and a flag that changes
// nothing at that size must look the same.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/navigation_view.hpp"
#include "app/shot.hpp"
#include "app/startup.hpp"
#include "zarn_ui/layout.hpp"
#include "zarn_ui/offscreen.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/text_render.hpp"

namespace maps {
namespace {

struct Size {
  std::uint32_t w = 1280, h = 800;
};

// The pixels of one frame of the state the arguments build, in the steps of the shot run.
std::vector<std::uint8_t> render_state(const std::vector<std::string>& flags, std::optional<std::string> panel,
                                       Size size) {
  auto args = zarn_ui::launch::LaunchArgs::from_flags(flags);
  if (panel) args.set_value("--panel", *panel);
  std::unique_ptr<MapsApp> app = app_from_launch_args(args);
  const auto theme = zarn_ui::theme::Theme::light();
  const auto presence = zarn_ui::presence::PresenceCtx::empty();
  const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
  auto text = zarn_ui::text_render::TextRenderer::create();
  auto tree = zarn_ui::layout::LayoutTree::with_capacity(16);
  zarn_ui::layout::NodeWidgetMap widgets;
  zarn_ui::state::State state;
  app->tick(state);
  const auto node = app->build_layout(tree, theme, widgets);
  EXPECT_TRUE(node.has_value());
  if (!node) return {};
  zarn_ui::layout::Style root_style;
  root_style.size = {zarn_ui::layout::Dimension::px(static_cast<float>(size.w)),
                     zarn_ui::layout::Dimension::px(static_cast<float>(size.h))};
  auto root = tree.new_with_children(root_style, {*node});
  EXPECT_TRUE(root);
  if (!root) return {};
  EXPECT_TRUE(tree.compute(*root, static_cast<float>(size.w), static_cast<float>(size.h)));
  app->apply_layout(tree, *node, {0, 0});
  if (auto mode = floating_navigation_mode(args)) stage_floating_navigation(*app, *mode);
  zarn_ui::Scene scene;
  const zarn_ui::widget::PaintCtx ctx{text, theme, presence, permissions};
  app->paint(scene, zarn_ui::Affine::identity(), ctx);
  app->draw_floating(scene, zarn_ui::Affine::identity(), text, theme);
  auto renderer = zarn_ui::offscreen::OffscreenRenderer::create(size.w, size.h);
  EXPECT_TRUE(renderer);
  if (!renderer) return {};
  renderer->set_text_renderer(text);
  return renderer->render_resilient(scene);
}

// Against the plain sample at the same size.
enum class Expect {
  Differs,
  Same,
};

struct Row {
  std::vector<std::string> flags;
  std::optional<std::string> panel;
  Expect expect;
  Size size{};
};

TEST(LaunchStates, EachFlagDiffersFromThePlainSampleWhereItShould) {
  const std::vector<Row> rows = {
      {{"--empty"}, {}, Expect::Differs},
      {{"--traffic"}, {}, Expect::Differs},
      {{"--pois"}, {}, Expect::Differs},
      {{"--empty", "--pois"}, {}, Expect::Differs},
      {{"--offline"}, {}, Expect::Differs},
      // The sample already shows the directions panel; the side panel is always open when wide.
      {{}, "directions", Expect::Same},
      {{"--nav-closed"}, {}, Expect::Same},
      {{"--nav-closed"}, {}, Expect::Differs, {400, 800}},
      {{"--search"}, {}, Expect::Differs},
      {{"--menu"}, {}, Expect::Differs},
      {{"--attribution"}, {}, Expect::Differs},
      {{"--error"}, {}, Expect::Differs},
      {{"--edit-from"}, {}, Expect::Differs},
      {{"--transit-arrive"}, {}, Expect::Differs},
      {{}, "explore", Expect::Differs},
      {{}, "transit", Expect::Differs},
      {{"--floating-navigation"}, {}, Expect::Differs},
      // Attached is the docked panel with its hand-off pinned at the end: the plain sample's panel.
      {{"--floating-navigation-attached"}, {}, Expect::Same},
      {{"--floating-navigation-hover"}, {}, Expect::Differs},
      {{"--floating-navigation-returning"}, {}, Expect::Differs},
      {{"--floating-navigation-returned"}, {}, Expect::Differs},
  };
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::vector<std::uint8_t>> plain;
  for (const Row& row : rows) {
    std::string name;
    for (const std::string& f : row.flags) name += f + " ";
    if (row.panel) name += "--panel " + *row.panel + " ";
    name += std::to_string(row.size.w) + "x" + std::to_string(row.size.h);
    SCOPED_TRACE(name);
    auto& sample = plain[{row.size.w, row.size.h}];
    if (sample.empty()) sample = render_state({}, std::nullopt, row.size);
    ASSERT_FALSE(sample.empty());
    const std::vector<std::uint8_t> pixels = render_state(row.flags, row.panel, row.size);
    ASSERT_EQ(pixels.size(), sample.size());
    switch (row.expect) {
      case Expect::Differs: EXPECT_TRUE(pixels != sample) << "looks like the plain sample"; break;
      case Expect::Same: EXPECT_TRUE(pixels == sample) << "differs from the plain sample"; break;
    }
  }
}

// The poses of the navigation panel for review are each a picture of their own.
TEST(LaunchStates, FloatingNavigationPosesAreDistinct) {
  const std::vector<std::string> poses = {"--floating-navigation", "--floating-navigation-attached",
                                          "--floating-navigation-hover", "--floating-navigation-returning",
                                          "--floating-navigation-returned"};
  std::vector<std::vector<std::uint8_t>> frames;
  for (const std::string& pose : poses) frames.push_back(render_state({pose}, std::nullopt, Size{}));
  for (std::size_t i = 0; i < frames.size(); ++i) {
    for (std::size_t j = i + 1; j < frames.size(); ++j) {
      EXPECT_TRUE(frames[i] != frames[j]) << poses[i] << " and " << poses[j] << " look the same";
    }
  }
}

}  // namespace
}  // namespace maps
