#pragma once
// The headless shot: one frame of a demonstration state, written as a PNG.

#include <optional>
#include <string>

#include "app/maps_app.hpp"
#include "base/result.hpp"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

zarn_ui::launch::ShotOutcome render_shot(const zarn_ui::launch::LaunchArgs& args);

// One frame of `app` as a shot shows it, painted into `scene`: one tick, the layout at
// `width` x `height`, the floating-navigation pose of `args`, then the window and the floating
// layer above it. Fails with the layout's error.
base::Status paint_shot_frame(MapsApp& app, const zarn_ui::launch::LaunchArgs& args, std::uint32_t width,
                              std::uint32_t height, const zarn_ui::theme::Theme& theme,
                              zarn_ui::text_render::TextRenderer& text, zarn_ui::Scene& scene);

// The theme of a shot from ZARN_SHOTS_THEME ("light", "high-contrast", else dark) and
// ZARN_SHOTS_REDUCE_MOTION ("1", "true", "yes"), scaled by the text scale.
zarn_ui::theme::Theme shot_theme(const char* theme_env, const char* reduce_motion_env, float text_scale);

// The floating navigation pose named by the first floating-navigation flag present.
std::optional<std::string> floating_navigation_mode(const zarn_ui::launch::LaunchArgs& args);

}  // namespace maps
