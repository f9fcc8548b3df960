#pragma once
// The side panel: the card at the left (full width in the narrow layout) with the lists the user
// acts on, or the directions panel in Directions mode. It owns its list's scroll offset, the
// content and viewport heights its painter records, which bound the scrolling, and where the
// panel was last drawn with its list, which is where the wheel scrolls it.

#include <optional>

#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/widget.hpp"

namespace maps {

class MapsApp;

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

 private:
  double scroll_ = 0.0;
  double content_height_ = 0.0;
  double view_height_ = 0.0;
  std::optional<zarn_ui::Rect> list_panel_;
  std::optional<zarn_ui::Rect> header_room_;
};

// The panel's cards and lists. `draw` has already painted the narrow layout's scrim and decided
// that the panel shows this frame (no suggestion list open, panel at least 80 px tall).
void paint_side_panel(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                      const zarn_ui::widget::PaintCtx& ctx);

}  // namespace maps
