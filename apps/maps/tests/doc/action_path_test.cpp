#include <gtest/gtest.h>
#include <spdlog/sinks/ringbuffer_sink.h>
#include <spdlog/spdlog.h>

#include <string>

#include "doc/action_path.hpp"
#include "doc/readers.hpp"
#include "doc_fixtures.hpp"
#include "model/json_codec.hpp"
#include "zarn_actions/registry.hpp"

namespace maps::doc {
namespace {

std::vector<std::uint8_t> bytes(std::string_view s) { return {s.begin(), s.end()}; }

TEST(ActionContext, LabelsComeFromTheVariantName) {
  struct Case {
    MapsAction action;
    const char* label;
  };
  const Case cases[] = {
      {MapsAction{MapsAction::ClearRecents{}}, "Clear recents"},
      {MapsAction{MapsAction::CommitSearch{"x"}}, "Commit search"},
      {MapsAction{MapsAction::AddRegion{testing::region("r")}}, "Add region"},
      {MapsAction{MapsAction::SetTransitTime{}}, "Set transit time"},
  };
  for (const Case& c : cases) {
    auto ctx = action_context_for(kMapsAppId, kMapsAppName, c.action);
    EXPECT_EQ(ctx.label, c.label);
    EXPECT_EQ(ctx.app_id, "org.zarn.Maps");
    EXPECT_EQ(ctx.app_name, "Maps");
    EXPECT_TRUE(ctx.source.empty());
    EXPECT_TRUE(ctx.metadata.empty());
  }
}

TEST(Decoder, AcceptsTrailingWhiteSpaceOnly) {
  struct Case {
    const char* payload;
    bool ok;
  };
  const Case cases[] = {
      {R"("ClearRecents")", true},
      {"\"ClearRecents\" \n\t", true},
      {R"("ClearRecents"x)", false},
      {R"({"CommitSearch":{"query":"cafe"}} )", true},
      {R"({"CommitSearch":{"query":"cafe"}},)", false},
      {R"("Nope")", false},
      {"", false},
  };
  for (const Case& c : cases) {
    auto decoded = decode_action_payload(kMapsActionType, bytes(c.payload));
    EXPECT_EQ(decoded.is_ok(), c.ok) << c.payload;
    if (!decoded.is_ok()) {
      EXPECT_EQ(decoded.error().type_name, "maps.action");
      EXPECT_EQ(decoded.error().code, zarn_actions::action::codes::kDecode);
    }
  }
}

TEST(Registration, TwiceKeepsOneDecoder) {
  zarn_actions::ActionRegistry registry;
  register_maps_action(registry);
  register_maps_action(registry);
  EXPECT_EQ(registry.type_names(), std::vector<std::string>{"maps.action"});
  auto decoded = registry.decode("maps.action", bytes(R"({"SetTravelMode":{"mode":"Bike"}})"));
  ASSERT_TRUE(decoded.is_ok());
  EXPECT_EQ(decoded.value()->debug_text(), maps_action_debug_text({MapsAction::SetTravelMode{TravelMode::Bike}}));
}

TEST(Dispatch, AFailedDispatchWarnsOnceAndChangesNothing) {
  auto sink = std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(8);
  auto logger = std::make_shared<spdlog::logger>("maps::actions", sink);
  spdlog::drop("maps::actions");
  spdlog::register_logger(logger);

  automerge::AutoCommit doc(automerge::ActorId{});  // no actor bytes: the executor refuses
  zarn_ui::action_host::ActionHost host("maps::actions");
  const MapsAction action{MapsAction::SetTravelMode{TravelMode::Foot}};
  dispatch_with_context(host, doc, kMapsActionType, action, action_context_for(kMapsAppId, kMapsAppName, action));
  EXPECT_FALSE(holds_model_map(doc));
  auto lines = sink->last_formatted();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("action dispatch failed"), std::string::npos);
  EXPECT_NE(lines[0].find("maps.action"), std::string::npos);
  EXPECT_NE(lines[0].find("[warning]"), std::string::npos);
  spdlog::drop("maps::actions");

  automerge::AutoCommit good;
  dispatch_with_context(host, good, kMapsActionType, action, std::nullopt);
  EXPECT_EQ(load_map_model(good)->mode, TravelMode::Foot);
  EXPECT_EQ(host.failure_count(), 1u);
  EXPECT_EQ(host.dispatch_count(), 2u);
}

}  // namespace
}  // namespace maps::doc
