#include "app/shot.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/navigation_view.hpp"
#include "app/startup.hpp"
#include "zarn_ui/atomic_file.hpp"
#include "zarn_ui/layout.hpp"
#include "zarn_ui/offscreen.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/text_render.hpp"

namespace maps {

using zarn_ui::launch::ShotOutcome;

zarn_ui::theme::Theme shot_theme(const char* theme_env, const char* reduce_motion_env, float text_scale) {
  zarn_ui::theme::Theme theme = zarn_ui::theme::Theme::dark();
  if (theme_env && std::strcmp(theme_env, "light") == 0)
    theme = zarn_ui::theme::Theme::light();
  else if (theme_env && std::strcmp(theme_env, "high-contrast") == 0)
    theme = zarn_ui::theme::Theme::high_contrast();
  theme = theme.with_text_scale(text_scale);
  const bool reduce =
      reduce_motion_env && (std::strcmp(reduce_motion_env, "1") == 0 || std::strcmp(reduce_motion_env, "true") == 0 ||
                            std::strcmp(reduce_motion_env, "yes") == 0);
  theme.reduce_motion = reduce;
  return theme;
}

std::optional<std::string> floating_navigation_mode(const zarn_ui::launch::LaunchArgs& args) {
  static const std::pair<const char*, const char*> kModes[] = {
      {"--floating-navigation", "detached"},          {"--floating-navigation-attached", "attached"},
      {"--floating-navigation-hover", "hover"},       {"--floating-navigation-returning", "returning"},
      {"--floating-navigation-returned", "returned"},
  };
  for (const auto& [flag, mode] : kModes) {
    if (args.has(flag)) return std::string(mode);
  }
  return std::nullopt;
}

base::Status paint_shot_frame(MapsApp& app, const zarn_ui::launch::LaunchArgs& args, std::uint32_t width,
                              std::uint32_t height, const zarn_ui::theme::Theme& theme,
                              zarn_ui::text_render::TextRenderer& text, zarn_ui::Scene& scene) {
  const auto presence = zarn_ui::presence::PresenceCtx::empty();
  const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
  auto tree = zarn_ui::layout::LayoutTree::with_capacity(16);
  zarn_ui::layout::NodeWidgetMap widgets;
  zarn_ui::state::State state;
  app.set_reduce_motion(theme.reduce_motion);

  app.tick(state);
  const auto node = app.build_layout(tree, theme, widgets);
  if (!node) return base::err("the application's layout node could not be created");
  zarn_ui::layout::Style root_style;
  root_style.size = {zarn_ui::layout::Dimension::px(static_cast<float>(width)),
                     zarn_ui::layout::Dimension::px(static_cast<float>(height))};
  auto root = tree.new_with_children(root_style, {*node});
  if (!root) return base::err(root.error());
  if (auto st = tree.compute(*root, static_cast<float>(width), static_cast<float>(height)); !st) {
    return base::err(st.error());
  }
  app.apply_layout(tree, *node, {0, 0});
  if (const auto mode = floating_navigation_mode(args)) stage_floating_navigation(app, *mode);

  const zarn_ui::widget::PaintCtx ctx{text, theme, presence, permissions};
  app.paint(scene, zarn_ui::Affine::identity(), ctx);
  app.draw_floating(scene, zarn_ui::Affine::identity(), text, theme);
  return {};
}

ShotOutcome render_shot(const zarn_ui::launch::LaunchArgs& args) {
  if (!args.shot_output()) return {ShotOutcome::Kind::NotRequested, {}};
  const std::string path = *args.shot_output();
  std::unique_ptr<MapsApp> app = app_from_launch_args(args);
  const auto size = args.shot_size().value_or(zarn_ui::launch::ShotSize{1280, 800});
  const float text_scale = args.shot_text_scale().value_or(1.0f);
  const zarn_ui::theme::Theme theme =
      shot_theme(std::getenv("ZARN_SHOTS_THEME"), std::getenv("ZARN_SHOTS_REDUCE_MOTION"), text_scale);
  auto text = zarn_ui::text_render::TextRenderer::create();
  zarn_ui::Scene scene;
  if (auto painted = paint_shot_frame(*app, args, size.width, size.height, theme, text, scene); !painted) {
    return {ShotOutcome::Kind::Failed, painted.error()};
  }

  std::error_code ec;
  const auto parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);  // the atomic write tries again

  auto renderer = zarn_ui::offscreen::OffscreenRenderer::create(size.width, size.height);
  if (!renderer) return {ShotOutcome::Kind::Failed, renderer.error()};
  renderer->set_text_renderer(text);
  const auto pixels = renderer->render_resilient(scene);
  auto png = renderer->encode_png(pixels);
  base::Status written = png ? zarn_ui::atomic_file::write(path, *png) : base::Status(base::err(png.error()));
  if (!written) return {ShotOutcome::Kind::Failed, "atomically publish png: " + written.error()};
  std::printf("maps: wrote shot to %s\n", path.c_str());
  std::fflush(stdout);
  return {ShotOutcome::Kind::Written, {}};
}

}  // namespace maps
