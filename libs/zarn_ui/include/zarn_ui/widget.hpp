#pragma once
// The widget interface the framework drives every frame, and the floating-surface host that a
// widget may hand out. Every operation has a default body; a widget overrides what it needs.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "zarn_actions/resource.hpp"
#include "zarn_ui/access.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/floating_surface.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/layout.hpp"
#include "zarn_ui/resource_query.hpp"
#include "zarn_ui/ui_action.hpp"

namespace zarn_ui {
class Scene;
}
namespace zarn_ui::text_render {
class TextRenderer;
}
namespace zarn_ui::theme {
struct Theme;
}
namespace zarn_ui::presence {
struct PresenceCtx;
}
namespace zarn_ui::permissions {
class PermissionContext;
}
namespace zarn_ui::state {
class State;
}

namespace zarn_ui::widget {

// Where the focused text field showed its caret in the frame being painted, in window
// coordinates. The window turns the input method on while a field is focused and shows its
// candidates there; with nothing set it turns the input method off.
struct TextInputFocus {
  std::optional<Rect> caret;
};

// What a widget draws with.
struct PaintCtx {
  text_render::TextRenderer& text;
  const theme::Theme& theme;
  const presence::PresenceCtx& presence;
  const permissions::PermissionContext& permissions;
  // The window's; none in shots and tests.
  TextInputFocus* text_input = nullptr;
  // Device pixels per unit of the scene on the surface it is replayed onto: a painter that
  // rasterises ahead of the replay does it at this scale.
  double device_scale = 1.0;
};

// The framework's side of floating panels: it asks for surface requests, draws floating panels
// and reports the desktop's protocol events back.
class FloatingSurfaceHost {
 public:
  virtual ~FloatingSurfaceHost() = default;
  virtual std::optional<floating_surface::FloatingSurfaceRequest> take_surface_request() { return std::nullopt; }
  virtual std::uint8_t focused_surface_index() const { return 255; }
  virtual std::vector<std::string> pending_surface_closes() { return {}; }
  virtual void draw_floating(Scene&, const Affine&, text_render::TextRenderer&, const theme::Theme&) {}
  virtual std::vector<floating_surface::FloatingSurfaceEntry> floating_surfaces() const { return {}; }
  virtual std::vector<std::string> surface_snapshot() const { return {}; }
  virtual void set_host_rect(const Rect&) {}
  virtual void apply_surface_event(const floating_surface::SurfaceEvent&) {}
  // Input that reached a surface's own window. Pointer positions are physical pixels in the
  // host window's coordinates (the loop translates them), as the floating panel is drawn.
  virtual void handle_surface_event(const std::string& /*id*/, const Event&, std::uint32_t /*modifiers*/, state::State&,
                                    bool& /*handled*/, double /*scale*/) {}
};

// One semantic action a front end may run on a node of the accessibility tree.
struct SemanticBinding {
  std::string id;
  std::uint64_t key = 0;
  access::SemanticAction action = access::SemanticAction::None;
  bool operator==(const SemanticBinding&) const = default;
};

// The bindings of every node of the tree that has an id and an action and is not hidden, depth
// first in child order.
std::vector<SemanticBinding> semantic_action_bindings(const access::AccessNode& root);

// What a dispatch left for the front end to show; taken once.
struct ActionOutput {
  std::string type_name;
  std::string label;
  bool succeeded = false;
  std::string error;
  bool operator==(const ActionOutput&) const = default;
};

class Widget {
 public:
  virtual ~Widget() = default;

  virtual FloatingSurfaceHost* floating_surface_host() { return nullptr; }
  virtual const FloatingSurfaceHost* floating_surface_host() const { return nullptr; }

  // Once per frame, before layout.
  virtual void tick(state::State&) {}
  virtual std::optional<layout::NodeId> build_layout(layout::LayoutTree&, const theme::Theme&, layout::NodeWidgetMap&) {
    return std::nullopt;
  }
  virtual void apply_layout(const layout::LayoutTree&, layout::NodeId, Point /*origin*/) {}
  virtual void draw(Scene&, const Affine&, const PaintCtx&) {}
  // Sets `handled` to true when the event was used; never clears it.
  virtual void handle_event(const Event&, std::uint32_t /*modifiers*/, state::State&, bool& /*handled*/,
                            double /*scale*/) {}

  virtual std::vector<std::string> action_names() const { return {}; }
  virtual std::string_view type_name() const { return "Widget"; }
  virtual std::string_view widget_id() const { return ""; }
  virtual Rect bounds() const { return {}; }

  // Accessibility: the tree, the bounds of a child given by its path of child indices, and a
  // semantic action on a node id (true when the widget ran something).
  virtual std::optional<access::AccessNode> access_node() const { return std::nullopt; }
  virtual std::optional<Rect> access_child_bounds(std::span<const std::size_t> /*path*/) const { return std::nullopt; }
  virtual bool perform_semantic_action(std::string_view /*id*/, access::SemanticAction, state::State&) { return false; }
  // Built on access_node.
  virtual std::vector<SemanticBinding> semantic_bindings() const;

  // Resources: everything the widget offers to the action system, a page of it, one by id.
  virtual std::vector<zarn_actions::resource::Resource> resources(const state::State&) const { return {}; }
  virtual resource_query::ResourcePage query_resources(const resource_query::ResourceQuery&,
                                                       const state::State&) const {
    return {};
  }
  virtual std::optional<zarn_actions::resource::Resource> resource(std::string_view /*id*/, const state::State&) const {
    return std::nullopt;
  }
  virtual std::optional<ActionOutput> take_pending_action_output() { return std::nullopt; }

  // Interface actions by id with the action spec's kind and a JSON argument (empty for none);
  // begin_action may answer later through poll_action.
  virtual ui_action::ActionOutcome perform_action(state::State&, zarn_actions::resource::ActionKind /*kind*/,
                                                  std::string_view /*id*/, std::string_view /*argument*/) {
    return ui_action::ActionOutcome::not_handled();
  }
  virtual ui_action::BeginOutcome begin_action(state::State& state, const ui_action::RequestId&,
                                               zarn_actions::resource::ActionKind kind, std::string_view id,
                                               std::string_view argument);
  virtual std::optional<ui_action::AsyncResult> poll_action(const ui_action::RequestId&) { return std::nullopt; }

  virtual void set_reduce_motion(bool) {}
  // Work that will change what is shown without input: jobs, timers, loading.
  virtual bool has_pending_work() const { return false; }
  // The widget wants the next frame even if nothing else happens.
  virtual bool needs_frame() const { return false; }
  // A timer is armed that neither predicate reports; the loop then wakes now and then.
  virtual bool has_armed_timer() const { return false; }
  // How long the window loop may sleep before the widget wants its next frame, when no event and
  // no wake-up comes first: zero for the next frame slot (an animation, a drag), none to sleep
  // until an event. The default follows the predicates above: frames while work is pending or a
  // frame is wanted, a look every 50 ms while a timer is armed.
  virtual std::optional<std::chrono::milliseconds> next_deadline() const {
    if (needs_frame() || has_pending_work()) return std::chrono::milliseconds{0};
    if (has_armed_timer()) return std::chrono::milliseconds{50};
    return std::nullopt;
  }
  // The window loop hands over a function that wakes it, callable from any thread; a widget
  // whose background work answers on channels gives it to them, so that the loop can sleep
  // until an answer arrives. An empty function takes it back.
  virtual void set_waker(std::function<void()>) {}
  virtual bool has_pointer_capture() const { return false; }
  virtual std::optional<Rect> modal_rect() const { return std::nullopt; }

  // The framework's frame and the shot run paint through this entry.
  virtual void paint(Scene& scene, const Affine& transform, const PaintCtx& ctx) { draw(scene, transform, ctx); }
};

}  // namespace zarn_ui::widget
