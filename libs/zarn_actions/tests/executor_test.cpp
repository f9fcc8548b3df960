#include "zarn_actions/executor.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

#include "fake_action.hpp"

namespace zarn_actions {
namespace {

using action::EncodedAction;
using context::ActionContext;
using executor::LocalTransport;
using testing::FakeAction;
using testing::Probe;

const std::vector<std::uint8_t> kActor = {0xde, 0xad, 0xbe, 0xef};

ActionContext app_context() { return ActionContext{"org.example.App", "App", "Clear recents", {}, {}, {}}; }

TEST(Executor, DispatchWithContextAppliesToTheLentDocumentAndRecords) {
  automerge::AutoCommit doc;
  Probe probe;
  FakeAction action("clear", &probe);
  LocalTransport transport;
  const EncodedAction encoded = EncodedAction::from_text("app.action", R"("ClearRecents")");

  action::ActionStatus status =
      executor::dispatch_by_with_context(doc, action, encoded, transport, kActor, app_context());

  ASSERT_TRUE(status.is_ok());
  EXPECT_EQ(probe.applies, 1);
  EXPECT_EQ(probe.doc, &doc);
  ASSERT_EQ(transport.records().size(), 1u);
  const executor::DispatchRecord& r = transport.records().front();
  EXPECT_EQ(r.type_name, "app.action");
  EXPECT_EQ(r.payload_size, encoded.payload.size());
  EXPECT_EQ(r.actor, kActor);
  EXPECT_EQ(r.debug_text, "FakeAction(clear)");
  EXPECT_TRUE(r.has_context);
  EXPECT_EQ(r.context, app_context());
  EXPECT_TRUE(r.succeeded);
  EXPECT_TRUE(r.error.empty());
}

TEST(Executor, DispatchWithoutContextRecordsNone) {
  automerge::AutoCommit doc;
  Probe probe;
  FakeAction action("query", &probe, /*throws=*/false, /*read_only=*/true);
  LocalTransport transport;

  ASSERT_TRUE(executor::dispatch_by(doc, action, EncodedAction::from_text("app.query", "{}"), transport, kActor));
  EXPECT_EQ(probe.applies, 1);
  ASSERT_EQ(transport.records().size(), 1u);
  EXPECT_FALSE(transport.records().front().has_context);
  EXPECT_TRUE(transport.records().front().read_only);
}

TEST(Executor, RefusesWhatCannotBeAttributedWithoutApplying) {
  struct Case {
    const char* name;
    std::string type_name;
    std::vector<std::uint8_t> actor;
    std::string message;
  };
  const Case cases[] = {
      {"no type name", "", kActor, "invalid action: the action has no type name"},
      {"no actor", "app.action", {}, "invalid action `app.action`: no actor to attribute the change to"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    automerge::AutoCommit doc;
    Probe probe;
    FakeAction action("x", &probe);
    LocalTransport transport;
    action::ActionStatus status = executor::dispatch_by_with_context(
        doc, action, EncodedAction::from_text(c.type_name, "{}"), transport, c.actor, app_context());
    ASSERT_TRUE(status.is_err());
    EXPECT_EQ(status.error().code, "invalid_action");
    EXPECT_EQ(status.error().display(), c.message);
    EXPECT_EQ(probe.applies, 0);
    EXPECT_TRUE(transport.records().empty());
  }
}

TEST(Executor, AThrowingActionBecomesAnExecutionErrorAndIsRecordedAsFailed) {
  automerge::AutoCommit doc;
  Probe probe;
  FakeAction action("bad", &probe, /*throws=*/true);
  LocalTransport transport;

  action::ActionStatus status =
      executor::dispatch_by(doc, action, EncodedAction::from_text("app.action", "{}"), transport, kActor);

  ASSERT_TRUE(status.is_err());
  EXPECT_EQ(status.error().code, "execution_failed");
  EXPECT_EQ(status.error().display(), "action `app.action` failed: document refused the write");
  ASSERT_EQ(transport.records().size(), 1u);
  EXPECT_FALSE(transport.records().front().succeeded);
  EXPECT_EQ(transport.records().front().error, status.error().display());
}

TEST(Executor, AThrowingTransportBecomesAnExecutionError) {
  struct BrokenTransport : executor::Transport {
    action::ActionStatus execute(automerge::AutoCommit&, const action::Action&,
                                 const executor::DispatchRequest&) override {
      throw std::runtime_error("link down");
    }
  };
  automerge::AutoCommit doc;
  FakeAction action("x");
  BrokenTransport transport;
  action::ActionStatus status =
      executor::dispatch_by(doc, action, EncodedAction::from_text("app.action", "{}"), transport, kActor);
  ASSERT_TRUE(status.is_err());
  EXPECT_EQ(status.error().display(), "action `app.action` failed: link down");
}

TEST(LocalTransport, KeepsOnlyTheNewestRecords) {
  automerge::AutoCommit doc;
  LocalTransport transport;
  const std::size_t total = LocalTransport::kMaxRecords + 3;
  for (std::size_t i = 0; i < total; ++i) {
    FakeAction action(std::to_string(i));
    ASSERT_TRUE(executor::dispatch_by(doc, action, EncodedAction::from_text("app.action", "{}"), transport, kActor));
  }
  EXPECT_EQ(transport.dispatch_count(), total);
  ASSERT_EQ(transport.records().size(), LocalTransport::kMaxRecords);
  EXPECT_EQ(transport.records().front().debug_text, "FakeAction(3)");
  EXPECT_EQ(transport.records().back().debug_text, "FakeAction(" + std::to_string(total - 1) + ")");
}

}  // namespace
}  // namespace zarn_actions
