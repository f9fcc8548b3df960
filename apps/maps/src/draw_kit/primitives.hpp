#pragma once
// The few calls every painter draws through: one-colour shapes and text placed by its top-left
// corner.
// Strokes have round joins and caps; fills use the non-zero rule.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "zarn_ui/color.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"

namespace maps {

using zarn_ui::Affine;
using zarn_ui::BezPath;
using zarn_ui::Color;
using zarn_ui::FontWeight;
using zarn_ui::Point;
using zarn_ui::Rect;
using zarn_ui::Scene;
using zarn_ui::text_render::TextRenderer;

void fill_rect(Scene& scene, const Affine& transform, const Rect& rect, const Color& color);
void fill_rounded_rect(Scene& scene, const Affine& transform, const Rect& rect, const Color& color, double radius);
void fill_circle(Scene& scene, const Affine& transform, const Color& color, double cx, double cy, double radius);
void fill_path(Scene& scene, const Affine& transform, const BezPath& path, const Color& color);
// Nothing for fewer than 3 points.
void fill_closed_polyline(Scene& scene, const Affine& transform, std::span<const Point> points, const Color& color);

void stroke_line(Scene& scene, const Affine& transform, const Color& color, double x0, double y0, double x1, double y1,
                 double width);
void stroke_circle(Scene& scene, const Affine& transform, const Color& color, double cx, double cy, double radius,
                   double width);
void stroke_rounded_rect(Scene& scene, const Affine& transform, const Rect& rect, const Color& color, double radius,
                         double width);
void stroke_path(Scene& scene, const Affine& transform, const BezPath& path, const Color& color, double width);
// Open; nothing for fewer than 2 points.
void stroke_polyline(Scene& scene, const Affine& transform, std::span<const Point> points, const Color& color,
                     double width);

double measure_text(const TextRenderer& text, std::string_view s, float size);
// (x, y) is the top-left corner of the text line.
void draw_label(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s, const Color& color,
                double x, double y, float size);
void draw_label_weighted(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                         const Color& color, double x, double y, float size, FontWeight weight);
void draw_text_right(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                     const Color& color, double right_x, double y, float size);
void draw_text_centered(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                        const Color& color, double left_x, double right_x, double y, float size);

}  // namespace maps
