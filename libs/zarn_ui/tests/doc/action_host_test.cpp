#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

#include "automerge/automerge.hpp"
#include "zarn_actions/action.hpp"
#include "zarn_ui/action_host.hpp"
#include "zarn_ui/bound_dispatch.hpp"

namespace zarn_ui::action_host {
namespace {

namespace za = zarn_actions::action;
using zarn_actions::context::ActionContext;

// Puts one integer at the root unless it is already there; optionally fails.
class CountAction final : public za::Action {
 public:
  explicit CountAction(std::int64_t value, bool throws = false) : value_(value), throws_(throws) {}
  std::string debug_text() const override { return "Count(" + std::to_string(value_) + ")"; }
  void apply(automerge::AutoCommit& doc) const override {
    if (throws_) throw std::runtime_error("boom");
    auto old = doc.get(automerge::ROOT, "count");
    if (old && old->has_value() && (*old)->value.to_scalar().as_int() == value_) return;
    (void)doc.put(automerge::ROOT, "count", automerge::ScalarValue::int64(value_));
  }
  bool is_read_only() const override { return false; }

 private:
  std::int64_t value_;
  bool throws_;
};

za::ActionResult<za::EncodedAction> encoded(std::string payload = "1") {
  return za::EncodedAction::from_text("test.count", payload);
}

std::optional<std::int64_t> count(const automerge::AutoCommit& doc) {
  auto v = doc.get(automerge::ROOT, "count");
  if (!v || !v->has_value()) return std::nullopt;
  return (*v)->value.to_scalar().as_int();
}

ActionContext context(std::string app_id, std::string label, std::string source = {}) {
  ActionContext c;
  c.app_id = std::move(app_id);
  c.label = std::move(label);
  c.source = std::move(source);
  return c;
}

TEST(ActionHost, ContextIsTheCallersCompletedByTheHosts) {
  struct Case {
    const char* name;
    std::optional<ActionContext> host;
    std::optional<ActionContext> caller;
    std::string label;  // of the recorded dispatch
  };
  const Case cases[] = {
      {"neither", std::nullopt, std::nullopt, ""},
      {"caller only", std::nullopt, context("org.a", "Mine"), "Mine"},
      {"host only", context("org.host", "Host label"), std::nullopt, "Host label"},
      {"both: caller wins, host fills", context("org.host", "Host label", "keyboard"), context("org.a", ""),
       "Host label"},
  };
  for (const Case& c : cases) {
    automerge::AutoCommit doc;
    ActionHost host;
    host.set_context(c.host);
    auto status = host.dispatch_typed_action(doc, CountAction(5), encoded(), c.caller);
    ASSERT_TRUE(status.is_ok()) << c.name;
    EXPECT_EQ(count(doc), 5) << c.name;
    ASSERT_EQ(host.entries().size(), 1u);
    EXPECT_EQ(host.entries()[0].label, c.label) << c.name;
    EXPECT_TRUE(host.entries()[0].succeeded);
    EXPECT_EQ(host.entries()[0].type_name, "test.count");
  }
}

TEST(ActionHost, ReportsSpansOnlyWhileABindingListens) {
  automerge::AutoCommit doc;
  ActionHost host;
  ASSERT_TRUE(host.dispatch_typed_action(doc, CountAction(1), encoded(), std::nullopt).is_ok());
  EXPECT_TRUE(host.binding().spans().empty());

  std::vector<bound_dispatch::TypedActionSpan> heard;
  host.binding().listen([&](const bound_dispatch::TypedActionSpan& s) { heard.push_back(s); });
  const auto before = doc.get_heads();
  ASSERT_TRUE(host.dispatch_typed_action(doc, CountAction(2), encoded(), std::nullopt).is_ok());
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].before, before);
  EXPECT_EQ(heard[0].after, doc.get_heads());
  EXPECT_TRUE(heard[0].changed());
  // Writing the same value again changes nothing, and the span says so.
  ASSERT_TRUE(host.dispatch_typed_action(doc, CountAction(2), encoded(), std::nullopt).is_ok());
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_FALSE(heard[1].changed());

  // A failing action is not reported.
  auto failed = host.dispatch_typed_action(doc, CountAction(3, true), encoded(), std::nullopt);
  ASSERT_TRUE(failed.is_err());
  EXPECT_EQ(failed.error().code, za::codes::kExecution);
  EXPECT_EQ(heard.size(), 2u);
  EXPECT_EQ(host.binding().spans().size(), 2u);
  EXPECT_EQ(count(doc), 2);
}

TEST(ActionHost, EncodingAndExecutorFailuresAreRecordedNotApplied) {
  automerge::AutoCommit doc;
  ActionHost host;
  host.binding().listen([](const bound_dispatch::TypedActionSpan&) {});
  auto bad = host.dispatch_typed_action(doc, CountAction(7), za::ActionError::encode("test.count", "no"), std::nullopt);
  ASSERT_TRUE(bad.is_err());
  EXPECT_EQ(bad.error().code, za::codes::kEncode);
  auto untyped = host.dispatch_typed_action(doc, CountAction(7), za::EncodedAction{}, std::nullopt);
  ASSERT_TRUE(untyped.is_err());
  EXPECT_EQ(count(doc), std::nullopt);
  EXPECT_EQ(host.failure_count(), 2u);
  EXPECT_TRUE(host.binding().spans().empty());
  EXPECT_FALSE(host.entries().back().error.empty());
}

TEST(ActionHost, DispatchWithContextDropsTheError) {
  automerge::AutoCommit doc;
  ActionHost host("test::actions");
  host.dispatch_with_context(doc, CountAction(1, true), encoded(), std::nullopt);
  host.dispatch_with_context(doc, CountAction(4), encoded(), std::nullopt);
  EXPECT_EQ(count(doc), 4);
  EXPECT_EQ(host.failure_count(), 1u);
  EXPECT_EQ(host.log_target(), "test::actions");
}

TEST(ActionHost, RecordsAreBounded) {
  automerge::AutoCommit doc;
  ActionHost host;
  for (std::size_t i = 0; i < ActionHost::kMaxEntries + 5; ++i) {
    host.dispatch_with_context(doc, CountAction(static_cast<std::int64_t>(i)), encoded(), std::nullopt);
  }
  EXPECT_EQ(host.entries().size(), ActionHost::kMaxEntries);
  EXPECT_EQ(host.dispatch_count(), ActionHost::kMaxEntries + 5);
}

TEST(ActionHost, PendingOutputIsTheLatestDispatchTakenOnce) {
  automerge::AutoCommit doc;
  ActionHost host;
  EXPECT_EQ(host.take_pending_output(), std::nullopt);
  host.dispatch_with_context(doc, CountAction(1), encoded(), context("app", "First"));
  host.dispatch_with_context(doc, CountAction(2, true), encoded(), context("app", "Second"));
  const auto out = host.take_pending_output();
  ASSERT_TRUE(out.has_value());
  EXPECT_EQ(out->label, "Second");
  EXPECT_FALSE(out->succeeded);
  EXPECT_FALSE(out->error.empty());
  EXPECT_EQ(host.take_pending_output(), std::nullopt);
}

}  // namespace
}  // namespace zarn_ui::action_host
