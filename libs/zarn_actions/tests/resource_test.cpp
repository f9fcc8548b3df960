#include "zarn_actions/resource.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zarn_actions::resource {
namespace {

using action::EncodedAction;

ActionContract app_contract() { return ActionContract{{"app", "workspace"}, "app.action", {}, {}}; }

ActionSpec fixed(std::string id, std::string type_name = "app.action") {
  return ActionSpec::returning(id, "Label of " + id, ActionKind::Command,
                               EncodedAction::from_text(std::move(type_name), "\"" + id + "\""));
}

std::vector<std::string> action_ids(const Resource& r) {
  std::vector<std::string> ids;
  for (const ActionSpec& a : r.actions) ids.push_back(a.id);
  return ids;
}

std::vector<std::string> child_ids(const Resource& r) {
  std::vector<std::string> ids;
  for (const Resource& c : r.children) ids.push_back(c.id);
  return ids;
}

TEST(Resource, ActionsAndChildrenKeepCallOrder) {
  Resource place("app.place:7", "app.place", "Cafe");
  place.with_action(fixed("unsave"));
  const Resource root =
      Resource("app.workspace", "app.workspace", "App")
          .with_action(fixed("clear-regions"))
          .with_action(fixed("search"))
          .with_child(Resource("app.history:museum", "app.history", "museum").with_action(fixed("again")))
          .with_child(std::move(place))
          .with_child(Resource("app.settings", "app.settings", "Settings"))
          .with_action(fixed("clear-history"));

  EXPECT_EQ(action_ids(root), (std::vector<std::string>{"clear-regions", "search", "clear-history"}));
  EXPECT_EQ(child_ids(root), (std::vector<std::string>{"app.history:museum", "app.place:7", "app.settings"}));
  EXPECT_EQ(root.children[1].title, "Cafe");
  EXPECT_EQ(root.children[1].kind, "app.place");

  ASSERT_NE(root.find("app.place:7"), nullptr);
  EXPECT_EQ(root.find("app.place:7")->find_action("unsave")->label, "Label of unsave");
  EXPECT_EQ(root.find("app.workspace"), &root);
  EXPECT_EQ(root.find("app.nothing"), nullptr);
  EXPECT_EQ(root.find_action("unsave"), nullptr);  // a child's action is not the parent's
}

TEST(ActionSpec, ReturningGivesACopyOnEveryInvocation) {
  ActionSpec spec = fixed("clear").with_contract(app_contract());
  for (int i = 0; i < 2; ++i) {
    EncodeResult r = spec.invoke(ActionArgs{});
    ASSERT_TRUE(r.is_ok());
    EXPECT_EQ(r.value(), EncodedAction::from_text("app.action", "\"clear\""));
  }
  ASSERT_TRUE(spec.contract.has_value());
  EXPECT_EQ(spec.contract->scopes, (std::vector<std::string>{"app", "workspace"}));
}

TEST(ActionSpec, EncoderReadsTextArguments) {
  ActionSpec spec("search", "Search", ActionKind::Interface, [](const ActionArgs& args) -> EncodeResult {
    return EncodedAction::from_text("app.search", args.text("value").value_or(""));
  });
  spec.with_param(ActionParam{"value", ParamKind::Text, "Place or address", "e.g. museum", false});

  EXPECT_EQ(spec.invoke(ActionArgs{}.set("value", "museum")).value().payload_text(), "museum");
  EXPECT_EQ(spec.invoke(ActionArgs{}).value().payload_text(), "");
  EXPECT_EQ(spec.params.size(), 1u);
  EXPECT_EQ(spec.kind, ActionKind::Interface);
}

TEST(ActionSpec, InvokeRefusals) {
  const ActionSpec unavailable = fixed("locate").with_availability(
      Availability::refused("location_service_offline", "The location service is unavailable in this session"));
  const ActionSpec wrong_type = fixed("clear", "app.other").with_contract(app_contract());
  const ActionSpec throwing("boom", "Boom", ActionKind::Command,
                            [](const ActionArgs&) -> EncodeResult { throw std::runtime_error("bad value"); });
  const ActionSpec no_encoder("none", "None", ActionKind::Command, Encoder{});
  const ActionSpec failing("fail", "Fail", ActionKind::Command, [](const ActionArgs&) -> EncodeResult {
    return action::ActionError::encode("app.action", "not representable");
  });

  struct Case {
    const ActionSpec* spec;
    std::string code;
    std::string message;
  };
  const Case cases[] = {
      {&unavailable, "location_service_offline", "The location service is unavailable in this session"},
      {&wrong_type, "operation_type_mismatch",
       "action type `app.other` does not match the operation type `app.action`"},
      {&throwing, "encode_failed", "failed to encode action `boom`: bad value"},
      {&no_encoder, "invalid_action", "invalid action: action `none` has no encoder"},
      {&failing, "encode_failed", "failed to encode action `app.action`: not representable"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spec->id);
    EncodeResult r = c.spec->invoke(ActionArgs{});
    ASSERT_TRUE(r.is_err());
    EXPECT_EQ(r.error().code, c.code);
    EXPECT_EQ(r.error().display(), c.message);
  }
  EXPECT_FALSE(unavailable.availability.is_available());
  EXPECT_TRUE(fixed("x").availability.is_available());
}

TEST(EnforceOperationType, AgainstATypeName) {
  struct Case {
    std::string operation_type;
    EncodeResult input;
    bool ok;
  };
  const Case cases[] = {
      {"app.search", EncodedAction::from_text("app.search", "\"x\""), true},
      {"app.search", EncodedAction::from_text("app.action", "\"x\""), false},
      {"", EncodedAction::from_text("anything", ""), true},
      {"app.search", action::ActionError::encode("app.search", "earlier failure"), false},
  };
  for (const Case& c : cases) {
    EncodeResult r = enforce_operation_type(c.operation_type, c.input);
    EXPECT_EQ(r.is_ok(), c.ok) << c.operation_type;
    if (c.input.is_err()) {
      EXPECT_EQ(r.error(), c.input.error());  // an earlier error passes unchanged
    }
    if (c.ok) {
      EXPECT_EQ(r.value(), c.input.value());
    }
  }
}

TEST(EnforceOperationType, AgainstASpec) {
  const EncodedAction app = EncodedAction::from_text("app.action", "{}");
  const EncodedAction other = EncodedAction::from_text("app.other", "{}");
  const ActionSpec contracted = fixed("a").with_contract(app_contract());
  const ActionSpec no_input_type = fixed("b").with_contract(ActionContract{});
  const ActionSpec no_contract = fixed("c");

  EXPECT_TRUE(enforce_operation_type(contracted, app).is_ok());
  action::ActionStatus refused = enforce_operation_type(contracted, other);
  ASSERT_TRUE(refused.is_err());
  EXPECT_EQ(refused.error().type_name, "app.other");
  EXPECT_TRUE(enforce_operation_type(no_input_type, other).is_ok());
  EXPECT_TRUE(enforce_operation_type(no_contract, other).is_ok());
}

TEST(ActionArgs, TypedReads) {
  ActionArgs args;
  args.set("value", "museum").set("count", std::int64_t{3}).set("ratio", 0.5).set("flag", true);
  args.set("value", "park");  // replaces

  EXPECT_EQ(args.text("value"), "park");
  EXPECT_EQ(args.text("count"), std::nullopt);
  EXPECT_EQ(args.text("missing"), std::nullopt);
  EXPECT_EQ(args.integer("count"), 3);
  EXPECT_EQ(args.integer("ratio"), std::nullopt);
  EXPECT_EQ(args.number("count"), 3.0);
  EXPECT_EQ(args.number("ratio"), 0.5);
  EXPECT_EQ(args.boolean("flag"), true);
  EXPECT_EQ(args.boolean("value"), std::nullopt);
  EXPECT_EQ(args.size(), 4u);
  EXPECT_TRUE(args.contains("flag"));
}

}  // namespace
}  // namespace zarn_actions::resource
