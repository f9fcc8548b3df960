#pragma once
// Tooltips: the host that brings one up after the pointer rests on a target, and its drawing.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"

namespace zarn_ui::theme {
struct Theme;
}

namespace zarn_ui::widgets {

struct TooltipTarget {
  Rect rect;
  std::string text;
  bool operator==(const TooltipTarget&) const = default;
};

// Brings a tooltip up after the pointer rests on a target, and takes it down again.
class TooltipHost {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kDelay{500};

  // True when what is shown changed.
  bool on_pointer(std::optional<TooltipTarget> target, Clock::time_point now) {
    if (target == target_) return false;
    target_ = std::move(target);
    since_ = now;
    shown_ = false;
    return true;
  }
  // True when the tooltip came up.
  bool tick(Clock::time_point now) {
    if (target_ && !shown_ && now - since_ >= kDelay) {
      shown_ = true;
      return true;
    }
    return false;
  }
  void dismiss() {
    target_.reset();
    shown_ = false;
  }
  const std::optional<TooltipTarget>& target() const { return target_; }
  bool shown() const { return shown_; }
  // A tooltip is on its way: a target is held and not yet shown.
  bool in_progress() const { return target_.has_value() && !shown_; }
  // When the tooltip on its way comes up; none when none is.
  std::optional<Clock::time_point> due() const {
    if (!in_progress()) return std::nullopt;
    return since_ + kDelay;
  }

 private:
  std::optional<TooltipTarget> target_;
  Clock::time_point since_{};
  bool shown_ = false;
};

// A small bubble with `label` for the target `anchor`, kept inside `bounds`: below the anchor,
// else to its left, else above it, each centred on the anchor and slid along its side to stay
// inside; when none fits, below and pushed inside. A label wider than the bounds is wrapped
// between words, on at most four lines. Its colours are the theme's foreground and surface,
// swapped.
void draw_hover_tooltip(Scene& scene, const Affine& transform, const text_render::TextRenderer& text,
                        const theme::Theme& theme, const Rect& anchor, std::string_view label, const Rect& bounds);

// Where draw_hover_tooltip puts the bubble for a label `label_width` wide on `lines` lines.
Rect tooltip_rect(const Rect& anchor, double label_width, const Rect& bounds, std::size_t lines = 1);

}  // namespace zarn_ui::widgets
