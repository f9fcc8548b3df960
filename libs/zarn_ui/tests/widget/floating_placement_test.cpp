#include "zarn_ui/floating_surface.hpp"

#include <gtest/gtest.h>

namespace zarn_ui::floating_surface {
namespace {

using Clock = FloatingPlacement::Clock;
const Rect kBounds{0, 0, 1280, 800};

// The hand-off keeps frames coming only while it runs: once over, a detached or re-attached
// panel lets the window loop sleep again.
TEST(FloatingPlacement, HandOffAnimationEndsByItself) {
  const Clock::time_point t0 = Clock::now();
  FloatingPlacement p = FloatingPlacement::docked({360, 156});
  EXPECT_FALSE(p.is_handoff_animating(t0));

  p.detach_to_desktop({820, 120, 1180, 276}, t0);
  EXPECT_TRUE(p.is_handoff_animating(t0));
  EXPECT_TRUE(p.is_handoff_animating(t0 + FloatingPlacement::kHandoffDuration / 2));
  EXPECT_FALSE(p.is_handoff_animating(t0 + FloatingPlacement::kHandoffDuration));

  const Clock::time_point t1 = t0 + std::chrono::seconds(5);
  p.reattach_to_app(kBounds, kBounds, t1);
  EXPECT_TRUE(p.is_handoff_animating(t1));
  EXPECT_FALSE(p.is_handoff_animating(t1 + FloatingPlacement::kHandoffDuration));

  p.reattach_to_app(kBounds, kBounds, t1);
  p.confirm_app_adoption(kBounds);
  EXPECT_FALSE(p.is_handoff_animating(t1));
}

TEST(FloatingPlacement, PinnedHandOffStaysOnUntilReset) {
  FloatingPlacement p = FloatingPlacement::docked({360, 156});
  p.pin_handoff_for_visual_review(500);
  EXPECT_TRUE(p.is_handoff_animating(Clock::now() + std::chrono::hours(1)));
  p.reset_keep_size();
  EXPECT_FALSE(p.is_handoff_animating());
  EXPECT_EQ(p.panel_size, (Size{360, 156}));
}

TEST(FloatingPlacement, DetachedPanelFloatsWhereItWasPut) {
  FloatingPlacement p = FloatingPlacement::docked({360, 156});
  EXPECT_EQ(p.rect(kBounds, kBounds), (Rect{460, 628, 820, 784}));
  p.detach_to_desktop({820, 120, 1180, 276});
  EXPECT_FALSE(p.is_docked());
  EXPECT_EQ(p.rect(kBounds, kBounds), (Rect{820, 120, 1180, 276}));
  EXPECT_EQ(p.desktop_origin, (Point{820, 120}));
}

// The hand-off animation moves and scales the whole panel about its centre; at rest, pinned at
// its end, or with reduced motion the panel is drawn as it is.
TEST(FloatingPlacement, PresentationTransformFollowsTheHandOff) {
  const Rect panel{820, 120, 1180, 276};
  const Affine base = Affine::translate(3, 4);
  const Clock::time_point t0 = Clock::now();
  FloatingPlacement p = FloatingPlacement::docked({360, 156});
  EXPECT_EQ(p.presentation_transform(base, panel, false, t0), base);

  p.detach_to_desktop(panel, t0);
  const Affine start = p.presentation_transform(base, panel, false, t0);
  EXPECT_NE(start, base);
  // The centre stays over the panel's centre, a little lower; the panel is smaller.
  const Point c = start.apply(panel.center());
  EXPECT_DOUBLE_EQ(c.x, panel.center().x + 3);
  EXPECT_GT(c.y, panel.center().y + 4);
  EXPECT_LT(start.apply({panel.x1, panel.y1}).x - start.apply({panel.x0, panel.y0}).x, panel.width());
  EXPECT_EQ(p.presentation_transform(base, panel, true, t0), base);  // reduced motion

  // Half way it has come more than half of the way (it eases out), and at the end it is done.
  const double scale_start = start.a;
  const double scale_mid = p.presentation_transform(base, panel, false, t0 + FloatingPlacement::kHandoffDuration / 2).a;
  EXPECT_GT(scale_mid, scale_start + (1.0 - scale_start) / 2);
  EXPECT_LT(scale_mid, 1.0);
  EXPECT_EQ(p.presentation_transform(base, panel, false, t0 + FloatingPlacement::kHandoffDuration), base);

  // A pinned hand-off is drawn at its pinned point: 1000 is the end, 500 half way.
  p.pin_handoff_for_visual_review(1000);
  EXPECT_EQ(p.presentation_transform(base, panel, false, t0 + std::chrono::hours(1)), base);
  p.pin_handoff_for_visual_review(500);
  EXPECT_DOUBLE_EQ(p.handoff_progress(t0 + std::chrono::hours(1)), 0.5);
  EXPECT_NEAR(p.presentation_transform(base, panel, false, t0).a, scale_mid, 1e-9);
}

// Between the bottom corners' buttons when there is room, else raised above them.
TEST(FloatingPlacement, DockedPanelKeepsClearOfTheBottomCorners) {
  const FloatingPlacement p = FloatingPlacement::docked({360, 156});
  EXPECT_EQ(p.rect({0, 0, 504, 800}, {}), (Rect{72, 628, 432, 784}));
  EXPECT_EQ(p.rect({0, 0, 400, 800}, {}), (Rect{20, 582, 380, 738}));
}

// The desktop's placement: a panel at rest takes the rectangle, a docked or dragged one keeps
// its size and moves its corner there; either way it floats, on the desktop as the flag says.
TEST(FloatingPlacement, PlacedByTheDesktop) {
  FloatingPlacement resting = FloatingPlacement::docked({360, 156});
  resting.detach_to_desktop({100, 100, 460, 256});
  resting.place({10, 20, 400, 200}, {1010, 1020}, true);
  EXPECT_EQ(resting.floating_rect, (Rect{10, 20, 400, 200}));
  EXPECT_EQ(resting.desktop_origin, (Point{1010, 1020}));
  EXPECT_TRUE(resting.detached);

  FloatingPlacement docked = FloatingPlacement::docked({360, 156});
  docked.place({10, 20, 400, 200}, {}, false);
  EXPECT_EQ(docked.state, PlacementState::Floating);
  EXPECT_EQ(docked.floating_rect, (Rect{10, 20, 370, 176}));
  EXPECT_FALSE(docked.detached);

  FloatingPlacement dragged = FloatingPlacement::docked({360, 156});
  dragged.begin_drag(kBounds, kBounds, {500, 700});
  dragged.update_drag(kBounds, {510, 690});
  dragged.place({0, 0, 10, 10}, {}, true);
  EXPECT_EQ(dragged.floating_rect, (Rect{0, 0, 360, 156}));
}

// A panel handed back comes into the window whole: moved in when it hangs over an edge, put at
// the bottom centre when it was nowhere over the window.
TEST(FloatingPlacement, ReattachedPanelLiesInsideTheWindow) {
  struct Case {
    Rect at;
    Rect expect;
  } cases[] = {
      {{100, 100, 460, 256}, {100, 100, 460, 256}},
      {{1100, 700, 1460, 856}, {920, 644, 1280, 800}},
      {{-50, -20, 310, 136}, {0, 0, 360, 156}},
      {{2000, 2000, 2360, 2156}, {460, 628, 820, 784}},
  };
  for (const auto& c : cases) {
    FloatingPlacement p = FloatingPlacement::docked({360, 156});
    p.detach_to_desktop(c.at);
    p.detached = true;
    p.reattach_to_app(kBounds, kBounds);
    EXPECT_EQ(p.floating_rect, c.expect);
    EXPECT_FALSE(p.detached || p.detach_confirmed);
  }
}

TEST(FloatingPlacement, MoreThanHalfOverTheWindowReturnsToIt) {
  EXPECT_TRUE(returns_to_host({1000, 100, 1360, 256}, kBounds));   // 280 of 360 columns inside
  EXPECT_FALSE(returns_to_host({1100, 100, 1460, 256}, kBounds));  // exactly half
  EXPECT_FALSE(returns_to_host({1300, 100, 1660, 256}, kBounds));
  EXPECT_FALSE(returns_to_host({}, kBounds));
}

}  // namespace
}  // namespace zarn_ui::floating_surface
