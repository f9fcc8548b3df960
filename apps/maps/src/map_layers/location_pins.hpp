#pragma once
// The origin's location dot and the pins of the places: saved, searched, selected, destination.
// A crowd of pins in view is stamped from images (PinImages); a few are drawn from outlines.

#include "draw_kit/palette.hpp"
#include "geo/geo.hpp"
#include "model/records.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

class PinImages;

// The origin's dot, the places' pins and the selected place's pin with its name, from the model.
void paint_location_and_selection(zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                                  const zarn_ui::text_render::TextRenderer& text, const Camera& camera,
                                  const MapModel& model, const zarn_ui::theme::Theme& theme, const MapPalette& palette,
                                  const zarn_ui::Rect& marker_area, PinImages& pins, double device_scale);

}  // namespace maps
