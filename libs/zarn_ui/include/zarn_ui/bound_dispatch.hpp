#pragma once
// Typed actions bound to the document's history. Something that follows the history (an undo
// stack, a sync peer) listens on a binding; while one listens, every successful typed action is
// reported with the heads before and after it. Without a listener the hooks cost nothing.

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "automerge/automerge.hpp"

namespace zarn_ui::bound_dispatch {

using Heads = std::vector<automerge::ChangeHash>;

// What one typed action changed, as the document's heads before and after it.
struct TypedActionSpan {
  Heads before;
  Heads after;
  bool changed() const { return before != after; }
  bool operator==(const TypedActionSpan&) const = default;
};

class Binding {
 public:
  using Listener = std::function<void(const TypedActionSpan&)>;
  static constexpr std::size_t kMaxSpans = 64;

  void listen(Listener listener) { listener_ = std::move(listener); }
  void unlisten() { listener_ = nullptr; }
  bool is_listening() const { return static_cast<bool>(listener_); }

  // The latest reported spans, oldest first.
  const std::deque<TypedActionSpan>& spans() const { return spans_; }

 private:
  friend void report_typed_action(Binding& binding, const Heads& before, const Heads& after);
  Listener listener_;
  std::deque<TypedActionSpan> spans_;
};

// The heads to count as "before" the action, or none when nothing listens (no report follows).
std::optional<Heads> typed_action_before(automerge::AutoCommit& doc, const Binding& binding);

// After a successful dispatch: records the span and tells the listener. A listener that throws
// is ignored.
void report_typed_action(Binding& binding, const Heads& before, const Heads& after);

}  // namespace zarn_ui::bound_dispatch
