// The demonstration states of the search and directions flags: what their setters leave, and the
// first frame each shows, as the shot run paints it (tick, then draw), read from the display list.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/startup.hpp"
#include "display_list.hpp"
#include "sample/sample_data.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

using namespace display_list;
using zarn_ui::launch::LaunchArgs;

std::unique_ptr<MapsApp> from(std::vector<std::string> argv) {
  auto args = LaunchArgs::parse(argv, launch_flags(), {kPanelOption});
  EXPECT_TRUE(args.is_ok());
  return app_from_launch_args(*args);
}

struct Shot {
  std::unique_ptr<MapsApp> app;
  zarn_ui::Scene scene;
};

Shot first_frame(std::vector<std::string> argv, double width = 1280, double height = 800) {
  Shot shot{from(std::move(argv)), {}};
  zarn_ui::state::State state;
  shot.app->tick(state);
  shot.app->bounds_rect = {0, 0, width, height};
  auto text = zarn_ui::text_render::TextRenderer::fixed(7.0);
  const auto theme = zarn_ui::theme::Theme::dark();
  const auto presence = zarn_ui::presence::PresenceCtx::empty();
  const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
  shot.app->draw(shot.scene, zarn_ui::Affine::identity(), {text, theme, presence, permissions});
  return shot;
}

TEST(LaunchSearch, OpensTheBoxWithThePlacesNearestFirst) {
  auto app = from({"--search"});
  EXPECT_EQ(app->model.panel, Panel::Explore);
  EXPECT_TRUE(app->search_box.is_open());
  EXPECT_EQ(app->model.query, "Marienplatz");
  const auto& s = app->search_box.suggestions();
  ASSERT_EQ(s.size(), app->model.places.size());
  const LatLon reference = app->model.origin.value();  // the sample's origin is set
  for (std::size_t i = 1; i < s.size(); ++i) {
    EXPECT_LE(haversine_m(s[i - 1].pos, reference), haversine_m(s[i].pos, reference)) << i;
  }
  EXPECT_FALSE(app->search_box.deadline()) << "no timer is armed";
  EXPECT_EQ(app->backend.pending_jobs, 0u);

  auto empty = from({"--empty", "--search"});
  EXPECT_TRUE(empty->search_box.is_open());
  EXPECT_TRUE(empty->search_box.suggestions().empty());
  EXPECT_EQ(empty->model.query, "Marienplatz");
}

TEST(LaunchEditFrom, EditsTheOriginWithItsLocalMatches) {
  auto app = from({"--edit-from"});
  EXPECT_EQ(app->model.panel, Panel::Directions);
  EXPECT_EQ(app->model.origin_query, "hauptbahnhof");
  EXPECT_EQ(app->endpoint_editor.active(), EndpointField::Origin);
  const auto& s = app->endpoint_editor.suggestions(EndpointField::Origin);
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0].name, "Hauptbahnhof");
  EXPECT_FALSE(app->endpoint_editor.deadline());

  // Composed in order: the search flag leaves the Explore panel with both lists filled.
  auto both = from({"--edit-from", "--search"});
  EXPECT_EQ(both->model.panel, Panel::Explore);
  EXPECT_EQ(both->endpoint_editor.suggestions(EndpointField::Origin).size(), 1u);
  EXPECT_FALSE(both->search_box.suggestions().empty());
}

TEST(LaunchFrames, SearchShowsTheListOverThePanel) {
  const Shot shot = first_frame({"--search"});
  EXPECT_TRUE(has_text(shot.scene, "Marienplatz"));
  EXPECT_TRUE(has_text(shot.scene, "Hauptbahnhof")) << "a suggestion row";
  EXPECT_FALSE(has_text(shot.scene, "Places")) << "the side panel is covered";
  EXPECT_FALSE(has_text(shot.scene, "RESULTS"));
  int rows = 0;
  for (const auto& t : shot.app->hit_targets) {
    if (const auto* box = std::get_if<msg::SearchBox>(&t.message.value)) {
      if (std::holds_alternative<SearchBoxEvent::SuggestionChosen>(box->event.value)) ++rows;
    }
  }
  EXPECT_EQ(rows, 6);
}

TEST(LaunchFrames, EditFromShowsTheOriginSuggestion) {
  const Shot shot = first_frame({"--edit-from"});
  EXPECT_TRUE(has_text(shot.scene, "hauptbahnhof")) << "the field shows the typed origin";
  EXPECT_TRUE(has_text(shot.scene, "Hauptbahnhof")) << "and its suggestion";
  EXPECT_TRUE(has_text(shot.scene, "Bahnhofplatz 2"));
  EXPECT_TRUE(shot.app->endpoint_editor.input(EndpointField::Origin).focused);
}

TEST(LaunchFrames, DirectionsTransitAndClosedPanels) {
  {
    const Shot shot = first_frame({"--panel", "directions"});
    for (const char* t :
         {"Directions", "Sendling, München", "Use my location", "Drive", "Leave", "Now", "6 min", "Arrive 09:06"}) {
      EXPECT_TRUE(has_text(shot.scene, t)) << t;
    }
  }
  {
    const Shot shot = first_frame({"--panel", "transit"});
    EXPECT_TRUE(has_text(shot.scene, "Departures to Marienplatz"));
    EXPECT_FALSE(has_text(shot.scene, "6 min")) << "Transit clears the road route";
    bool credit = false;
    for (const auto& t : texts(shot.scene))
      credit = credit || t.text.find("via Transitous (MOTIS)") != std::string::npos;
    EXPECT_TRUE(credit);
  }
  {
    // A closed panel in the narrow layout: no card, no scrim, and the wheel zooms everywhere.
    const Shot shot = first_frame({"--nav-closed"}, 400, 800);
    EXPECT_FALSE(has_text(shot.scene, "Directions"));
    EXPECT_FALSE(shot.app->side_panel.list_panel());
    EXPECT_GT(shot.app->search_box.input().rect().width(), 0) << "the search box stays";
  }
  {
    // The same flag leaves a wide window's panel as it is.
    const Shot shot = first_frame({"--nav-closed"});
    EXPECT_TRUE(has_text(shot.scene, "Directions"));
  }
}

// The offline state's cache figure is its own: no measure of the user's (or any) cache replaces
// it, however many frames go by.
TEST(LaunchFrames, OfflineKeepsItsCacheFigureFrameAfterFrame) {
  Shot shot = first_frame({"--offline"});
  zarn_ui::state::State state;
  for (int i = 0; i < 3; ++i) shot.app->tick(state);
  EXPECT_EQ(shot.app->offline_panel.disk_usage(), 47'542'000u);
}

}  // namespace
}  // namespace maps
