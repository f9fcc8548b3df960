// The attribution and licences dialogs: layout, painting, and how they close.

#include <gtest/gtest.h>

#include "app_input_fixture.hpp"
#include "menu/dialog.hpp"
#include "overlay_frame.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;
using overlay_testing::Painter;
namespace ev = zarn_ui::widget;

TEST(Dialog, AttributionAndLicencesTexts) {
  auto flag = std::make_shared<bool>(false);
  const ModalDialog a = attribution_dialog(false, flag);
  EXPECT_EQ(a.title(), "Attribution");
  EXPECT_EQ(a.body().text(), "Map data © OpenStreetMap contributors\nBasemap tiles © CARTO");
  EXPECT_EQ(a.body().text_size, 13.0f);
  EXPECT_EQ(a.primary()->label, "Close");
  EXPECT_FALSE(a.secondary());
  EXPECT_TRUE(a.has_dismiss());
  EXPECT_TRUE(a.is_open());
  const ModalDialog l = attribution_dialog(true, flag);
  EXPECT_EQ(l.title(), "Licenses");
  EXPECT_EQ(l.body().text(),
            "OpenStreetMap data — Open Database License (ODbL)\nCARTO basemaps — under CARTO's basemap terms\n"
            "© OpenStreetMap contributors · © CARTO");

  const Dialog slot;
  EXPECT_EQ(slot.kind(), DialogKind::Closed);
  EXPECT_FALSE(slot.modal().is_open());
  EXPECT_FALSE(slot.modal_rect());
}

TEST(Dialog, LayoutIsCentredAndCappedByTheWindow) {
  Painter painter;
  ModalDialog d = attribution_dialog(false, std::make_shared<bool>(false));
  d.prepare({0, 0, 400, 200}, painter.theme, painter.text);
  EXPECT_EQ(d.panel_rect(), (Rect{0, 0, 400, 200}));
  EXPECT_EQ(d.primary_rect(), (Rect{274, 152, 384, 192}));
  EXPECT_EQ(d.secondary_rect(), (Rect{156, 152, 266, 192}));

  d.prepare({0, 0, 1280, 800}, painter.theme, painter.text);
  EXPECT_EQ(d.panel_rect(), (Rect{420, 290, 860, 510}));
  EXPECT_TRUE(d.body_laid_out());
  EXPECT_EQ(d.body().bounds(), (Rect{436, 338, 844, 454}));

  // Twice the text: twice the panel and header, as far as the window allows.
  Painter large;
  large.theme = large.theme.with_text_scale(2.0f);
  d.prepare({0, 0, 1280, 800}, large.theme, large.text);
  EXPECT_EQ(d.panel_rect(), (Rect{200, 180, 1080, 620}));
  EXPECT_EQ(d.body().bounds(), (Rect{216, 276, 1064, 564}));
  d.prepare({0, 0, 400, 200}, large.theme, large.text);
  EXPECT_EQ(d.panel_rect(), (Rect{0, 0, 400, 200}));

  // No bounds: the earlier layout stands.
  d.prepare({0, 0, 0, 0}, painter.theme, painter.text);
  EXPECT_EQ(d.panel_rect(), (Rect{0, 0, 400, 200}));
}

// Too small for the body between the header and the button band: the panel and its button are
// drawn, the body (even one laid out for a larger window before) is not.
TEST(Dialog, AWindowTooSmallForTheBodyStillShowsThePanelAndButton) {
  AppFixture f;
  f.app->dialog.open_attribution_dialog(false);
  Painter painter;
  EXPECT_TRUE(painter.window(*f.app).has_text("Basemap tiles © CARTO"));
  f.app->bounds_rect = {0, 0, 300, 104};
  const auto p = painter.window(*f.app);
  EXPECT_FALSE(p.has_text("Map data © OpenStreetMap contributors"));
  EXPECT_FALSE(p.has_text("Basemap tiles © CARTO"));
  EXPECT_TRUE(p.has_text("Attribution"));
  EXPECT_TRUE(p.has_text("Close"));
  EXPECT_FALSE(f.app->dialog.modal().body_laid_out());
  EXPECT_TRUE(p.fill_of(Rect{0, 0, 300, 104}));  // the scrim
}

TEST(Dialog, ClosesByItsButtonEnterEscapeOrAPressOutside) {
  struct Case {
    const char* name;
    std::vector<ev::Event> events;
    bool closes;
  } cases[] = {
      {"Close", {ev::PointerMoved{{800, 480}}, ev::MouseButtonEvent{ev::MouseButton::Primary, true}}, true},
      {"Enter", {ev::Key{ev::NamedKey::Enter, true}}, true},
      {"Escape", {ev::Key{ev::NamedKey::Escape, true}}, true},
      {"a press on the scrim",
       {ev::PointerMoved{{100, 100}}, ev::MouseButtonEvent{ev::MouseButton::Primary, true}},
       true},
      {"a press before any move, at (0, 0)", {ev::MouseButtonEvent{ev::MouseButton::Primary, true}}, true},
      {"a press on the panel",
       {ev::PointerMoved{{500, 320}}, ev::MouseButtonEvent{ev::MouseButton::Primary, true}},
       false},
      {"a secondary press outside",
       {ev::PointerMoved{{100, 100}}, ev::MouseButtonEvent{ev::MouseButton::Secondary, true}},
       false},
      {"a key release", {ev::Key{ev::NamedKey::Escape, false}}, false},
      {"a letter", {ev::Key{std::string("d"), true}}, false},
  };
  for (const auto& c : cases) {
    AppFixture f;
    f.app->dialog.open_attribution_dialog(false);
    Painter painter;
    painter.window(*f.app);
    for (const auto& e : c.events) EXPECT_TRUE(f.send(e) || std::holds_alternative<ev::PointerMoved>(e)) << c.name;
    EXPECT_EQ(!f.app->dialog.is_open(), c.closes) << c.name;
    EXPECT_EQ(f.model().panel, Panel::Explore) << c.name << ": the dialog took every event";
    EXPECT_FALSE(f.app->pointer.map_press) << c.name;
    if (c.closes) {
      EXPECT_EQ(f.app->dialog.kind(), DialogKind::Closed);
      EXPECT_FALSE(f.app->dialog.modal().is_open());
      EXPECT_FALSE(painter.window(*f.app).has_text("Close"));
    }
  }
}

TEST(Dialog, PointerIsReadInLogicalPixels) {
  AppFixture f;
  f.app->dialog.open_attribution_dialog(false);
  Painter painter;
  painter.window(*f.app);
  f.send(ev::PointerMoved{{1600, 960}}, 0, 2.0);  // (800, 480): on "Close"
  EXPECT_EQ(f.app->dialog.modal().pointer(), (Point{800, 480}));
  f.send(ev::MouseButtonEvent{ev::MouseButton::Primary, true}, 0, 2.0);
  EXPECT_FALSE(f.app->dialog.is_open());
}

TEST(Dialog, OpeningAgainReplacesTheDialogAndItsFlag) {
  AppFixture f;
  f.app->dialog.open_attribution_dialog(false);
  EXPECT_EQ(f.app->dialog.kind(), DialogKind::Attribution);
  Painter painter;
  painter.window(*f.app);
  f.app->dialog.open_attribution_dialog(true);
  EXPECT_EQ(f.app->dialog.kind(), DialogKind::Licenses);
  EXPECT_EQ(f.app->dialog.modal().title(), "Licenses");
  EXPECT_EQ(f.app->dialog.modal().pointer(), Point{}) << "nothing of the earlier dialog is kept";
  const auto p = painter.window(*f.app);
  EXPECT_TRUE(p.has_text("Licenses"));
  EXPECT_FALSE(p.has_text("Attribution"));
  EXPECT_EQ(f.app->modal_rect(), f.app->bounds_rect);
  f.key(ev::NamedKey::Escape);
  EXPECT_FALSE(f.app->modal_rect());
}

TEST(Dialog, AccessNodeNamesTheDialogAndItsButton) {
  AppFixture f;
  namespace access = zarn_ui::access;
  const access::AccessNode closed = modal_access_node(f.app->dialog);
  EXPECT_TRUE(closed.has_flag(access::flags::kHidden));
  EXPECT_TRUE(closed.children.empty());

  f.app->dialog.open_attribution_dialog(false);
  Painter painter;
  painter.window(*f.app);
  const access::AccessNode node = modal_access_node(f.app->dialog);
  EXPECT_EQ(node.role, access::Role::Window);
  EXPECT_EQ(node.name, "Attribution");
  EXPECT_FALSE(node.has_flag(access::flags::kHidden));
  ASSERT_EQ(node.children.size(), 1u);
  const access::AccessNode& close = node.children[0];
  EXPECT_EQ(close.id, "modal.primary");
  EXPECT_EQ(close.key, access::node_key("modal.primary"));
  EXPECT_EQ(close.name, "Close");
  EXPECT_EQ(close.role, access::Role::Button);
  EXPECT_EQ(close.action, access::SemanticAction::Activate);
  EXPECT_EQ(close.bounds, f.app->dialog.modal().primary_rect());
}

TEST(Dialog, ItsAccessibleButtonClosesItAndNothingBelowActs) {
  AppFixture f;
  namespace access = zarn_ui::access;
  f.app->dialog.open_attribution_dialog(false);
  Painter painter;
  painter.window(*f.app);
  const double zoom = f.model().zoom;
  EXPECT_FALSE(f.app->perform_semantic_action("maps.control:zoom-in", access::SemanticAction::Activate, f.state))
      << "the map's controls are not in the tree while the dialog is";
  EXPECT_EQ(f.model().zoom, zoom);
  EXPECT_FALSE(f.app->perform_semantic_action("modal.secondary", access::SemanticAction::Activate, f.state));
  EXPECT_FALSE(f.app->perform_semantic_action("modal.primary", access::SemanticAction::Focus, f.state));
  EXPECT_TRUE(f.app->dialog.is_open());
  EXPECT_TRUE(f.app->perform_semantic_action("modal.primary", access::SemanticAction::Activate, f.state));
  EXPECT_EQ(f.app->dialog.kind(), DialogKind::Closed);
  EXPECT_FALSE(f.app->modal_rect());
  EXPECT_EQ(f.app->access_node()->name, "Maps");
}

}  // namespace
}  // namespace maps
