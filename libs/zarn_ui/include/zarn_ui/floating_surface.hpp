#pragma once
// Floating surfaces: where a floating panel is (docked, floating in the window, or detached to
// the desktop), how it follows a drag, and the desktop protocol events about it.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "zarn_ui/geometry.hpp"

namespace zarn_ui::floating_surface {

enum class PlacementState : std::uint8_t { Docked = 0, Floating = 1, Detaching = 2 };

struct DragState {
  Point grab_offset;  // pointer minus panel origin at the press
  Point start;
  bool operator==(const DragState&) const = default;
};

class FloatingPlacement {
 public:
  using Clock = std::chrono::steady_clock;
  // How long the hand-off between the window and the desktop animates.
  static constexpr std::chrono::milliseconds kHandoffDuration{200};

  static FloatingPlacement docked(Size panel_size) {
    FloatingPlacement p;
    p.panel_size = panel_size;
    return p;
  }

  // The panel's rectangle: docked at the bottom centre of `bounds` (raised above the bottom
  // corners' buttons when the window is too narrow to fit it between them), else where it floats.
  Rect rect(const Rect& bounds, const Rect& host) const;
  void begin_drag(const Rect& bounds, const Rect& host, Point pointer);
  // True when the panel left the window far enough to go to the desktop.
  bool update_drag(const Rect& bounds, Point pointer);
  void end_drag();
  // Both start the hand-off animation, which ends by itself after kHandoffDuration.
  void detach_to_desktop(const Rect& at, Clock::time_point now = Clock::now());
  void reattach_to_app(const Rect& bounds, const Rect& host, Clock::time_point now = Clock::now());
  void confirm_app_adoption(const Rect& bounds);
  // The desktop put the panel at `at` (window coordinates) with its surface's desktop origin:
  // a floating panel at rest takes the rectangle; a docked or dragged one is moved so that its
  // top-left corner lands there. Either way it floats afterwards.
  void place(const Rect& at, Point origin, bool on_desktop);
  // A pinned hand-off stays on until the placement is reset.
  bool is_handoff_animating(Clock::time_point now = Clock::now()) const {
    return handoff_pin_.has_value() || (handoff_until_ && now < *handoff_until_);
  }
  // Holds the hand-off at `value` thousandths of its way (1000: finished, as it looks at rest).
  void pin_handoff_for_visual_review(std::uint32_t value) { handoff_pin_ = value; }
  std::optional<std::uint32_t> handoff_pin() const { return handoff_pin_; }
  bool is_docked() const { return state == PlacementState::Docked; }
  // How far the hand-off has come, 0 to 1; 1 when none runs.
  double handoff_progress(Clock::time_point now = Clock::now()) const;
  // `transform` with the hand-off applied to the panel drawn at `panel`: while it runs the panel
  // grows from a little smaller to its size about its centre and settles from a few pixels
  // lower. With reduced motion, and at rest, `transform` itself.
  Affine presentation_transform(const Affine& transform, const Rect& panel, bool reduce_motion,
                                Clock::time_point now = Clock::now()) const;
  // Back to a new placement's state, keeping the panel size.
  void reset_keep_size() {
    const Size s = panel_size;
    *this = FloatingPlacement();
    panel_size = s;
  }

  PlacementState state = PlacementState::Docked;
  bool detach_confirmed = false;
  bool detached = false;
  bool handing_back = false;
  std::optional<DragState> drag;
  Size panel_size{360, 156};
  Rect floating_rect;  // where the panel floats (window coordinates) or sits on the desktop
  Point desktop_origin;

 private:
  std::optional<std::uint32_t> handoff_pin_;
  std::optional<Clock::time_point> handoff_until_;
};

// True when more than half of a panel at `panel` lies over the window's `bounds`: a desktop
// panel let go there goes back into the window, as one dragged out past that point leaves it.
bool returns_to_host(const Rect& panel, const Rect& bounds);

// A rectangle as the desktop protocol carries it: integers, origin and size.
struct ProtocolRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const ProtocolRect&) const = default;
};

// A rectangle, or nothing for an empty or overflowing protocol rectangle.
std::optional<Rect> protocol_rect(const ProtocolRect& r);

struct SurfaceEvent {
  struct Placed {
    std::string id;
    ProtocolRect rect;
    Point origin;
    bool detached = false;
  };
  struct DetachConfirmed {
    std::string id;
    ProtocolRect rect;
  };
  struct AdoptionConfirmed {
    std::string id;
  };
  struct Returned {
    std::string id;
  };
  struct Closed {
    std::string id;
  };
  std::variant<Placed, DetachConfirmed, AdoptionConfirmed, Returned, Closed> value;
};

// A request to present a panel as its own surface.
struct FloatingSurfaceRequest {
  std::string id;
  std::string title;
  std::string app_id;
  std::string kind;
  Rect panel_rect;
  Rect outer_rect;
  Rect given_rect;
  std::optional<std::string> note;
  Size size;
  std::uint8_t option = 0;
  bool operator==(const FloatingSurfaceRequest&) const = default;
};

struct FloatingSurfaceEntry {
  std::string id;
  Rect panel_rect;
  Rect outer_rect;
  bool handing_back = false;
  bool operator==(const FloatingSurfaceEntry&) const = default;
};

}  // namespace zarn_ui::floating_surface
