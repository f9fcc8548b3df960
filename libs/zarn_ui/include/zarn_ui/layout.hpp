#pragma once
// A tiny layout tree: a root with a few children, sized in pixels or percent of the parent,
// each stacked at its parent's origin. Enough for a window whose widget draws everything itself.

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "base/result.hpp"

namespace zarn_ui::widget {
class Widget;
}

namespace zarn_ui::layout {

struct Dimension {
  enum class Kind : std::uint8_t { Auto, Px, Percent };
  Kind kind = Kind::Auto;
  float value = 0.0f;
  bool operator==(const Dimension&) const = default;

  static constexpr Dimension auto_size() { return {}; }
  static constexpr Dimension px(float v) { return {Kind::Px, v}; }
  // A fraction of the parent: percent(1.0) is the whole parent.
  static constexpr Dimension percent(float fraction) { return {Kind::Percent, fraction}; }
};

struct SizeStyle {
  Dimension width;
  Dimension height;
  bool operator==(const SizeStyle&) const = default;
};

// The default style: auto width and height, which fill the parent (or the available space).
struct Style {
  SizeStyle size;
  bool operator==(const Style&) const = default;
};

struct NodeId {
  std::uint32_t index = 0;
  bool operator==(const NodeId&) const = default;
};

struct Layout {
  float left = 0.0f;  // relative to the parent
  float top = 0.0f;
  float width = 0.0f;
  float height = 0.0f;
  bool operator==(const Layout&) const = default;
};

class LayoutTree {
 public:
  LayoutTree() = default;
  static LayoutTree with_capacity(std::size_t nodes);

  base::Result<NodeId> new_leaf(const Style& style);
  // Fails for an unknown child or one that already has a parent.
  base::Result<NodeId> new_with_children(const Style& style, const std::vector<NodeId>& children);

  // Lays out the tree under `root` in a definite space of width x height.
  base::Status compute(NodeId root, float available_width, float available_height);
  // The computed layout: the rounded one when the tree rounds, else the exact one.
  base::Result<Layout> layout(NodeId node) const;
  base::Result<Layout> unrounded_layout(NodeId node) const;

  bool rounds() const { return rounding_; }
  void set_rounding(bool on) { rounding_ = on; }
  std::size_t size() const { return nodes_.size(); }
  void clear() { nodes_.clear(); }

 private:
  struct Node {
    Style style;
    std::vector<NodeId> children;
    std::optional<NodeId> parent;
    Layout exact;
    Layout rounded;
    bool computed = false;
  };
  void place(NodeId id, float parent_width, float parent_height, float abs_left, float abs_top);
  bool valid(NodeId id) const { return id.index < nodes_.size(); }

  std::vector<Node> nodes_;
  bool rounding_ = true;
};

// Which widget owns which node, filled while the layout is built.
class NodeWidgetMap {
 public:
  void insert(NodeId node, widget::Widget* w) { map_[node.index] = w; }
  widget::Widget* get(NodeId node) const {
    const auto it = map_.find(node.index);
    return it == map_.end() ? nullptr : it->second;
  }
  std::size_t size() const { return map_.size(); }
  bool empty() const { return map_.empty(); }

 private:
  std::unordered_map<std::uint32_t, widget::Widget*> map_;
};

}  // namespace zarn_ui::layout
