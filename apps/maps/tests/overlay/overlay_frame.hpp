#pragma once
// Painting a state's frame into a recording scene with the fixed-advance fake renderer (7 px a
// character), and reading the items back: texts, fills and where a text or shape was drawn.

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/maps_app.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps::overlay_testing {

namespace scene = zarn_ui::scene;

struct Painted {
  zarn_ui::Scene scene;

  template <class T>
  std::vector<T> all() const {
    std::vector<T> out;
    for (const auto& item : scene.items()) {
      if (const auto* x = std::get_if<T>(&item)) out.push_back(*x);
    }
    return out;
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& run : all<scene::TextRun>()) out.push_back(run.text);
    return out;
  }
  bool has_text(const std::string& s) const {
    const auto t = texts();
    return std::find(t.begin(), t.end(), s) != t.end();
  }
  // The first run with this text.
  std::optional<scene::TextRun> run(const std::string& s) const {
    for (const auto& r : all<scene::TextRun>()) {
      if (r.text == s) return r;
    }
    return std::nullopt;
  }
  // Position of the first item that is this text, or that fills this shape; -1 when none.
  long index_of_text(const std::string& s) const {
    const auto& items = scene.items();
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (const auto* r = std::get_if<scene::TextRun>(&items[i]); r && r->text == s) return static_cast<long>(i);
    }
    return -1;
  }
  std::optional<scene::Fill> fill_of(const zarn_ui::Shape& shape) const {
    for (const auto& f : all<scene::Fill>()) {
      if (f.shape == shape) return f;
    }
    return std::nullopt;
  }
  std::optional<scene::Stroke> stroke_of(const zarn_ui::Shape& shape) const {
    for (const auto& s : all<scene::Stroke>()) {
      if (s.shape == shape) return s;
    }
    return std::nullopt;
  }
};

inline zarn_ui::Point text_origin(const scene::TextRun& run) { return {run.transform.e, run.transform.f}; }

struct Painter {
  zarn_ui::text_render::TextRenderer text = zarn_ui::text_render::TextRenderer::fixed(7);
  zarn_ui::theme::Theme theme = zarn_ui::theme::Theme::light();
  zarn_ui::presence::PresenceCtx presence = zarn_ui::presence::PresenceCtx::empty();
  zarn_ui::permissions::PermissionContext permissions = zarn_ui::permissions::PermissionContext::permissive();

  // The window's frame.
  Painted window(MapsApp& app) {
    Painted p;
    app.draw(p.scene, zarn_ui::Affine::identity(), {text, theme, presence, permissions});
    return p;
  }
  // The floating layer the framework draws above it.
  Painted floating(MapsApp& app) {
    Painted p;
    app.draw_floating(p.scene, zarn_ui::Affine::identity(), text, theme);
    return p;
  }
};

}  // namespace maps::overlay_testing
