#pragma once
// Pango layouts with fractional metrics, cached per (text, size, weight, width limit).

#include <pango/pangocairo.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "cairo_handles.hpp"
#include "zarn_ui/scene.hpp"

namespace zarn_ui::text_render {

struct LaidText {
  PangoLayout* layout = nullptr;  // owned by the engine's cache
  double width = 0.0;             // logical width: the advance of the line
  double height = 0.0;            // logical height: ascent + descent
  double baseline = 0.0;          // from the layout's top
};

class TextEngine {
 public:
  TextEngine();
  TextEngine(const TextEngine&) = delete;
  TextEngine& operator=(const TextEngine&) = delete;

  // The layout for one line of text; owned by the engine, valid until the next call.
  const LaidText& layout(std::string_view text, float size, FontWeight weight, std::optional<double> max_width);

 private:
  struct Key {
    std::string text;
    float size;
    FontWeight weight;
    double max_width;  // negative: no limit
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };

  struct Entry {
    handles::GObject<PangoLayout> owner;
    LaidText laid;
  };

  // Declared in this order so the layouts go before the context and the context before the map.
  handles::GObject<PangoFontMap> font_map_;
  handles::GObject<PangoContext> context_;
  std::unordered_map<Key, Entry, KeyHash> cache_;
};

// Pango weight for a framework weight.
PangoWeight pango_weight(FontWeight weight);

}  // namespace zarn_ui::text_render
