#include "zarn_actions/registry.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

#include "fake_action.hpp"

namespace zarn_actions {
namespace {

using action::ActionError;
using action::EncodedAction;
using registry::DecodeResult;
using testing::FakeAction;

// Decodes a payload that must be exactly "ok:<name>".
registry::Decoder named_decoder(std::string type_name, std::string prefix) {
  return [type_name, prefix](std::span<const std::uint8_t> payload) -> DecodeResult {
    std::string text(payload.begin(), payload.end());
    if (text.rfind("ok:", 0) != 0) return ActionError::decode(type_name, "expected ok:<name>");
    return std::make_unique<FakeAction>(prefix + text.substr(3));
  };
}

std::string decoded_name(const DecodeResult& r) {
  return r.is_ok() ? static_cast<const FakeAction&>(*r.value()).name() : "error: " + r.error().code;
}

TEST(ActionRegistry, SecondRegistrationUnderANameReplacesTheFirst) {
  ActionRegistry registry;
  ASSERT_TRUE(registry.register_decoder("app.action", named_decoder("app.action", "first-")));
  ASSERT_TRUE(registry.register_decoder("app.action", named_decoder("app.action", "second-")));
  ASSERT_TRUE(registry.register_decoder("app.other", named_decoder("app.other", "other-")));

  EXPECT_EQ(registry.size(), 2u);
  EXPECT_EQ(registry.type_names(), (std::vector<std::string>{"app.action", "app.other"}));
  EXPECT_EQ(decoded_name(registry.decode(EncodedAction::from_text("app.action", "ok:x"))), "second-x");
  EXPECT_EQ(decoded_name(registry.decode(EncodedAction::from_text("app.other", "ok:y"))), "other-y");
}

TEST(ActionRegistry, RefusesEmptyNamesAndEmptyDecoders) {
  ActionRegistry registry;
  EXPECT_FALSE(registry.register_decoder("", named_decoder("", "")));
  EXPECT_FALSE(registry.register_decoder("app.action", registry::Decoder{}));
  EXPECT_EQ(registry.size(), 0u);
  EXPECT_FALSE(registry.contains("app.action"));
  EXPECT_EQ(registry.find("app.action"), nullptr);
}

TEST(ActionRegistry, DecodeFailuresBecomeErrors) {
  ActionRegistry registry;
  ASSERT_TRUE(registry.register_decoder("app.action", named_decoder("app.action", "")));
  ASSERT_TRUE(registry.register_decoder(
      "app.null", [](std::span<const std::uint8_t>) -> DecodeResult { return std::unique_ptr<action::Action>{}; }));
  ASSERT_TRUE(registry.register_decoder("app.throws", [](std::span<const std::uint8_t>) -> DecodeResult {
    throw std::runtime_error("parser exploded");
  }));

  struct Case {
    std::string type_name;
    std::string payload;
    std::string code;
    std::string message;
  };
  const Case cases[] = {
      {"app.action", "garbage", "decode_failed", "failed to decode action `app.action`: expected ok:<name>"},
      {"app.missing", "ok:x", "unknown_action_type", "no decoder registered for action type `app.missing`"},
      {"app.null", "", "decode_failed", "failed to decode action `app.null`: the decoder produced no action"},
      {"app.throws", "", "decode_failed", "failed to decode action `app.throws`: parser exploded"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type_name);
    DecodeResult r = registry.decode(EncodedAction::from_text(c.type_name, c.payload));
    ASSERT_TRUE(r.is_err());
    EXPECT_EQ(r.error().code, c.code);
    EXPECT_EQ(r.error().display(), c.message);
    EXPECT_EQ(r.error().type_name, c.type_name);
  }
}

}  // namespace
}  // namespace zarn_actions
