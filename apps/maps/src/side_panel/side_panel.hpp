#pragma once
// The side panel: the card at the left (full width in the narrow layout) with the lists the user
// acts on, or the directions panel in Directions mode. It owns its list's scroll offset, the
// content and viewport heights its painter records, which bound the scrolling, where the panel
// was last drawn with its list, which is where the wheel scrolls it, and the press areas of its
// last paint.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/list_area.hpp"
#include "messages/ui_message.hpp"
#include "model/records.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/widget.hpp"

namespace maps {

// Paints the directions page into the panel's list from the top y (already shifted by the
// scroll), records its press areas in `hits` and returns the y below it.
using DirectionsPage = std::function<double(const ListArea& list, double y, std::vector<HitTarget>& hits)>;

// What the panel reads of the window.
struct SidePanelInputs {
  const MapModel& model;
  // The points of interest of the view, which the NEARBY list chooses from.
  const std::vector<Poi>& view_pois;
  const std::optional<std::string>& selected_poi;
  const zarn_ui::Rect& bounds;
  const PanelFlags& panel;
  DirectionsPage directions_page;
};

class SidePanel {
 public:
  double scroll() const { return scroll_; }
  double content_height() const { return content_height_; }
  double view_height() const { return view_height_; }
  // Back to the top of the list, as when the list is replaced.
  void reset_scroll() { scroll_ = 0.0; }
  // Scrolls by `dy` pixels (positive moves the list up), held between the top and the end of the content.
  void scroll_by(double dy);
  // What the painter measured this frame; the offset is held within the new bounds.
  void set_heights(double content, double view);

  // The panel's rectangle when the last draw showed it open with its list; none while it was
  // collapsed, hidden, covered by the search suggestions or too short.
  const std::optional<zarn_ui::Rect>& list_panel() const { return list_panel_; }
  void set_list_panel(std::optional<zarn_ui::Rect> panel) { list_panel_ = panel; }
  // The empty part of the open panel's header, right of its title, as last drawn; none when the
  // panel was not drawn open. A status told over the narrow layout's panel goes there.
  const std::optional<zarn_ui::Rect>& header_room() const { return header_room_; }
  void set_header_room(std::optional<zarn_ui::Rect> room) { header_room_ = room; }

  // The card and its lists. The window has already painted the narrow layout's scrim and
  // decided that the panel shows this frame (no suggestion list open, panel at least 80 px
  // tall). Records the panel's press areas in painting order.
  void paint(const SidePanelInputs& in, zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
             const zarn_ui::widget::PaintCtx& ctx);
  // The press areas of the last paint, in painting order.
  const std::vector<HitTarget>& hits() const { return hits_; }

 private:
  double scroll_ = 0.0;
  double content_height_ = 0.0;
  double view_height_ = 0.0;
  std::optional<zarn_ui::Rect> list_panel_;
  std::optional<zarn_ui::Rect> header_room_;
  std::vector<HitTarget> hits_;
};

}  // namespace maps
