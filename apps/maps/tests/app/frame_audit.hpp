#pragma once
// Reads one painted frame back for what a person would see go wrong: a card drawn over another
// card or over something pressable, a text running out of its card, its clip or onto another
// control, a text too faint on what lies under it, and map labels drawn over each other.
//
// The frame is split where the map layers end (the caller says where): what is drawn later is the
// window's chrome. Its cards are found by the shadow every card casts: a rounded rectangle filled
// right before the card itself, 1 px wider on each side and 3 px (top) and 5 px (bottom) lower.

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <fmt/format.h>

#include "zarn_ui/color.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"

namespace maps::frame_audit {

using zarn_ui::Color;
using zarn_ui::Point;
using zarn_ui::Rect;
namespace scene = zarn_ui::scene;

// Something drawn that stands on its own: a card, a scrim, the scale bar.
struct Surface {
  Rect rect;
  std::size_t z = 0;   // its first item in the display list
  bool cover = false;  // meant to lie over what is below: scrims, menus, dialogs, drop-down lists
  std::string what;
};

// Where a press does something.
struct PressArea {
  Rect rect;
  std::string what;
};

inline double overlap_area(const Rect& a, const Rect& b) {
  const double w = std::min(a.x1, b.x1) - std::max(a.x0, b.x0);
  const double h = std::min(a.y1, b.y1) - std::max(a.y0, b.y0);
  return w > 0 && h > 0 ? w * h : 0.0;
}

// Inside, allowing for half a pixel of rounding and a stroke's half width.
inline bool inside(const Rect& inner, const Rect& outer, double slack = 1.0) {
  return inner.x0 >= outer.x0 - slack && inner.y0 >= outer.y0 - slack && inner.x1 <= outer.x1 + slack &&
         inner.y1 <= outer.y1 + slack;
}

inline std::string describe(const Rect& r) {
  return fmt::format("({:.0f},{:.0f})-({:.0f},{:.0f})", r.x0, r.y0, r.x1, r.y1);
}

inline std::optional<Rect> filled_box(const scene::Fill& f) {
  if (const auto* r = std::get_if<Rect>(&f.shape)) return *r;
  if (const auto* rr = std::get_if<zarn_ui::RoundedRect>(&f.shape)) return rr->rect;
  if (const auto* c = std::get_if<zarn_ui::Circle>(&f.shape)) {
    return Rect{c->center.x - c->radius, c->center.y - c->radius, c->center.x + c->radius, c->center.y + c->radius};
  }
  return std::nullopt;
}

// The cards of items [from, end): a rounded fill right after its shadow.
inline std::vector<Surface> cards(const zarn_ui::Scene& s, std::size_t from) {
  std::vector<Surface> out;
  const auto& items = s.items();
  for (std::size_t i = from; i + 1 < items.size(); ++i) {
    const auto* shadow = std::get_if<scene::Fill>(&items[i]);
    const auto* card = std::get_if<scene::Fill>(&items[i + 1]);
    if (!shadow || !card) continue;
    const auto* a = std::get_if<zarn_ui::RoundedRect>(&shadow->shape);
    const auto* b = std::get_if<zarn_ui::RoundedRect>(&card->shape);
    if (!a || !b) continue;
    const Rect& r = b->rect;
    const Rect& sh = a->rect;
    const auto near = [](double x, double y) { return std::abs(x - y) < 1e-6; };
    if (near(sh.x0, r.x0 - 1) && near(sh.y0, r.y0 + 3) && near(sh.x1, r.x1 + 1) && near(sh.y1, r.y1 + 5)) {
      out.push_back({r, i, false, "card " + describe(r)});
    }
  }
  return out;
}

// WCAG relative luminance and contrast ratio.
inline double channel_luminance(float c) {
  const double v = std::clamp(static_cast<double>(c), 0.0, 1.0);
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
inline double relative_luminance(const Color& c) {
  return 0.2126 * channel_luminance(c.r) + 0.7152 * channel_luminance(c.g) + 0.0722 * channel_luminance(c.b);
}
inline double contrast_ratio(const Color& a, const Color& b) {
  const double la = relative_luminance(a), lb = relative_luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
inline Color over(const Color& top, const Color& below) {
  const float a = top.a;
  return Color{top.r * a + below.r * (1 - a), top.g * a + below.g * (1 - a), top.b * a + below.b * (1 - a), 1.0f};
}

// What lies under point `p` just before item `before`: the fills containing it, composited over
// `base`. Strokes and images are left out (images stand on the base).
inline Color colour_under(const zarn_ui::Scene& s, std::size_t before, Point p, const Color& base) {
  Color out = base;
  const auto& items = s.items();
  for (std::size_t i = 0; i < before && i < items.size(); ++i) {
    const auto* f = std::get_if<scene::Fill>(&items[i]);
    if (!f) continue;
    const auto box = filled_box(*f);
    if (!box) continue;
    if (const auto* c = std::get_if<zarn_ui::Circle>(&f->shape)) {
      const double dx = p.x - c->center.x, dy = p.y - c->center.y;
      if (dx * dx + dy * dy > c->radius * c->radius) continue;
    } else if (!(p.x >= box->x0 && p.x < box->x1 && p.y >= box->y0 && p.y < box->y1)) {
      continue;
    }
    out = over(f->color, out);
  }
  return out;
}

// The clip in force at each item: the intersection of the pushed layers' boxes.
inline std::vector<std::optional<Rect>> clips(const zarn_ui::Scene& s) {
  std::vector<std::optional<Rect>> out;
  std::vector<std::optional<Rect>> stack;
  for (const auto& item : s.items()) {
    if (const auto* push = std::get_if<scene::PushLayer>(&item)) {
      std::optional<Rect> r;
      if (const auto* rect = std::get_if<Rect>(&push->clip)) r = *rect;
      if (const auto* rr = std::get_if<zarn_ui::RoundedRect>(&push->clip)) r = rr->rect;
      if (r && !stack.empty() && stack.back()) r = r->intersect(*stack.back());
      if (!r && !stack.empty()) r = stack.back();
      stack.push_back(r);
    } else if (std::holds_alternative<scene::PopLayer>(item)) {
      if (!stack.empty()) stack.pop_back();
    }
    out.push_back(stack.empty() ? std::nullopt : stack.back());
  }
  return out;
}

// A text run's line box, as drawn: its measured width, held to its width limit.
inline Rect text_box(const scene::TextRun& run, const zarn_ui::text_render::TextRenderer& text) {
  double w = text.measure_weighted(run.text, run.size, run.weight);
  if (run.max_width) w = std::min(w, *run.max_width);
  const double x = run.transform.e, y = run.transform.f;
  return {x, y, x + w, y + zarn_ui::text_render::TextRenderer::line_height(run.size)};
}

// The part of a text's box its clip lets show, cut only top and bottom (a row scrolled partly out
// of its list); none when nothing of it shows.
inline std::optional<Rect> shown_part(const Rect& box, const std::optional<Rect>& clip) {
  if (!clip) return box;
  Rect r = box;
  r.y0 = std::max(r.y0, clip->y0);
  r.y1 = std::min(r.y1, clip->y1);
  if (r.y1 <= r.y0 || r.x1 <= clip->x0 || r.x0 >= clip->x1) return std::nullopt;
  return r;
}

struct Frame {
  const zarn_ui::Scene& scene;
  std::size_t chrome_from = 0;  // items before it are the map's
  std::vector<Surface> surfaces;
  std::vector<PressArea> presses;
  Color base;  // the window's background, under everything
};

// The surface a press area belongs to: the smallest one around it; none on the bare map.
inline const Surface* owner_of(const Frame& f, const Rect& press) {
  const Surface* owner = nullptr;
  for (const Surface& s : f.surfaces) {
    if (!s.cover && inside(press, s.rect) && (!owner || s.rect.area() < owner->rect.area())) owner = &s;
  }
  return owner;
}

// Cards over cards and over press areas. A card may lie on the card it belongs to (inside it,
// drawn after it); covers may lie over anything.
inline std::vector<std::string> covered(const Frame& f) {
  std::vector<std::string> out;
  std::vector<Surface> by_z = f.surfaces;
  std::sort(by_z.begin(), by_z.end(), [](const Surface& a, const Surface& b) { return a.z < b.z; });
  for (std::size_t i = 0; i < by_z.size(); ++i) {
    for (std::size_t j = i + 1; j < by_z.size(); ++j) {
      const Surface& low = by_z[i];
      const Surface& high = by_z[j];
      if (low.cover || high.cover || overlap_area(low.rect, high.rect) < 1.0) continue;
      if (inside(high.rect, low.rect)) continue;
      out.push_back(fmt::format("{} covers {}", high.what, low.what));
    }
  }
  for (const PressArea& p : f.presses) {
    const Surface* owner = owner_of(f, p.rect);
    for (const Surface& s : f.surfaces) {
      if (&s == owner || s.cover || (owner && s.z <= owner->z)) continue;
      if (overlap_area(s.rect, p.rect) < 1.0 || inside(s.rect, p.rect)) continue;
      out.push_back(fmt::format("{} lies over the press area of {} {}", s.what, p.what, describe(p.rect)));
    }
  }
  return out;
}

// Calls `visit(index, run, clip, box)` for each chrome text with the part of it that shows: a row
// scrolled out of its list, wholly or in part, is not cut, only a text that runs out of its clip
// sideways is.
template <class Visit>
void for_each_shown_text(const Frame& f, const zarn_ui::text_render::TextRenderer& text, Visit visit) {
  const auto clip = clips(f.scene);
  const auto& items = f.scene.items();
  for (std::size_t i = f.chrome_from; i < items.size(); ++i) {
    const auto* run = std::get_if<scene::TextRun>(&items[i]);
    if (!run || run->text.empty()) continue;
    if (const auto shown = shown_part(text_box(*run, text), clip[i])) visit(i, *run, clip[i], *shown);
  }
}

// Chrome texts that run out of their clip or their card, or onto a press area they are not part
// of.
inline std::vector<std::string> overflowing(const Frame& f, const zarn_ui::text_render::TextRenderer& text) {
  std::vector<std::string> out;
  for_each_shown_text(
      f, text, [&](std::size_t i, const scene::TextRun& run, const std::optional<Rect>& clip, const Rect& box) {
        const Point origin{box.x0 + 0.5, box.y0 + 0.5 * box.height()};
        const std::string name = fmt::format("\"{}\"", run.text.substr(0, 40));
        if (clip && (box.x0 < clip->x0 - 1.5 || box.x1 > clip->x1 + 1.5)) {
          out.push_back(fmt::format("{} {} is cut by its clip {}", name, describe(box), describe(*clip)));
          return;
        }
        const Surface* owner = nullptr;
        for (const Surface& s : f.surfaces) {
          if (s.z > i || !s.rect.contains(origin)) continue;
          if (!owner || s.z > owner->z) owner = &s;
        }
        if (!owner) return;
        if (!inside(box, owner->rect, 1.5)) {
          out.push_back(fmt::format("{} {} runs out of {}", name, describe(box), owner->what));
          return;
        }
        if (owner->cover) return;
        for (const PressArea& p : f.presses) {
          if (owner_of(f, p.rect) != owner || p.rect.contains(origin)) continue;
          if (overlap_area(p.rect, box) >= 1.0) {
            out.push_back(fmt::format("{} {} runs onto {} {}", name, describe(box), p.what, describe(p.rect)));
          }
        }
      });
  return out;
}

// Chrome texts whose colour stands out less than 4.5 : 1 from what is drawn under them.
inline std::vector<std::string> faint(const Frame& f, const zarn_ui::text_render::TextRenderer& text,
                                      double least = 4.5) {
  std::vector<std::string> out;
  for_each_shown_text(
      f, text, [&](std::size_t i, const scene::TextRun& run, const std::optional<Rect>&, const Rect& box) {
        const Point mid{std::min(box.x0 + 3.0, box.x1), 0.5 * (box.y0 + box.y1)};
        const Color under = colour_under(f.scene, i, mid, f.base);
        const double ratio = contrast_ratio(over(run.color, under), under);
        if (ratio < least)
          out.push_back(fmt::format("\"{}\" stands out only {:.2f} : 1", run.text.substr(0, 40), ratio));
      });
  return out;
}

// Map labels (their backdrops, of `backdrop` colour) drawn over each other.
inline std::vector<std::string> crowded_labels(const Frame& f, const Color& backdrop) {
  std::vector<Rect> boxes;
  const auto& items = f.scene.items();
  for (std::size_t i = 0; i < f.chrome_from && i < items.size(); ++i) {
    const auto* fill = std::get_if<scene::Fill>(&items[i]);
    if (!fill || !(fill->color == backdrop)) continue;
    if (const auto* rr = std::get_if<zarn_ui::RoundedRect>(&fill->shape)) boxes.push_back(rr->rect);
  }
  std::vector<std::string> out;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
      if (overlap_area(boxes[i], boxes[j]) >= 1.0) {
        out.push_back(fmt::format("map labels {} and {} overlap", describe(boxes[i]), describe(boxes[j])));
      }
    }
  }
  return out;
}

}  // namespace maps::frame_audit
