#include "text_engine.hpp"

#include <cairo.h>
#include <glib.h>

#include <cmath>
#include <functional>

namespace zarn_ui::text_render {
namespace {

constexpr const char* kFamily = "DejaVu Sans";
// A frame has a few hundred distinct labels; beyond this the cache starts again.
constexpr std::size_t kMaxCached = 4096;

}  // namespace

PangoWeight pango_weight(FontWeight weight) {
  switch (weight) {
    case FontWeight::Medium: return PANGO_WEIGHT_MEDIUM;
    case FontWeight::Semibold: return PANGO_WEIGHT_SEMIBOLD;
    case FontWeight::Bold: return PANGO_WEIGHT_BOLD;
    case FontWeight::Normal: break;
  }
  return PANGO_WEIGHT_NORMAL;
}

std::size_t TextEngine::KeyHash::operator()(const Key& k) const {
  std::size_t h = std::hash<std::string>()(k.text);
  auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
  mix(std::hash<float>()(k.size));
  mix(static_cast<std::uint8_t>(k.weight));
  mix(std::hash<double>()(k.max_width));
  return h;
}

TextEngine::TextEngine() {
  // A font map of our own, so nothing depends on another user of Pango's default one.
  font_map_.reset(pango_cairo_font_map_new());
  context_.reset(pango_font_map_create_context(font_map_.get()));
  const handles::CairoFontOptions options(cairo_font_options_create());
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(context_.get(), options.get());
  pango_context_set_round_glyph_positions(context_.get(), FALSE);
  pango_context_set_base_dir(context_.get(), PANGO_DIRECTION_LTR);
}

const LaidText& TextEngine::layout(std::string_view text, float size, FontWeight weight,
                                   std::optional<double> max_width) {
  Key key{std::string(text), size, weight, max_width ? std::max(0.0, *max_width) : -1.0};
  if (auto it = cache_.find(key); it != cache_.end()) return it->second.laid;
  if (cache_.size() >= kMaxCached) cache_.clear();

  handles::GObject<PangoLayout> owner(pango_layout_new(context_.get()));
  PangoLayout* layout = owner.get();
  // Pango refuses invalid UTF-8; show what is valid instead of nothing.
  const handles::GString valid(g_utf8_make_valid(key.text.data(), static_cast<gssize>(key.text.size())));
  pango_layout_set_text(layout, valid.get(), -1);
  pango_layout_set_single_paragraph_mode(layout, TRUE);

  const handles::FontDescription desc(pango_font_description_new());
  pango_font_description_set_family_static(desc.get(), kFamily);
  pango_font_description_set_absolute_size(desc.get(), static_cast<double>(size) * PANGO_SCALE);
  pango_font_description_set_weight(desc.get(), pango_weight(weight));
  pango_layout_set_font_description(layout, desc.get());

  if (key.max_width >= 0.0) {
    pango_layout_set_width(layout, static_cast<int>(std::min(key.max_width, 1e6) * PANGO_SCALE));
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  }

  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  LaidText laid;
  laid.layout = layout;
  laid.width = static_cast<double>(logical.width) / PANGO_SCALE;
  laid.height = static_cast<double>(logical.height) / PANGO_SCALE;
  laid.baseline = static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE;
  return cache_.emplace(std::move(key), Entry{std::move(owner), laid}).first->second.laid;
}

}  // namespace zarn_ui::text_render

// Fontconfig keeps its configuration for the whole process and never frees it; under the leak
// checker that would fail every program that draws text.
#if defined(__SANITIZE_ADDRESS__)
#define ZARN_UI_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZARN_UI_LSAN 1
#endif
#endif
#ifdef ZARN_UI_LSAN
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
