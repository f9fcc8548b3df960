#pragma once
// The point-of-interest markers: a disc in the category's colour, its pictogram from zoom 16 and
// its name from zoom 16.5. A declutter step picks which points get a marker, so dense areas stay
// readable. The hit tests of the markers and of the places' pins live here too: they follow the
// same choice and the drawn sizes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "draw_kit/palette.hpp"
#include "draw_kit/primitives.hpp"
#include "geo/geo.hpp"
#include "model/records.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

inline constexpr double kPictogramZoom = 16.0;
inline constexpr double kMarkerLabelZoom = 16.5;

// Where markers, pins and their labels may be drawn: the bounds, except that in the narrow
// layout an open side panel keeps them to its right (10 px past its edge).
Rect marker_area(const Rect& bounds, bool panel_expanded);

// Landmarks and transit stops first, other places last.
std::uint8_t category_marker_priority(Category category);

// Orders indices into `pois` for decluttering: the selected point first, then the higher
// category priority, then the lower index.
class PoiMarkerPriority {
 public:
  PoiMarkerPriority(const std::vector<Poi>& pois, const std::optional<std::string>& selected_id)
      : pois_(pois), selected_id_(selected_id) {}
  bool operator()(std::size_t a, std::size_t b) const;

 private:
  const std::vector<Poi>& pois_;
  const std::optional<std::string>& selected_id_;
};

// Walks the points in priority order and keeps each one that lies at least `spacing` px from
// every point already kept. Returns the kept indices in ascending order.
std::vector<std::size_t> declutter_points(const Camera& camera, const std::vector<Poi>& pois,
                                          const std::optional<std::string>& selected_id, double spacing);

// Indices into the loaded points of interest that get a marker in this view, ascending:
// spacing 26 px from zoom 16, else 15 px.
std::vector<std::size_t> poi_marker_layout(const Camera& camera, const std::vector<Poi>& pois,
                                           const std::optional<std::string>& selected_id);

// The place whose pin a press at `p` lands on: the nearest whose head is within reach (14 px of
// its centre, 18 for the selected place's larger pin). None when the press misses every pin.
const Place* place_marker_at(const Camera& camera, const std::vector<Place>& places,
                             const std::optional<std::string>& selected_id, Point p);

// The point of interest whose marker a press at `p` lands on: the nearest kept one whose disc,
// with 6 px to spare, holds it. Left-out points take no press.
const Poi* poi_marker_at(const Camera& camera, const std::vector<Poi>& pois,
                         const std::optional<std::string>& selected_id, Point p);

struct MarkerLook {
  bool selected = false;
  bool label = false;
  bool pictogram = false;
};

void paint_marker(Scene& scene, const Affine& transform, const TextRenderer& text, const Poi& poi,
                  const zarn_ui::theme::Theme& theme, const MapPalette& palette, MarkerLook look,
                  const Rect& marker_area, Point p);

// The kept markers, then the selected point of interest above them whether or not it was kept.
void paint_markers(Scene& scene, const Affine& transform, const TextRenderer& text, const Camera& camera,
                   const std::vector<Poi>& pois, const std::vector<std::size_t>& indices,
                   const std::optional<std::string>& selected_id, const zarn_ui::theme::Theme& theme,
                   const MapPalette& palette, const Rect& marker_area);

}  // namespace maps
