#include "zarn_ui/access.hpp"

#include <gtest/gtest.h>

#include <string>

#include "zarn_ui/state.hpp"
#include "zarn_ui/widget.hpp"

namespace zarn_ui::access {
namespace {

TEST(AccessNode, KeyIsFnv1aOfTheIdAndATerminatingByte) {
  struct Case {
    const char* id;
    std::uint64_t key;
  } cases[] = {
      // FNV-1a 64 of the single byte 0xFF, and of "a" followed by 0xFF, computed from the
      // offset basis 0xcbf29ce484222325 and the prime 0x100000001b3 outside this code.
      {"", 0xaf64724c8602eb6eull},
      {"a", 0x089bc907b544c769ull},
  };
  for (const Case& c : cases) EXPECT_EQ(node_key(c.id), c.key) << c.id;
  EXPECT_NE(node_key("maps.control:zoom-in"), node_key("maps.control:zoom-out"));
  EXPECT_EQ(AccessNode::with_role(Role::Button).with_id("maps.search").key, node_key("maps.search"));
}

TEST(AccessNode, OptionalNameAndFind) {
  EXPECT_EQ(AccessNode::with_role(Role::Window).with_optional_name("").name, std::nullopt);
  EXPECT_EQ(AccessNode::with_role(Role::Window).with_optional_name("Maps").name, std::optional<std::string>("Maps"));
  const AccessNode root = AccessNode::with_role(Role::Window)
                              .with_children({AccessNode::with_role(Role::Group)
                                                  .with_id("g")
                                                  .with_children({AccessNode::with_role(Role::Button).with_id("b")}),
                                              AccessNode::with_role(Role::Button).with_id("b")});
  const AccessNode* found = root.find("b");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found, &root.children[0].children[0]);
  EXPECT_EQ(root.find("missing"), nullptr);
}

TEST(SemanticBindings, EveryShownNodeWithAnIdAndAnActionInTreeOrder) {
  const AccessNode root =
      AccessNode::with_role(Role::Window)
          .with_children({
              AccessNode::with_role(Role::Button).with_id("one").with_action(SemanticAction::Activate),
              AccessNode::with_role(Role::Label).with_id("label"),
              AccessNode::with_role(Role::Button)
                  .with_id("hidden")
                  .with_action(SemanticAction::Activate)
                  .with_flags(flags::kHidden),
              AccessNode::with_role(Role::Group)
                  .with_children(
                      {AccessNode::with_role(Role::TextField).with_id("field").with_action(SemanticAction::Focus)}),
          });
  const auto bindings = widget::semantic_action_bindings(root);
  ASSERT_EQ(bindings.size(), 2u);
  EXPECT_EQ(bindings[0], (widget::SemanticBinding{"one", node_key("one"), SemanticAction::Activate}));
  EXPECT_EQ(bindings[1], (widget::SemanticBinding{"field", node_key("field"), SemanticAction::Focus}));
}

// A widget that performs one action by id.
class OneAction final : public widget::Widget {
 public:
  ui_action::ActionOutcome perform_action(state::State&, zarn_actions::resource::ActionKind, std::string_view id,
                                          std::string_view) override {
    if (id == "ok") return ui_action::ActionOutcome::performed();
    if (id == "bad") return ui_action::ActionOutcome::failed("no such thing");
    return ui_action::ActionOutcome::not_handled();
  }
};

TEST(WidgetDefaults, BeginActionAnswersAtOnceThroughPerformAction) {
  OneAction w;
  state::State doc_state;
  const ui_action::RequestId id{};
  EXPECT_EQ(w.begin_action(doc_state, id, zarn_actions::resource::ActionKind::Interface, "ok", ""),
            ui_action::BeginOutcome::completed({}));
  EXPECT_EQ(w.begin_action(doc_state, id, zarn_actions::resource::ActionKind::Interface, "bad", ""),
            ui_action::BeginOutcome::refused("no such thing"));
  EXPECT_EQ(w.begin_action(doc_state, id, zarn_actions::resource::ActionKind::Interface, "other", ""),
            ui_action::BeginOutcome::not_handled());
  EXPECT_EQ(w.poll_action(id), std::nullopt);
  EXPECT_TRUE(w.semantic_bindings().empty());
}

}  // namespace
}  // namespace zarn_ui::access
