#pragma once
// One row of the NEARBY list: a point of interest with its pictogram, distance and subtitle.

#include <string>

#include "model/records.hpp"
#include "side_panel/explore_lists.hpp"

namespace maps {

// "{category} · {address}", else "{category} · {kind}", else the category alone.
std::string nearby_subtitle(const Poi& poi);

// Paints the row at top y, its distance measured from `reference`.
void paint_nearby_row(const ListPaint& p, const Poi& poi, LatLon reference, double y);

}  // namespace maps
