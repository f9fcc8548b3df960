#pragma once
// A pop-up menu of labelled rows. The caller opens it at a point and, after handing it an
// event, takes the chosen row (take_chosen). Arrow keys move the highlight, Enter chooses,
// Escape closes; a press on a row chooses it and one outside the menu closes it.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/widget.hpp"

namespace zarn_ui::widgets {

struct MenuItem {
  std::string label;
  bool operator==(const MenuItem&) const = default;
};

class ContextMenu {
 public:
  // Rows are added in order; the chosen index counts from the first.
  void push(MenuItem item) { items_.push_back(std::move(item)); }
  // Opens with its top-left corner at `p`, nothing highlighted and the pointer unknown until
  // the next pointer move.
  void open_at(Point p);
  void close();
  bool is_open() const { return open_; }
  Point anchor() const { return anchor_; }
  const std::vector<MenuItem>& items() const { return items_; }
  // The item the user chose, taken once.
  std::optional<std::size_t> take_chosen() { return std::exchange(chosen_, std::nullopt); }
  void choose(std::size_t index) {
    if (index < items_.size()) chosen_ = index;
  }
  std::optional<std::size_t> highlighted() const { return highlighted_; }

  // The menu as drawn: one row per item under a small padding, its top-left corner at the anchor.
  static constexpr double kWidth = 220.0;
  static constexpr double kRowHeight = 32.0;
  static constexpr double kPadding = 6.0;
  Size menu_size() const { return {kWidth, 2.0 * kPadding + kRowHeight * static_cast<double>(items_.size())}; }
  Rect rect() const { return Rect::from_origin_size(anchor_, menu_size()); }
  // The row under a point, if any.
  std::optional<std::size_t> item_at(Point p) const;

  // While open: every key is the menu's (used), pointer moves highlight the row under them
  // (not used), and every primary press is used. Closed, nothing is used.
  bool handle_event(const widget::Event& event, const EventCtx& ctx);
  // The open menu; nothing while closed.
  void draw(Scene& scene, const Affine& transform, const widget::PaintCtx& ctx) const;

 private:
  void choose_and_close(std::size_t index);

  std::vector<MenuItem> items_;
  bool open_ = false;
  Point anchor_;
  std::optional<std::size_t> chosen_;
  std::optional<std::size_t> highlighted_;
  std::optional<Point> pointer_;  // logical
};

}  // namespace zarn_ui::widgets
