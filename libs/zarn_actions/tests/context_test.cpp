#include "zarn_actions/context.hpp"

#include <gtest/gtest.h>

namespace zarn_actions::context {
namespace {

TEST(ActionContext, EnrichedByFillsOnlyWhatTheCallerLeftEmpty) {
  const ActionContext caller{"org.example.App", "App", "Clear recents", "", "", {{"origin", "caller"}}};
  const ActionContext host{"org.example.Host", "Host",  "Update",
                           "keyboard",         "win-1", {{"origin", "host"}, {"session", "s1"}}};

  const ActionContext out = caller.enriched_by(host);

  EXPECT_EQ(out.app_id, "org.example.App");
  EXPECT_EQ(out.app_name, "App");
  EXPECT_EQ(out.label, "Clear recents");
  EXPECT_EQ(out.source, "keyboard");
  EXPECT_EQ(out.window_id, "win-1");
  EXPECT_EQ(out.metadata, (std::map<std::string, std::string>{{"origin", "caller"}, {"session", "s1"}}));
}

TEST(ActionContext, EnrichingByAnEmptyHostChangesNothingAndAnEmptyCallerTakesTheHost) {
  const ActionContext caller{"org.example.App", "App", "Label", "", "", {}};
  const ActionContext host{"org.example.Host", "Host", "", "agent", "", {{"k", "v"}}};
  EXPECT_EQ(caller.enriched_by(ActionContext{}), caller);
  EXPECT_EQ(ActionContext{}.enriched_by(host), host);
  EXPECT_TRUE(ActionContext{}.is_empty());
  EXPECT_FALSE(caller.is_empty());
}

TEST(HumanizeIdentifier, Table) {
  const std::pair<std::string, std::string> cases[] = {
      {"ClearRecents", "Clear recents"},
      {"SetTravelMode", "Set travel mode"},
      {"CommitSearch", "Commit search"},
      {"UpsertPlaces", "Upsert places"},
      {"Update", "Update"},
      {"set_travel_mode", "Set travel mode"},
      {"toggle-traffic", "Toggle traffic"},
      {"camelCaseName", "Camel case name"},
      {"OpenPOIList", "Open POI list"},
      {"HTTPServer", "HTTP server"},
      {"URL", "URL"},
      {"GetAQuote", "Get a quote"},
      {"Top10Places", "Top 10 places"},
      {"Zoom2x", "Zoom 2x"},
      {"  __Clear--Recents__ ", "Clear recents"},
      {"CaféOpen", "Café open"},
      {"", ""},
      {"___", ""},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(humanize_identifier(in), want) << in;
}

}  // namespace
}  // namespace zarn_actions::context
