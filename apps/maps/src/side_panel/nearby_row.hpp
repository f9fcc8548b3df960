#pragma once
// One row of the NEARBY list: a point of interest with its pictogram, distance and subtitle.

#include <string>

#include "draw_kit/list_area.hpp"
#include "draw_kit/primitives.hpp"
#include "model/records.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

class MapsApp;

// "{category} · {address}", else "{category} · {kind}", else the category alone.
std::string nearby_subtitle(const Poi& poi);

// Paints the row at top y, its distance measured from `reference`.
void paint_nearby_row(MapsApp& app, Scene& scene, const Affine& transform, const TextRenderer& text,
                      const zarn_ui::theme::Theme& theme, const ListArea& list, const Poi& poi, LatLon reference,
                      double y);

}  // namespace maps
