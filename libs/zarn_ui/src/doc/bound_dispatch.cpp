#include "zarn_ui/bound_dispatch.hpp"

namespace zarn_ui::bound_dispatch {

std::optional<Heads> typed_action_before(automerge::AutoCommit& doc, const Binding& binding) {
  if (!binding.is_listening()) return std::nullopt;
  return doc.get_heads();
}

void report_typed_action(Binding& binding, const Heads& before, const Heads& after) {
  TypedActionSpan span{before, after};
  if (binding.spans_.size() == Binding::kMaxSpans) binding.spans_.pop_front();
  binding.spans_.push_back(span);
  if (!binding.listener_) return;
  try {
    binding.listener_(span);
  } catch (...) {
    // A listener's failure is its own; the action has already happened.
  }
}

}  // namespace zarn_ui::bound_dispatch
