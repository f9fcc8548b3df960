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

}  // namespace
}  // namespace zarn_ui::floating_surface
