#include <gtest/gtest.h>

#include "zarn_ui/layout.hpp"

namespace zarn_ui::layout {
namespace {

Style sized(Dimension w, Dimension h) { return Style{{w, h}}; }

TEST(Layout, RootWithAFullLeafFillsTheWindow) {
  LayoutTree tree = LayoutTree::with_capacity(16);
  EXPECT_TRUE(tree.rounds());
  auto leaf = tree.new_leaf(sized(Dimension::percent(1.0f), Dimension::percent(1.0f)));
  ASSERT_TRUE(leaf.is_ok());
  auto root = tree.new_with_children(sized(Dimension::px(1280), Dimension::px(800)), {*leaf});
  ASSERT_TRUE(root.is_ok());
  ASSERT_TRUE(tree.compute(*root, 1280, 800).is_ok());
  EXPECT_EQ(*tree.layout(*root), (Layout{0, 0, 1280, 800}));
  EXPECT_EQ(*tree.layout(*leaf), (Layout{0, 0, 1280, 800}));
}

TEST(Layout, SizesAndRounding) {
  struct Case {
    Dimension w, h;
    float avail_w, avail_h;
    Layout exact, rounded;
  };
  const Case cases[] = {
      {Dimension::px(300.4f), Dimension::px(99.6f), 1000, 1000, {0, 0, 300.4f, 99.6f}, {0, 0, 300, 100}},
      {Dimension::percent(0.5f), Dimension::percent(0.25f), 1001, 799, {0, 0, 500.5f, 199.75f}, {0, 0, 501, 200}},
      {Dimension::auto_size(), Dimension::auto_size(), 640.5f, 480, {0, 0, 640.5f, 480}, {0, 0, 641, 480}},
      {Dimension::px(-5), Dimension::px(10), 100, 100, {0, 0, 0, 10}, {0, 0, 0, 10}},
  };
  for (const Case& c : cases) {
    LayoutTree tree;
    auto leaf = tree.new_leaf(sized(c.w, c.h));
    auto root = tree.new_with_children(Style{}, {*leaf});
    ASSERT_TRUE(tree.compute(*root, c.avail_w, c.avail_h).is_ok());
    EXPECT_EQ(*tree.unrounded_layout(*leaf), c.exact);
    EXPECT_EQ(*tree.layout(*leaf), c.rounded);
    tree.set_rounding(false);
    EXPECT_EQ(*tree.layout(*leaf), c.exact);
  }
}

TEST(Layout, Errors) {
  LayoutTree tree;
  auto a = tree.new_leaf(Style{});
  EXPECT_FALSE(tree.new_with_children(Style{}, {NodeId{7}}).is_ok());
  EXPECT_FALSE(tree.new_with_children(Style{}, {*a, *a}).is_ok());
  ASSERT_TRUE(tree.new_with_children(Style{}, {*a}).is_ok());
  EXPECT_FALSE(tree.new_with_children(Style{}, {*a}).is_ok());  // already has a parent
  EXPECT_FALSE(tree.layout(*a).is_ok());                        // not computed yet
  EXPECT_FALSE(tree.compute(NodeId{99}, 10, 10).is_ok());
  EXPECT_FALSE(tree.compute(*a, std::numeric_limits<float>::infinity(), 10).is_ok());
}

TEST(Layout, NodeWidgetMap) {
  NodeWidgetMap map;
  int owner = 0;
  auto* w = reinterpret_cast<widget::Widget*>(&owner);
  map.insert(NodeId{3}, w);
  EXPECT_EQ(map.get(NodeId{3}), w);
  EXPECT_EQ(map.get(NodeId{4}), nullptr);
}

}  // namespace
}  // namespace zarn_ui::layout
