#include "zarn_ui/access.hpp"

#include "zarn_ui/widget.hpp"

namespace zarn_ui::access {

std::uint64_t node_key(std::string_view id) {
  constexpr std::uint64_t kOffsetBasis = 0xcbf29ce484222325ull;
  constexpr std::uint64_t kPrime = 0x100000001b3ull;
  std::uint64_t h = kOffsetBasis;
  for (const char c : id) {
    h ^= static_cast<std::uint8_t>(c);
    h *= kPrime;
  }
  h ^= 0xFFu;
  h *= kPrime;
  return h;
}

const AccessNode* AccessNode::find(std::string_view node_id) const {
  if (id == node_id) return this;
  for (const AccessNode& child : children) {
    if (const AccessNode* found = child.find(node_id)) return found;
  }
  return nullptr;
}

}  // namespace zarn_ui::access

namespace zarn_ui::widget {

namespace {

void collect_bindings(const access::AccessNode& node, std::vector<SemanticBinding>& out) {
  if (!node.id.empty() && node.action != access::SemanticAction::None && !node.has_flag(access::flags::kHidden)) {
    out.push_back({node.id, node.key, node.action});
  }
  for (const access::AccessNode& child : node.children) collect_bindings(child, out);
}

}  // namespace

std::vector<SemanticBinding> semantic_action_bindings(const access::AccessNode& root) {
  std::vector<SemanticBinding> out;
  collect_bindings(root, out);
  return out;
}

std::vector<SemanticBinding> Widget::semantic_bindings() const {
  const auto root = access_node();
  if (!root) return {};
  return semantic_action_bindings(*root);
}

}  // namespace zarn_ui::widget

namespace zarn_ui::widget {

// A widget without asynchronous actions answers every request at once.
ui_action::BeginOutcome Widget::begin_action(state::State& state, const ui_action::RequestId&,
                                             zarn_actions::resource::ActionKind kind, std::string_view id,
                                             std::string_view argument) {
  ui_action::ActionOutcome outcome = perform_action(state, kind, id, argument);
  switch (outcome.kind) {
    case ui_action::ActionOutcome::Kind::Performed: return ui_action::BeginOutcome::completed({});
    case ui_action::ActionOutcome::Kind::Failed: return ui_action::BeginOutcome::refused(std::move(outcome.error));
    case ui_action::ActionOutcome::Kind::NotHandled: break;
  }
  return ui_action::BeginOutcome::not_handled();
}

}  // namespace zarn_ui::widget
