// The text block: wrapping, layout in a tree of its own, and lines that do not fit.

#include <gtest/gtest.h>

#include "paint_fixture.hpp"
#include "zarn_ui/layout.hpp"
#include "zarn_ui/text_widget.hpp"

namespace zarn_ui::widgets {
namespace {

using testing::PaintFixture;

TEST(Text, WrapsBetweenWordsKeepsLineBreaksAndBreaksLongWords) {
  const auto fake = text_render::TextRenderer::fixed(10.0);
  struct Case {
    const char* text;
    std::vector<std::string> lines;  // within 50 px: five characters
  };
  const Case cases[] = {
      {"", {""}},
      {"aa bb", {"aa bb"}},
      {"aaa bbb", {"aaa", "bbb"}},
      {"a b c d e f", {"a b c", "d e f"}},
      {"abcdefghijkl", {"abcde", "fghij", "kl"}},
      {"ab cdefghij", {"ab", "cdefg", "hij"}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\r\nb", {"a", "b"}},
      {"ääääää", {"äääää", "ä"}},  // characters, not bytes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Text::create(c.text).wrap(fake, 13.0f, 50.0), c.lines);
  }
}

TEST(Text, TakesTheSpaceOfItsNodeAndDrawsTheLinesThatFit) {
  Text body = Text::create("Map data © OpenStreetMap contributors\nBasemap tiles © CARTO");
  body.text_size = 10.0f;
  auto tree = layout::LayoutTree::with_capacity(16);
  layout::NodeWidgetMap map;
  const auto node = body.build_layout(tree, theme::Theme::light(), map);
  ASSERT_TRUE(node);
  EXPECT_EQ(map.get(*node), &body);
  ASSERT_TRUE(tree.compute(*node, 200.0f, 42.0f));
  body.apply_layout(tree, *node, {30, 60});
  EXPECT_EQ(body.bounds(), (Rect{30, 60, 230, 102}));

  // Lines 14 apart (1.4 x 10); a line box is 12.5 high, so three fit in 42 px.
  PaintFixture f;
  body.draw(f.scene, Affine::identity(), f.ctx());
  const auto runs = f.runs();
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].text, "Map data ©");
  EXPECT_EQ(runs[1].text, "OpenStreetMap");
  EXPECT_EQ(runs[2].text, "contributors");
  EXPECT_EQ(runs[2].transform.translation(), (Vec2{30, 88}));
  EXPECT_EQ(runs[0].color, f.theme.text);

  body.color = f.theme.danger;
  f.theme = f.theme.with_text_scale(2.0f);
  f.scene.clear();
  body.draw(f.scene, Affine::identity(), f.ctx());
  ASSERT_EQ(f.runs().size(), 1u);  // 20 px text: lines 28 apart, 25 high
  EXPECT_EQ(f.runs()[0].size, 20.0f);
  EXPECT_EQ(f.runs()[0].color, f.theme.danger);
}

}  // namespace
}  // namespace zarn_ui::widgets
