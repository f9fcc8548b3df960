#pragma once
// The navigation panel as drawn: its card, the grip, "End", the next manoeuvre and what is left
// of the route.

#include "navigation/navigation_panel.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

// Paints the panel at its placement's rectangle, through the hand-off animation, and records
// its grip and End areas; without a route it draws nothing and forgets the areas.
void paint_navigation_panel(NavigationPanel& panel, const NavigationInputs& in, zarn_ui::Scene& scene,
                            const zarn_ui::Affine& transform, const zarn_ui::text_render::TextRenderer& text,
                            const zarn_ui::theme::Theme& theme);

// While the desktop panel is dragged back over the window far enough to be taken back, a ring
// in the window around where it will land.
void paint_navigation_return_hint(const NavigationPanel& panel, const NavigationInputs& in, zarn_ui::Scene& scene,
                                  const zarn_ui::Affine& transform, const zarn_ui::theme::Theme& theme);

// The panel where the window shows it; a panel that is not drawn leaves no areas behind, unless
// it is on the desktop, where the floating layer draws it and the window only the return hint.
void paint_navigation_in_window(NavigationPanel& panel, const NavigationInputs& in, zarn_ui::Scene& scene,
                                const zarn_ui::Affine& t, const zarn_ui::text_render::TextRenderer& text,
                                const zarn_ui::theme::Theme& theme);

}  // namespace maps
