#pragma once
// Colours that stand for a kind of thing, taken from the theme: a place category (markers, pins,
// cards, list discs) and a public-transport mode (journey legs on the map and in the panel).

#include "model/enums.hpp"
#include "model/records.hpp"
#include "zarn_ui/color.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

// Labels and coloured texts on fills choose their colour by contrast (WCAG AA, 4.5 : 1).
using zarn_ui::theme::composite;
using zarn_ui::theme::label_on;
using zarn_ui::theme::readable_on;

zarn_ui::Color category_color(const zarn_ui::theme::Theme& theme, Category category);
zarn_ui::Color transit_mode_color(const zarn_ui::theme::Theme& theme, TransitMode mode);
// The leg's own colour when its text is six hex digits (after any '#'), else its mode's colour.
zarn_ui::Color transit_leg_color(const zarn_ui::theme::Theme& theme, const TransitLeg& leg);

}  // namespace maps
