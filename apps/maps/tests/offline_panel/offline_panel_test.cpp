// The offline panel's area search, its download area, its commands and its accessible entries.

#include "offline_panel/offline_panel.hpp"
#include "model/place_ops.hpp"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <optional>

#include "app/startup.hpp"
#include "offline_panel/offline_area.hpp"
#include "offline_panel/offline_entries.hpp"
#include "panel_fixture.hpp"
#include "sample/sample_data.hpp"
#include "zarn_ui/format.hpp"

namespace maps {
namespace {

using namespace maps::testing;
using zarn_ui::widget::NamedKey;

AreaCandidate candidate(std::string name, std::string label, LatLon min, LatLon max) {
  return {std::move(name), std::move(label), {(min.lat + max.lat) / 2, (min.lon + max.lon) / 2}, min, max};
}

// The panel open and painted, "Mün" typed and answered with the sample areas.
struct SearchedPanel : PanelFixture {
  SearchedPanel() : PanelFixture(live_sample()) {
    event(key_text("m"));
    paint();
    type("M\u00fcn");
    clock += 280ms;
    app->tick(state);
    panel().apply_area_search("M\u00fcn", sample_offline_places());
    paint();
  }
  zarn_ui::Point row_centre(std::size_t row) {
    const auto list = panel().area_input().dropdown_rect();
    EXPECT_TRUE(list.has_value());
    if (!list) return {};
    const double h = zarn_ui::widgets::Autocomplete::kDetailRowHeight;
    return {list->center().x, list->y0 + zarn_ui::widgets::Autocomplete::kListPadding + h * (double(row) + 0.5)};
  }
};

TEST(OfflinePanelSearch, TypingArmsThePauseAndABlankTextEmptiesTheSuggestions) {
  struct Case {
    const char* typed;
    bool deadline;
  } cases[] = {{"Berlin", true}, {"   ", false}, {" x ", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    PanelFixture f;
    f.event(key_text("m"));
    f.panel().apply_area_search("", base::Result<std::vector<AreaCandidate>>(sample_offline_places()));
    f.type(c.typed);
    EXPECT_EQ(f.panel().last_text(), c.typed);
    EXPECT_EQ(f.panel().deadline().has_value(), c.deadline);
    if (c.deadline) {
      EXPECT_EQ(*f.panel().deadline(), f.clock + 280ms);
    } else {
      EXPECT_TRUE(f.panel().candidates().empty());
      EXPECT_TRUE(f.panel().area_input().suggestions().empty());
    }
  }
}

TEST(OfflinePanelSearch, AnswersFillTheDropdownWithDetailsAndFailuresEmptyIt) {
  SearchedPanel f;
  ASSERT_EQ(f.jobs->of_kind<AreaSearchJob>().size(), 1u);
  EXPECT_EQ(f.jobs->of_kind<AreaSearchJob>()[0].query, "M\u00fcn");
  const auto& items = f.panel().area_input().suggestions();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[1], zarn_ui::widgets::ListItem::create("M\u00fcnchen Hauptbahnhof", "M\u00fcnchen Hauptbahnhof")
                          .with_detail("Bahnhofplatz, M\u00fcnchen"));
  EXPECT_TRUE(f.panel().area_input().dropdown_visible());
  // An answer to an older text counts for nothing.
  f.panel().apply_area_search("Mü", base::err("stale"));
  EXPECT_EQ(f.panel().candidates().size(), 3u);
  f.panel().apply_area_search("M\u00fcn", base::err("offline"));
  EXPECT_TRUE(f.panel().candidates().empty());
  EXPECT_FALSE(f.panel().area_input().dropdown_visible());
}

// Moving over the suggestions is no outcome: the list stays open so that one can be picked.
TEST(OfflinePanelSearch, PointerOverTheSuggestionsKeepsThemOpenAndAPressChoosesOne) {
  SearchedPanel f;
  const zarn_ui::Point row = f.row_centre(1);
  f.event(moved(row.x, row.y - 5));
  f.event(moved(row.x, row.y));
  EXPECT_TRUE(f.panel().area_input().dropdown_visible());
  EXPECT_EQ(f.panel().area_input().highlighted(), std::optional<std::size_t>(1));
  f.event(press(true));
  f.event(press(false));
  ASSERT_TRUE(f.panel().chosen_area().has_value());
  EXPECT_EQ(f.panel().chosen_area()->name, "M\u00fcnchen Hauptbahnhof");
  EXPECT_EQ(f.panel().area_input().text(), "M\u00fcnchen Hauptbahnhof");
  EXPECT_EQ(f.panel().last_text(), "M\u00fcnchen Hauptbahnhof");
  EXPECT_FALSE(f.panel().area_input().dropdown_visible());
  EXPECT_FALSE(f.panel().deadline().has_value());
  EXPECT_TRUE(contains_text(f.paint(), "Download M\u00fcnch"));

  // One more letter drops the choice: a download then covers the current view.
  f.type("x");
  EXPECT_FALSE(f.panel().chosen_area().has_value());
  EXPECT_TRUE(f.panel().deadline().has_value());
  EXPECT_TRUE(contains_text(f.paint(), "Download current view"));
}

TEST(OfflinePanelSearch, KeysChooseAndEscapeClosesThePanel) {
  SearchedPanel f;
  f.event(named(NamedKey::ArrowDown));
  f.event(named(NamedKey::Enter));
  ASSERT_TRUE(f.panel().chosen_area().has_value());
  EXPECT_EQ(f.panel().chosen_area()->name, "Munich");
  f.event(named(NamedKey::Escape));
  EXPECT_FALSE(f.panel().is_open());
  EXPECT_FALSE(f.panel().chosen_area().has_value());
  EXPECT_TRUE(f.panel().hits().empty());
}

// The chosen area's name is set semibold and its label follows it with a gap, as drawn.
TEST(OfflinePanelPaint, TheChosenAreasLabelStartsClearOfItsName) {
  SearchedPanel f;
  f.event(named(NamedKey::ArrowDown));
  f.event(named(NamedKey::Enter));
  ASSERT_TRUE(f.panel().chosen_area().has_value());
  const auto text = zarn_ui::text_render::TextRenderer::create();
  const AreaCandidate area = *f.panel().chosen_area();
  ASSERT_FALSE(area.label.empty());
  std::optional<zarn_ui::scene::TextRun> name, label;
  const zarn_ui::Scene scene = f.paint_scene(text);
  for (const auto& it : scene.items()) {
    if (const auto* run = std::get_if<zarn_ui::scene::TextRun>(&it)) {
      // The field shows the name too, set normal.
      if (run->text == area.name && run->weight == FontWeight::Semibold) name = *run;
      if (run->text.starts_with(area.label.substr(0, 6)) && !label) label = *run;
    }
  }
  ASSERT_TRUE(name && label);
  const double name_end = name->transform.e + text.measure_weighted(area.name, name->size, name->weight);
  EXPECT_GE(label->transform.e - name_end, 8.0);
}

TEST(OfflinePanelDetail, StaysWithinZeroToSix) {
  OfflinePanel panel;
  EXPECT_EQ(panel.download_detail(), 2);
  for (int i = 0; i < 6; ++i) panel.change_download_detail(1);
  EXPECT_EQ(panel.download_detail(), 6);
  for (int i = 0; i < 9; ++i) panel.change_download_detail(-1);
  EXPECT_EQ(panel.download_detail(), 0);
}

TEST(OfflineDownloadArea, ViewOrChosenAreaAndTheZoomRange) {
  const GeoBox view{48.13, 11.56, 48.15, 11.60};
  const zarn_ui::Rect bounds{0, 0, 1280, 800};
  OfflinePanel panel;
  struct Case {
    double model_zoom;
    int detail;
    std::uint8_t z0, z1;
  } cases[] = {{18.0, 2, 18, 19}, {14.5, 2, 15, 17}, {-3.0, 0, 0, 0}, {25.0, 6, 19, 19}, {3.49, 6, 3, 9}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model_zoom);
    while (panel.download_detail() > 0) panel.change_download_detail(-1);
    panel.change_download_detail(c.detail);
    const OfflineDownloadArea a = offline_download_area(panel, view, download_zoom(c.model_zoom), bounds);
    EXPECT_EQ(a.box, view);
    EXPECT_EQ(a.name, std::nullopt);
    EXPECT_EQ(a.z0, c.z0);
    EXPECT_EQ(a.z1, c.z1);
  }
}

TEST(OfflineDownloadArea, AChosenAreaIsFittedAndNormalised) {
  PanelFixture f;
  f.panel().begin_area_search(0);
  // Corners given the wrong way round, as a service may send them.
  const AreaCandidate area = candidate("Altstadt", "M\u00fcnchen", {48.15, 11.59}, {48.13, 11.56});
  f.type("Alt");
  f.panel().apply_area_search("Alt", std::vector<AreaCandidate>{area});
  f.paint();
  EXPECT_TRUE(f.panel().area_input().dropdown_visible());
  f.event(named(NamedKey::ArrowDown));
  EXPECT_EQ(f.panel().area_input().highlighted(), std::optional<std::size_t>(0));
  f.event(named(NamedKey::Enter));
  ASSERT_TRUE(f.panel().chosen_area().has_value());
  const OfflineDownloadArea a = offline_download_area(f.panel(), GeoBox{}, 3, {0, 0, 1280, 800});
  EXPECT_EQ(a.name, std::optional<std::string>("Altstadt"));
  EXPECT_EQ(a.box, (GeoBox{48.13, 11.56, 48.15, 11.59}));
  EXPECT_GE(a.z0, 13);
  EXPECT_LE(a.z0, 15);
  EXPECT_EQ(a.z1, a.z0 + 2);
}

TEST(OfflineRegionNaming, NameAndIdOfADownload) {
  OfflineDownloadArea view{std::nullopt, {48.1, 11.5, 48.2, 11.7}, 14, 16};
  const std::vector<Place> places = {new_place("far", "Far", Category::Cafe, "", {50.0, 11.6}),
                                     new_place("edge", "On the edge", Category::Cafe, "", {48.1, 11.7})};
  EXPECT_EQ(download_region_name(view, places), "On the edge");
  EXPECT_EQ(download_region_name(view, {}), "48.150, 11.600");
  view.name = "Named";
  EXPECT_EQ(download_region_name(view, places), "Named");
  EXPECT_EQ(download_region_id(view), "region:48.100000:11.500000:48.200000:11.700000:z14-16");
}

TEST(OfflinePanelCommands, DownloadRecordsTheRegionAndSaysWhatItDownloads) {
  PanelFixture f(new_empty_app());
  f.app->bounds_rect = {0, 0, 1280, 800};
  f.event(key_text("m"));
  f.paint();
  f.click(*f.hit_centre({OfflineCommand::Download{}}));
  ASSERT_EQ(f.app->model.regions.size(), 1u);
  const DownloadedRegion r = f.app->model.regions[0];
  EXPECT_TRUE(r.id.starts_with("region:")) << r.id;
  EXPECT_EQ(r.z1, r.z0 + 2);
  EXPECT_GT(r.tiles, 0u);
  EXPECT_EQ(f.app->model.status, fmt::format("Downloading {} tiles for offline use\u2026", r.tiles));
  EXPECT_EQ(f.app->backend.status.kind, StatusKind::Downloading);
  EXPECT_TRUE(f.panel().is_open());
  // The same view and zooms again: the same id, so still one region.
  f.paint();
  f.click(*f.hit_centre({OfflineCommand::Download{}}));
  EXPECT_EQ(f.app->model.regions.size(), 1u);
}

// A finished download counts the tiles it got; those that failed are told apart.
TEST(OfflinePanelPaint, AFinishedDownloadCountsTheTilesItGot) {
  PanelFixture f(new_sample_app());
  f.app->bounds_rect = {0, 0, 1280, 800};
  f.event(key_text("m"));
  TileStore& tiles = f.app->backend.tiles;
  const struct {
    std::uint32_t total, failed;
    const char* text;
  } cases[] = {
      {321, 0, "Downloaded 321 tiles"},
      {10, 3, "Downloaded 7 tiles (3 failed)"},
      {33, 33, "Downloaded 0 tiles (33 failed)"},
      {2, 1, "Downloaded 1 tile (1 failed)"},
  };
  for (const auto& c : cases) {
    tiles.download_total = tiles.download_done = c.total;
    tiles.download_failed = c.failed;
    EXPECT_TRUE(contains_text(f.paint(), c.text)) << c.text;
  }
}

// After a deletion the panel reports the deletion, not the download finished before it; the next
// download reports itself again.
TEST(OfflinePanelCommands, TheStatusLineShowsWhatTheLastDeletionDid) {
  PanelFixture f(new_sample_app());
  f.app->bounds_rect = {0, 0, 1280, 800};
  f.app->model.regions = sample_regions();
  f.event(key_text("m"));
  TileStore& tiles = f.app->backend.tiles;
  tiles.download_total = tiles.download_done = 321;
  EXPECT_TRUE(contains_text(f.paint(), "Downloaded 321 tiles"));
  const DownloadedRegion doomed = f.app->model.regions.at(0);
  f.click(*f.hit_centre({OfflineCommand::DeleteRegion{doomed.id}}));
  const std::string removed =
      fmt::format("Removed \u201c{}\u201d \u00b7 {} freed", doomed.name, zarn_ui::format::bytes(0));
  const auto texts = f.paint();
  EXPECT_TRUE(contains_text(texts, removed));
  EXPECT_FALSE(contains_text(texts, "Downloaded 321 tiles"));
  f.click(*f.hit_centre({OfflineCommand::Download{}}));
  EXPECT_FALSE(contains_text(f.paint(), removed));
}

TEST(OfflinePanelCommands, DeletingAnUnknownIdChangesNothing) {
  PanelFixture f;
  f.app->model.status = "before";
  const auto regions = f.app->model.regions;
  offline_panel_action(*f.app, {OfflineCommand::DeleteRegion{"nope"}}, f.state);
  EXPECT_EQ(f.app->model.regions, regions);
  EXPECT_EQ(f.app->model.status, "before");
}

// The panel's hit areas in paint order, and the accessible entries made from them.
TEST(OfflinePanelEntries, EveryControlOnceWithItsLabelAndId) {
  PanelFixture f;
  f.app->model.regions = sample_regions();
  f.event(key_text("m"));
  f.paint();
  const auto& hits = f.panel().hits();
  ASSERT_GE(hits.size(), 9u);
  EXPECT_EQ(hits[0].rect, f.app->bounds_rect);
  EXPECT_EQ(f.app->modal_rect(), std::optional<zarn_ui::Rect>(f.app->bounds_rect));
  const auto entries = offline_panel_entries(f.panel());
  std::vector<std::pair<std::string, std::string>> got;
  for (const OfflineEntry& e : entries) got.emplace_back(e.label, e.id);
  const auto& regions = f.app->model.regions;
  ASSERT_EQ(regions.size(), 2u);
  const std::vector<std::pair<std::string, std::string>> want = {
      {"Area to download", "maps.offline.search"},
      {"Close offline maps", "maps.offline.close"},
      {"Decrease download detail", "maps.offline.zoom-out"},
      {"Increase download detail", "maps.offline.zoom-in"},
      {"Delete downloaded area", "maps.offline.region:" + regions[0].id + ":delete"},
      {"Delete downloaded area", "maps.offline.region:" + regions[1].id + ":delete"},
      {"Download selected area", "maps.offline.download"},
      {"Clear offline map cache", "maps.offline.clear"},
  };
  EXPECT_EQ(got, want);
  // The close entry is the button, not the scrim.
  EXPECT_LT(entries[1].rect.area(), 100.0 * 100.0);
}

TEST(OfflinePanelEntries, NothingPaintedYetMeansNoModalAreaAndNoEntries) {
  PanelFixture f;
  f.panel().begin_area_search(0);
  EXPECT_EQ(f.app->modal_rect(), std::nullopt);
  EXPECT_TRUE(offline_panel_entries(f.panel()).empty());
}

// Larger text sizes scale the delete button in both directions, so it stays square.
TEST(OfflinePanelPaint, DeleteButtonKeepsItsShapeAtLargerTextSizes) {
  for (const float scale : {1.0f, 1.5f}) {
    SCOPED_TRACE(scale);
    PanelFixture f;
    f.app->model.regions = sample_regions();
    f.theme = zarn_ui::theme::Theme::light().with_text_scale(scale);
    f.event(key_text("m"));
    f.paint();
    const auto it = std::find_if(f.panel().hits().begin(), f.panel().hits().end(), [](const OfflineHit& h) {
      return std::holds_alternative<OfflineCommand::DeleteRegion>(h.command.value);
    });
    ASSERT_NE(it, f.panel().hits().end());
    EXPECT_DOUBLE_EQ(it->rect.width(), 26.0 * scale);
    EXPECT_DOUBLE_EQ(it->rect.height(), 26.0 * scale);
  }
}

TEST(OfflinePanelPaint, ListShowsFourRegionsAndCountsTheRest) {
  PanelFixture f;
  f.event(key_text("m"));
  std::vector<DownloadedRegion> regions;
  for (int i = 0; i < 7; ++i) {
    regions.push_back({fmt::format("r{}", i), fmt::format("Area {}", i), {48.1, 11.5}, {48.2, 11.6}, 12, 13, 40});
  }
  f.app->model.regions = regions;
  const auto texts = f.paint();
  EXPECT_TRUE(contains_text(texts, "Area 3"));
  EXPECT_FALSE(contains_text(texts, "Area 4"));
  EXPECT_TRUE(contains_text(texts, "+3 more"));
  EXPECT_TRUE(contains_text(texts, "z12\u2013z13 \u00b7 40 tiles"));
}

TEST(OfflineLaunchState, OfflineFlagOpensThePanelOverTheSampleRegions) {
  auto app = new_sample_app();
  apply_launch_offline(*app);
  const OfflinePanel& p = app->offline_panel;
  EXPECT_TRUE(p.is_open());
  EXPECT_EQ(p.disk_usage(), 47'542'000u);
  EXPECT_EQ(p.area_input().text(), "M\u00fcn");
  EXPECT_EQ(p.last_text(), "M\u00fcn");
  EXPECT_TRUE(p.area_input().editing());
  EXPECT_EQ(p.candidates(), sample_offline_places());
  EXPECT_EQ(p.area_input().suggestions().size(), 3u);
  EXPECT_TRUE(p.area_input().suggestions_open());
  EXPECT_EQ(app->model.regions, sample_regions());
  EXPECT_EQ(app->model.panel, Panel::Explore);
  EXPECT_FALSE(app->model.route.has_value());
  EXPECT_FALSE(p.deadline().has_value());
}

}  // namespace
}  // namespace maps
