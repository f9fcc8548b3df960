#pragma once
// The directions panel inside the side panel's list: the two endpoint fields with the swap
// button, "Use my location", the travel-mode tabs, the journey-time controls, and then the road
// route or the public-transport journeys.

#include <string>
#include <vector>

#include "backend/plan_request.hpp"
#include "directions/endpoint_editor.hpp"
#include "draw_kit/list_area.hpp"
#include "draw_kit/primitives.hpp"
#include "format/local_date_time.hpp"
#include "messages/ui_message.hpp"
#include "model/records.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/widget.hpp"

namespace maps {

// What the panel reads of the window.
struct DirectionsInputs {
  const MapModel& model;
  const PlanRequest& plan;         // the latest route or journeys asked for
  bool locating = false;           // a fix for "Use my location" is on its way
  bool journeys_awaited = false;   // the journeys asked for have not come yet
  bool route_is_estimate = false;  // the road route shown is a straight-line stand-in
  LocalDateTime now;               // the local clock
};

// Paints the panel from the top y (already shifted by the list's scroll) and returns the y below
// it. The fields' press areas go to the editor, the rest to `targets` (the hosting list's).
double paint_directions_panel(EndpointEditor& editor, const DirectionsInputs& in, std::vector<HitTarget>& targets,
                              Scene& scene, const Affine& transform, const zarn_ui::widget::PaintCtx& ctx,
                              const ListArea& list, double y);

// One endpoint field's box with its dot, recording its press area where it is in view; returns
// the rectangle its text field takes.
Rect paint_endpoint_box(EndpointEditor& editor, Scene& scene, const Affine& transform,
                        const zarn_ui::theme::Theme& theme, const ListArea& list, const Rect& box, const Color& dot,
                        EndpointField field);

// What the endpoint fields show while they are not edited: the origin's name when an origin is
// set; the destination's name, else the selected place's.
std::string origin_label(const MapModel& model);
std::string destination_label(const MapModel& model);

}  // namespace maps
