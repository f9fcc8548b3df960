// Place pins, the origin dot and the selected place's name card.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "app/construct.hpp"
#include "app/maps_app.hpp"
#include "draw_kit/theme_colors.hpp"
#include "layer_scene_items.hpp"
#include "map_layers/location_pins.hpp"
#include "map_layers/pin.hpp"
#include "map_layers/pin_images.hpp"
#include "zarn_ui/render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

using namespace layer_test;
using zarn_ui::theme::Theme;

const Theme kTheme = Theme::light();
const MapPalette kPalette = map_palette(kTheme);

TEST(PinOutline, RunsFromTheTipOverTheHeadAndBack) {
  const Point tip{100, 200};
  for (const auto& [r, h] : std::vector<std::pair<double, double>>{{8, 22}, {11, 30}}) {
    const BezPath path = pin_outline(tip, r, h);
    const auto& els = path.elements();
    ASSERT_EQ(els.size(), 36u);  // move, right tangent, 32 arc steps, back to the tip, close
    EXPECT_EQ(els.front().verb, zarn_ui::PathVerb::MoveTo);
    EXPECT_EQ(els.front().p[0], tip);
    EXPECT_EQ(els.back().verb, zarn_ui::PathVerb::Close);
    EXPECT_EQ(els[34].p[0], tip);
    const Point c{tip.x, tip.y - h};
    double top = 1e9;
    for (std::size_t i = 1; i <= 33; ++i) {
      const Point p = els[i].p[0];
      EXPECT_NEAR(std::hypot(p.x - c.x, p.y - c.y), r, 1e-9);
      top = std::min(top, p.y);
    }
    // The tangent points mirror each other, and the lines from the tip touch the head there.
    const Point right = els[1].p[0];
    const Point left = els[33].p[0];
    EXPECT_NEAR(right.x - c.x, c.x - left.x, 1e-9);
    EXPECT_NEAR(right.y, left.y, 1e-9);
    EXPECT_GT(right.x, c.x);
    const Point radius{right.x - c.x, right.y - c.y};
    const Point edge{right.x - tip.x, right.y - tip.y};
    EXPECT_NEAR(radius.x * edge.x + radius.y * edge.y, 0.0, 1e-9);
    EXPECT_NEAR(top, c.y - r, 0.01 * r);
  }
  // A head wider than the pin is tall: the ratio is clamped, the path stays finite.
  const BezPath wide = pin_outline(tip, 30, 10);
  for (const auto& el : wide.elements()) {
    EXPECT_TRUE(std::isfinite(el.p[0].x) && std::isfinite(el.p[0].y));
  }
}

TEST(PaintPin, SelectedIsLargerWithAHalo) {
  const Color c = category_color(kTheme, Category::Cafe);
  for (const bool selected : {false, true}) {
    Scene s;
    paint_pin(s, Affine::identity(), {100, 200}, c, kPalette, selected);
    const double r = selected ? 11 : 8;
    const double h = selected ? 30 : 22;
    const auto fills = items_of<scene::Fill>(s);
    ASSERT_EQ(fills.size(), selected ? 5u : 4u);
    const auto& shadow = std::get<zarn_ui::Ellipse>(fills[0].shape);
    EXPECT_NEAR(shadow.bounds.width(), 2 * 0.62 * r, 1e-9);
    EXPECT_NEAR(shadow.bounds.height(), 2 * 0.24 * r, 1e-9);
    EXPECT_EQ(fills[0].color, Color::black().with_alpha(0.28f));
    EXPECT_EQ(discs(s, 17).size(), selected ? 1u : 0u);
    const auto strokes = items_of<scene::Stroke>(s);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].width, selected ? 3.0 : 2.4);
    EXPECT_EQ(strokes[0].color, kPalette.halo);
    EXPECT_EQ(strokes[0].shape, fills[selected ? 2 : 1].shape);  // the body fills the stroked outline
    EXPECT_EQ(fills.back().color, c.multiply_alpha(0.9f));
    EXPECT_EQ(std::get<zarn_ui::Circle>(fills.back().shape), (zarn_ui::Circle{{100, 200 - h}, 0.2 * r}));
  }
}

struct PinScene {
  std::unique_ptr<MapsApp> app = new_empty_app();
  Camera camera;
  Rect area{0, 0, 800, 600};

  PinScene() {
    app->bounds_rect = area;
    camera = new_camera(48.1371, 11.5754, 15.0, 400, 300);
  }
  void add(const std::string& id, const std::string& name, Category cat, double x, double y) {
    Place p;
    p.id = id;
    p.name = name;
    p.category = cat;
    p.pos = camera_unproject(camera, x, y);
    app->model.places.push_back(p);
  }
  Scene draw(const zarn_ui::text_render::TextRenderer& text = zarn_ui::text_render::TextRenderer::fixed(7)) {
    Scene s;
    paint_location_and_selection(s, Affine::identity(), text, camera, app->model, kTheme, kPalette, area, images, 1.0);
    return s;
  }
  PinImages images;
};

// Tips of the pins drawn, from their shadows, with whether the pin was the large one.
std::vector<std::pair<Point, bool>> pins(const Scene& s) {
  std::vector<std::pair<Point, bool>> out;
  for (const auto& f : items_of<scene::Fill>(s)) {
    if (const auto* e = shape_of<zarn_ui::Ellipse>(f)) {
      out.push_back({{(e->bounds.x0 + e->bounds.x1) / 2, (e->bounds.y0 + e->bounds.y1) / 2},
                     e->bounds.width() > 2 * 0.62 * 8 + 1e-9});
    }
  }
  return out;
}

TEST(LocationAndSelection, SelectedPinLastWithItsNameCard) {
  PinScene ps;
  ps.add("a", "Alpha", Category::Cafe, 100, 100);
  ps.add("b", "Bravo", Category::Museum, 200, 200);
  ps.add("c", "Charlie", Category::Park, 300, 300);
  ps.add("gone", "Off screen", Category::Park, 900, 300);
  ps.app->model.selected = "b";
  const Scene s = ps.draw();
  const auto got = pins(s);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_NEAR(got[0].first.x, 100, 1e-6);
  EXPECT_NEAR(got[1].first.x, 300, 1e-6);
  EXPECT_NEAR(got[2].first.x, 200, 1e-6);
  EXPECT_TRUE(got[2].second);
  EXPECT_FALSE(got[0].second || got[1].second);

  const auto runs = items_of<scene::TextRun>(s);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].text, "Bravo");
  EXPECT_EQ(runs[0].weight, FontWeight::Semibold);
  EXPECT_EQ(runs[0].size, 12.0f);
  // The card is 35 + 14 px wide, centred over the tip, 56 .. 34 px above it.
  const double w = 5 * 7 + 14;
  EXPECT_NEAR(runs[0].transform.e, 200 - w / 2 + 7, 1e-6);
  EXPECT_NEAR(runs[0].transform.f, 200 - 56 + 4, 1e-6);
  bool card = false;
  for (const auto& f : items_of<scene::Fill>(s)) {
    if (const auto* rr = shape_of<zarn_ui::RoundedRect>(f); rr && f.color == kTheme.surface) {
      EXPECT_NEAR(rr->rect.x0, 200 - w / 2, 1e-6);
      EXPECT_NEAR(rr->rect.x1, 200 + w / 2, 1e-6);
      EXPECT_NEAR(rr->rect.y0, 144, 1e-6);
      EXPECT_NEAR(rr->rect.y1, 166, 1e-6);
      card = true;
    }
  }
  EXPECT_TRUE(card);
  // All of it inside one clip layer of the marker area.
  EXPECT_EQ(std::get<scene::PushLayer>(s.items().front()).clip, zarn_ui::Shape(ps.area));
  EXPECT_TRUE(std::holds_alternative<scene::PopLayer>(s.items().back()));
}

// The card holds the semibold name with its padding on both sides, with the fonts as drawn.
TEST(LocationAndSelection, TheNameCardHoldsTheNameAsDrawn) {
  PinScene ps;
  ps.add("b", "M\u00fcnchen Hauptbahnhof", Category::Transit, 400, 300);
  ps.app->model.selected = "b";
  const auto text = zarn_ui::text_render::TextRenderer::create();
  const Scene s = ps.draw(text);
  const auto runs = items_of<scene::TextRun>(s);
  ASSERT_EQ(runs.size(), 1u);
  const double text_w = text.measure_weighted(runs[0].text, runs[0].size, runs[0].weight);
  std::optional<Rect> card;
  for (const auto& f : items_of<scene::Fill>(s)) {
    if (const auto* rr = shape_of<zarn_ui::RoundedRect>(f); rr && f.color == kTheme.surface) card = rr->rect;
  }
  ASSERT_TRUE(card.has_value());
  EXPECT_NEAR(runs[0].transform.e - card->x0, 7.0, 1e-6);
  EXPECT_NEAR(card->x1 - (runs[0].transform.e + text_w), 7.0, 1e-6);
}

TEST(LocationAndSelection, NameCardOnlyWhereItFitsSideways) {
  struct Case {
    double x, y;
    bool card;
  };
  // "Bravo" gives a card 49 px wide: it needs 24.5 px on either side of the tip.
  for (const Case& c : std::vector<Case>{{24.6, 300, true},
                                         {24.4, 300, false},
                                         {775.4, 300, true},
                                         {775.6, 300, false},
                                         {400, 10, true}}) {  // crossing the top is allowed
    PinScene ps;
    ps.add("b", "Bravo", Category::Museum, c.x, c.y);
    ps.app->model.selected = "b";
    const Scene s = ps.draw();
    EXPECT_EQ(pins(s).size(), 1u);
    EXPECT_EQ(items_of<scene::TextRun>(s).size(), c.card ? 1u : 0u) << c.x << "," << c.y;
  }
}

TEST(LocationAndSelection, UnknownSelectionDrawsOnlySmallPins) {
  PinScene ps;
  ps.add("a", "Alpha", Category::Cafe, 100, 100);
  ps.add("c", "Charlie", Category::Park, 300, 300);
  ps.app->model.selected = "nobody";
  const Scene s = ps.draw();
  const auto got = pins(s);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_FALSE(got[0].second || got[1].second);
  EXPECT_TRUE(items_of<scene::TextRun>(s).empty());
}

TEST(LocationAndSelection, OriginDotOnlyInsideTheMarkerArea) {
  for (const auto& [x, drawn] : std::vector<std::pair<double, bool>>{{150, true}, {99.9, false}, {100, true}}) {
    PinScene ps;
    ps.area = {100, 0, 800, 600};
    ps.app->model.origin = camera_unproject(ps.camera, x, 250);
    const Scene s = ps.draw();
    const auto dots = discs(s, 6.0);
    ASSERT_EQ(dots.size(), drawn ? 1u : 0u) << x;
    if (!drawn) continue;
    EXPECT_EQ(dots[0].color, kTheme.background);
    const auto shadow = discs(s, 6.5);
    ASSERT_EQ(shadow.size(), 1u);
    EXPECT_NEAR(std::get<zarn_ui::Circle>(shadow[0].shape).center.y, 251, 1e-6);
    EXPECT_EQ(color_to_rgba8(shadow[0].color), (Rgba8{0, 0, 0, 60}));
    EXPECT_EQ(rings(s, 6.0).at(0).color, kTheme.accent);
    EXPECT_EQ(discs(s, 2.2).at(0).color, kTheme.accent);
  }
}

// A crowd of pins in view is stamped from one image per colour, in the places' order, with pins
// standing on another's tip left out; up to the crowd's size they are drawn from outlines. The
// selected pin is always drawn from its outline, last.
TEST(LocationAndSelection, ACrowdOfPinsIsStampedFromImages) {
  struct Case {
    std::size_t pins;
    bool crowd;
  };
  for (const Case& c : {Case{PinImages::kCrowd - 1, false}, Case{PinImages::kCrowd, true}}) {
    PinScene ps;
    for (std::size_t i = 0; i < c.pins; ++i) {
      ps.add("p" + std::to_string(i), "P", i < 4 ? Category::Museum : Category::Cafe, 20.0 + 20.0 * (i % 30),
             100.0 + 40.0 * (i / 30));
    }
    ps.add("twin", "T", Category::Cafe, 20.0 + 2.0, 100.0);  // on the first pin's tip
    ps.add("sel", "S", Category::Cafe, 400, 300);
    ps.app->model.selected = "sel";
    const Scene s = ps.draw();
    const auto stamps = items_of<scene::ImageStamps>(s);
    const auto drawn = pins(s);
    if (!c.crowd) {
      EXPECT_TRUE(stamps.empty());
      EXPECT_EQ(drawn.size(), c.pins + 2);  // every pin, the twin and the selected one
      continue;
    }
    // A run of museums, then the cafés; the twin is left out.
    ASSERT_EQ(stamps.size(), 2u);
    EXPECT_EQ(stamps[0].at.size(), 4u);
    EXPECT_EQ(stamps[1].at.size(), c.pins - 4);
    EXPECT_FALSE(stamps[0].image == stamps[1].image);
    EXPECT_EQ(stamps[0].at.front(), (Point{20, 100}));
    // Only the selected pin is drawn from outlines, after the stamps.
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_TRUE(drawn[0].second);
    // The images are made once per colour.
    const Scene again = ps.draw();
    EXPECT_TRUE(items_of<scene::ImageStamps>(again)[1].image == stamps[1].image);
  }
}

// A stamped pin looks as the pin drawn from its outline at the same whole pixel.
TEST(PinImages, StampLooksAsThePinItStandsFor) {
  PinImages images;
  const Color color = category_color(kTheme, Category::Museum);
  Scene outline, stamped;
  paint_pin(outline, Affine::identity(), {30, 40}, color, kPalette, false);
  Point tip;
  const zarn_ui::Image& img = images.image(color, kPalette, 1.0, tip);
  stamped.stamp_image(img, tip, {{30.2, 39.7}});
  const auto a = zarn_ui::render::render_to_image(outline, 60, 60).to_rgba8();
  const auto b = zarn_ui::render::render_to_image(stamped, 60, 60).to_rgba8();
  ASSERT_EQ(a.size(), b.size());
  int worst = 0;
  for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
  EXPECT_LE(worst, 2);  // composited once rather than item by item
}

TEST(ThinPoints, LeavesOutPointsCloserThanTheSpacingToOneKept) {
  const std::vector<Point> pts = {{0, 0}, {3, 4}, {5.9, 0}, {6, 0}, {100, 100}, {104, 100}, {1e9, 1e9}};
  EXPECT_EQ(thin_points(pts, 6.0), (std::vector<std::size_t>{0, 3, 4, 6}));  // exactly the spacing stays
  EXPECT_EQ(thin_points(pts, 0.0).size(), pts.size());
  EXPECT_EQ(thin_points({{std::nan(""), 0}, {1, 1}}, 6.0), (std::vector<std::size_t>{1}));
}

}  // namespace
}  // namespace maps
