#include "zarn_ui/layout.hpp"

#include <cmath>
#include <string>

namespace zarn_ui::layout {
namespace {

float resolve(const Dimension& d, float parent) {
  switch (d.kind) {
    case Dimension::Kind::Px: return d.value;
    case Dimension::Kind::Percent: return d.value * parent;
    case Dimension::Kind::Auto: break;
  }
  return parent;  // auto stretches over the parent
}

float sane(float v) { return std::isfinite(v) ? std::max(v, 0.0f) : 0.0f; }

}  // namespace

LayoutTree LayoutTree::with_capacity(std::size_t nodes) {
  LayoutTree t;
  t.nodes_.reserve(nodes);
  return t;
}

base::Result<NodeId> LayoutTree::new_leaf(const Style& style) {
  if (nodes_.size() >= UINT32_MAX) return base::err("layout tree full");
  nodes_.push_back(Node{style, {}, std::nullopt, {}, {}, false});
  return NodeId{static_cast<std::uint32_t>(nodes_.size() - 1)};
}

base::Result<NodeId> LayoutTree::new_with_children(const Style& style, const std::vector<NodeId>& children) {
  for (std::size_t i = 0; i < children.size(); ++i) {
    const NodeId c = children[i];
    if (!valid(c)) return base::err("invalid node id " + std::to_string(c.index));
    if (nodes_[c.index].parent) return base::err("node " + std::to_string(c.index) + " already has a parent");
    for (std::size_t j = 0; j < i; ++j) {
      if (children[j] == c) return base::err("node " + std::to_string(c.index) + " given twice");
    }
  }
  base::Result<NodeId> id = new_leaf(style);
  if (!id) return id;
  nodes_[id->index].children = children;
  for (const NodeId c : children) nodes_[c.index].parent = *id;
  return id;
}

base::Status LayoutTree::compute(NodeId root, float available_width, float available_height) {
  if (!valid(root)) return base::err("invalid node id " + std::to_string(root.index));
  if (!std::isfinite(available_width) || !std::isfinite(available_height) || available_width < 0 ||
      available_height < 0) {
    return base::err("available space must be definite");
  }
  place(root, available_width, available_height, 0.0f, 0.0f);
  return {};
}

void LayoutTree::place(NodeId id, float parent_width, float parent_height, float abs_left, float abs_top) {
  Node& n = nodes_[id.index];
  n.exact = {0.0f, 0.0f, sane(resolve(n.style.size.width, parent_width)),
             sane(resolve(n.style.size.height, parent_height))};
  // Children sit at their parent's origin. Sizes are rounded from absolute edges, so
  // neighbours share their edges and nothing drifts.
  const float x0 = std::round(abs_left), y0 = std::round(abs_top);
  n.rounded = {0.0f, 0.0f, std::round(abs_left + n.exact.width) - x0, std::round(abs_top + n.exact.height) - y0};
  n.computed = true;
  const Layout exact = n.exact;
  const std::vector<NodeId> children = n.children;  // `n` may move while children are placed
  for (const NodeId c : children) place(c, exact.width, exact.height, abs_left, abs_top);
}

base::Result<Layout> LayoutTree::layout(NodeId node) const {
  if (!valid(node)) return base::err("invalid node id " + std::to_string(node.index));
  if (!nodes_[node.index].computed) return base::err("layout not computed for node " + std::to_string(node.index));
  return rounding_ ? nodes_[node.index].rounded : nodes_[node.index].exact;
}

base::Result<Layout> LayoutTree::unrounded_layout(NodeId node) const {
  if (!valid(node)) return base::err("invalid node id " + std::to_string(node.index));
  if (!nodes_[node.index].computed) return base::err("layout not computed for node " + std::to_string(node.index));
  return nodes_[node.index].exact;
}

}  // namespace zarn_ui::layout
