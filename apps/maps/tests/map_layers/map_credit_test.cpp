// The map's credit line along the bottom edge: where it is drawn at each width, that a press on
// it opens the attribution, and that the accessibility tree names it.

#include "map_layers/map_credit.hpp"

#include <gtest/gtest.h>

#include <string>

#include "app/access_tree.hpp"
#include "app_input_fixture.hpp"
#include "display_list.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;
using namespace display_list;

std::optional<HitTarget> credit_target(const MapsApp& app) {
  for (const HitTarget& t : app.hit_targets) {
    if (std::holds_alternative<msg::OpenAttribution>(t.message.value)) return t;
  }
  return std::nullopt;
}

TEST(MapCredit, AlongTheBottomEdgeAtTheRightOfTheMap) {
  // The fixed renderer's 7 px a character: the whole line is 38 characters, 266 px.
  struct Case {
    double width;
    bool collapsed;
    bool whole;  // else shortened with "…"
  } cases[] = {{1280, false, true}, {1280, true, true}, {400, false, true}, {320, false, true}, {260, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    AppFixture f(default_map_model(), {0, 0, c.width, 600});
    f.app->panel.expanded = false;
    f.app->panel.collapsed = c.collapsed;
    const auto scene = f.draw();
    const auto target = credit_target(*f.app);
    ASSERT_TRUE(target);
    const Rect strip = target->rect;
    EXPECT_EQ(strip.x1, c.width - 16);
    EXPECT_EQ(strip.y0, 588);
    EXPECT_EQ(strip.y1, 600);
    // Beside the open side panel in the wide layout, at the margin otherwise.
    const double left = c.width >= 720 && !c.collapsed ? 410 : 16;
    EXPECT_GE(strip.x0, left);
    const std::string whole(kMapCreditText);
    const auto shown = find_text(scene, c.whole ? whole : whole.substr(0, 2));
    if (c.whole) {
      ASSERT_TRUE(shown);
      EXPECT_EQ(shown->at.x, strip.x0 + 4);
    } else {
      bool shortened = false;
      for (const auto& t : texts(scene)) shortened = shortened || (t.text.ends_with("\u2026") && t.at.y > 580);
      EXPECT_TRUE(shortened);
    }
  }
}

TEST(MapCredit, APressOpensTheAttributionAndTheTreeListsIt) {
  AppFixture f;
  f.draw();
  const auto target = credit_target(*f.app);
  ASSERT_TRUE(target);
  const auto entries = map_control_entries(*f.app);
  const bool listed = std::any_of(entries.begin(), entries.end(), [&](const AccessEntry& e) {
    return e.id == "maps.attribution" && e.rect == target->rect;
  });
  EXPECT_TRUE(listed);
  const Point c = target->rect.center();
  f.click(c.x, c.y);
  EXPECT_TRUE(f.app->dialog.is_open());
  EXPECT_EQ(f.app->dialog.kind(), DialogKind::Attribution);
}

TEST(MapCredit, NotUnderTheNarrowLayoutsOpenPanel) {
  AppFixture f(default_map_model(), {0, 0, 400, 700});
  f.app->panel.expanded = true;
  const auto scene = f.draw();
  EXPECT_FALSE(credit_target(*f.app));
  EXPECT_FALSE(has_text(scene, std::string(kMapCreditText)));
}

}  // namespace
}  // namespace maps
