#include "zarn_ui/render.hpp"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "cairo_handles.hpp"
#include "device_path.hpp"
#include "text_engine.hpp"

namespace zarn_ui::render {
namespace {

using render_detail::kCoordLimit;

// Device-space flattening tolerance for geometry that takes the clipped road.
constexpr double kTolerance = 0.2;
// Finite coordinates larger than this could overflow the clipping arithmetic itself.
constexpr double kMaxFinite = 1e300;
// Widest device stroke on the clipped road; the surfaces are far smaller.
constexpr double kMaxFarStrokeWidth = 4e5;

cairo_matrix_t to_cairo(const Affine& a) {
  cairo_matrix_t m;
  cairo_matrix_init(&m, a.a, a.b, a.c, a.d, a.e, a.f);
  return m;
}

// Cairo puts the context in an error state for a matrix whose determinant is not finite and
// non-zero, and inverts matrices itself; refuse those before it sees them.
bool usable(const Affine& m) {
  if (!m.is_finite()) return false;
  const double det = m.determinant();
  if (!std::isfinite(det) || det == 0.0) return false;
  const std::optional<Affine> inv = m.inverse();
  if (!inv || !inv->is_finite()) return false;
  const double inv_det = inv->determinant();
  return std::isfinite(inv_det) && inv_det != 0.0;
}

float unit(float v) { return v == v ? std::clamp(v, 0.0f, 1.0f) : 0.0f; }

void set_color(cairo_t* cr, const Color& c) { cairo_set_source_rgba(cr, unit(c.r), unit(c.g), unit(c.b), unit(c.a)); }

bool inside_limit(const Rect& r, double limit) {
  return r.x0 >= -limit && r.y0 >= -limit && r.x1 <= limit && r.y1 <= limit;
}

// Scale bound of a transform: no vector grows by more than this.
double max_scale(const Affine& m) { return std::abs(m.a) + std::abs(m.b) + std::abs(m.c) + std::abs(m.d); }

enum class PathMode { Fill, Stroke };

class Replayer {
 public:
  // Draws on a caller's context, which stays the caller's; `offset` moves everything by whole
  // device pixels (a band of a larger target).
  Replayer(cairo_t* cr, double scale, const text_render::TextRenderer* text, Vec2 offset = {})
      : cr_(cr), scale_(Affine::translate(offset.x, offset.y) * Affine::scale(scale)) {
    if (text != nullptr) engine_ = text->engine();
  }
  // Draws on a context of its own on `surface`, which it may replace after a failure.
  Replayer(cairo_surface_t* surface, double scale, const text_render::TextRenderer* text)
      : owned_(cairo_create(surface)), cr_(owned_.get()), own_surface_(surface), scale_(Affine::scale(scale)) {
    if (text != nullptr) engine_ = text->engine();
  }

  base::Result<ReplayReport> run(const Scene& scene, std::size_t first = 0) {
    cairo_save(cr_);
    // What the target shows, in device pixels: geometry wholly outside it is not handed to Cairo,
    // whose stroker would otherwise build the whole outline first (a city of short round-capped
    // segments is mostly off screen when zoomed in).
    cairo_identity_matrix(cr_);
    double vx0 = 0, vy0 = 0, vx1 = 0, vy1 = 0;
    cairo_clip_extents(cr_, &vx0, &vy0, &vx1, &vy1);
    view_ = Rect{vx0, vy0, vx1, vy1};
    const auto& items = scene.items();
    for (std::size_t i = std::min(first, items.size()); i < items.size(); ++i) {
      const scene::Item& item = items[i];
      if (!std::visit([this](const auto& it) { return draw(it); }, item)) ++report_.skipped;
      if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS && !recover()) {
        return base::err(std::string("cairo: ") + cairo_status_to_string(cairo_status(cr_)));
      }
    }
    while (!layers_.empty()) pop();
    cairo_restore(cr_);
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
      return base::err(std::string("cairo: ") + cairo_status_to_string(cairo_status(cr_)));
    }
    return report_;
  }

 private:
  // A failed context on our own surface is replaced; a caller's context cannot be.
  bool recover() {
    if (own_surface_ == nullptr) return false;
    owned_.reset(cairo_create(own_surface_));
    cr_ = owned_.get();
    layers_.clear();
    dead_ = 0;
    cairo_save(cr_);
    return cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
  }

  // Sets the current path of `path` under the device transform `m`. Near geometry goes to Cairo
  // as it is, under `m`; geometry reaching beyond the limit is flattened and clipped in device
  // space under the identity (`far` tells which). False when the item must be skipped.
  bool build(const BezPath& path, const Affine& m, PathMode mode, double margin, bool& far, bool& culled) {
    cairo_new_path(cr_);
    culled = false;
    const std::optional<Rect> bounds = render_detail::device_bounds(path, m);
    if (!bounds || !bounds->is_finite() || !inside_limit(*bounds, kMaxFinite)) return false;
    // One pixel more for the antialiased edge.
    const Rect reach = bounds->inflate(margin + 1.0, margin + 1.0);
    if (reach.x1 < view_.x0 || reach.x0 > view_.x1 || reach.y1 < view_.y0 || reach.y0 > view_.y1) {
      culled = true;
      return true;
    }
    far = !inside_limit(bounds->inflate(margin, margin), kCoordLimit);
    if (!far) {
      const cairo_matrix_t cm = to_cairo(m);
      cairo_set_matrix(cr_, &cm);
      emit_user_path(path);
      return true;
    }
    cairo_identity_matrix(cr_);
    for (const render_detail::Polyline& poly : render_detail::flatten(path, m, kTolerance, kCoordLimit)) {
      if (mode == PathMode::Fill) {
        const std::vector<Point> clipped = render_detail::clip_polygon(poly.points, kCoordLimit);
        if (clipped.size() < 3) continue;
        cairo_move_to(cr_, clipped[0].x, clipped[0].y);
        for (std::size_t i = 1; i < clipped.size(); ++i) cairo_line_to(cr_, clipped[i].x, clipped[i].y);
        cairo_close_path(cr_);
      } else {
        std::vector<Point> pts = poly.points;
        if (poly.closed && !pts.empty()) pts.push_back(pts.front());
        for (const std::vector<Point>& piece : render_detail::clip_polyline(pts, kCoordLimit)) {
          cairo_move_to(cr_, piece[0].x, piece[0].y);
          for (std::size_t i = 1; i < piece.size(); ++i) cairo_line_to(cr_, piece[i].x, piece[i].y);
        }
      }
    }
    return true;
  }

  void emit_user_path(const BezPath& path) {
    Point current{}, start{};
    for (const PathEl& el : path.elements()) {
      switch (el.verb) {
        case PathVerb::MoveTo:
          cairo_move_to(cr_, el.p[0].x, el.p[0].y);
          current = start = el.p[0];
          break;
        case PathVerb::LineTo:
          cairo_line_to(cr_, el.p[0].x, el.p[0].y);
          current = el.p[0];
          break;
        case PathVerb::QuadTo: {
          const Point c = el.p[0], p = el.p[1];
          cairo_curve_to(cr_, current.x + 2.0 / 3.0 * (c.x - current.x), current.y + 2.0 / 3.0 * (c.y - current.y),
                         p.x + 2.0 / 3.0 * (c.x - p.x), p.y + 2.0 / 3.0 * (c.y - p.y), p.x, p.y);
          current = p;
          break;
        }
        case PathVerb::CubicTo:
          cairo_curve_to(cr_, el.p[0].x, el.p[0].y, el.p[1].x, el.p[1].y, el.p[2].x, el.p[2].y);
          current = el.p[2];
          break;
        case PathVerb::Close:
          cairo_close_path(cr_);
          current = start;
          break;
      }
    }
  }

  bool draw(const scene::Fill& it) {
    if (dead_ > 0) return false;
    const Affine m = scale_ * it.transform;
    bool far = false, culled = false;
    if (!usable(m) || !build(to_path(it.shape), m, PathMode::Fill, 0.0, far, culled)) return false;
    if (culled) {
      ++report_.drawn;
      return true;
    }
    set_color(cr_, it.color);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
    cairo_fill(cr_);
    ++report_.drawn;
    return true;
  }

  bool draw(const scene::Stroke& it) {
    if (dead_ > 0 || !std::isfinite(it.width) || it.width <= 0.0) return false;
    const Affine m = scale_ * it.transform;
    if (!usable(m)) return false;
    bool far = false, culled = false;
    const double margin = 0.5 * it.width * max_scale(m);
    if (!std::isfinite(margin) || !build(to_path(it.shape), m, PathMode::Stroke, margin, far, culled)) return false;
    if (culled) {
      ++report_.drawn;
      return true;
    }
    const double width = far ? std::min(it.width * std::sqrt(std::abs(m.determinant())), kMaxFarStrokeWidth) : it.width;
    cairo_set_line_width(cr_, width);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    cairo_set_miter_limit(cr_, 4.0);
    cairo_set_dash(cr_, nullptr, 0, 0.0);
    set_color(cr_, it.color);
    cairo_stroke(cr_);
    ++report_.drawn;
    return true;
  }

  bool draw(const scene::PushLayer& it) {
    if (dead_ > 0) {
      ++dead_;
      return false;
    }
    const Affine m = scale_ * it.transform;
    cairo_save(cr_);
    // A clip wholly off the target leaves the path empty: an empty clip, which shows nothing.
    bool far = false, culled = false;
    if (!usable(m) || !build(to_path(it.clip), m, PathMode::Fill, 0.0, far, culled)) {
      // What a broken clip holds is dropped with it, up to its pop.
      cairo_new_path(cr_);
      cairo_restore(cr_);
      dead_ = 1;
      return false;
    }
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr_);
    const float alpha = unit(it.alpha);
    const bool group = alpha < 1.0f;
    if (group) cairo_push_group(cr_);
    layers_.push_back({group, alpha});
    ++report_.drawn;
    return true;
  }

  bool draw(const scene::PopLayer&) {
    if (dead_ > 0) {
      --dead_;
      return true;
    }
    if (layers_.empty()) return false;  // unbalanced pop
    pop();
    return true;
  }

  void pop() {
    const Layer layer = layers_.back();
    layers_.pop_back();
    if (layer.group) {
      cairo_pop_group_to_source(cr_);
      cairo_paint_with_alpha(cr_, layer.alpha);
    }
    cairo_restore(cr_);
  }

  bool draw(const scene::ImageStamps& it) {
    cairo_surface_t* surface = it.image.cairo_surface();
    if (dead_ > 0 || surface == nullptr) return false;
    const Affine m = scale_ * it.transform;
    if (!usable(m) || !std::isfinite(it.anchor.x) || !std::isfinite(it.anchor.y)) return false;
    const double w = it.image.width(), h = it.image.height();
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    for (const Point& p : it.at) {
      const Point d = m.apply(p);
      if (!std::isfinite(d.x) || !std::isfinite(d.y) || std::abs(d.x) > kCoordLimit || std::abs(d.y) > kCoordLimit) {
        continue;
      }
      const double x = std::round(d.x) - std::round(it.anchor.x), y = std::round(d.y) - std::round(it.anchor.y);
      if (x + w < view_.x0 || x > view_.x1 || y + h < view_.y0 || y > view_.y1) continue;
      cairo_set_source_surface(cr_, surface, x, y);
      cairo_rectangle(cr_, x, y, w, h);
      cairo_fill(cr_);
    }
    cairo_restore(cr_);
    ++report_.drawn;
    return true;
  }

  bool draw(const scene::DrawImage& it) {
    cairo_surface_t* surface = it.image.cairo_surface();
    if (dead_ > 0 || surface == nullptr) return false;
    const Affine m = scale_ * it.transform;
    if (!usable(m) || !usable(it.brush_transform) || !usable(m * it.brush_transform)) return false;
    bool far = false, culled = false;
    if (!build(to_path(it.shape), m, PathMode::Fill, 0.0, far, culled)) return false;
    if (culled) {
      ++report_.drawn;
      return true;
    }
    // The pattern matrix maps the current user space to image pixels.
    const Affine to_pixels = far ? *(m * it.brush_transform).inverse() : *it.brush_transform.inverse();
    if (!usable(to_pixels)) {
      cairo_new_path(cr_);
      return false;
    }
    const handles::CairoPattern pattern(cairo_pattern_create_for_surface(surface));
    const cairo_matrix_t pm = to_cairo(to_pixels);
    cairo_pattern_set_matrix(pattern.get(), &pm);
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern.get(),
                             it.sampling == scene::Sampling::Fast ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_BILINEAR);
    const float alpha = unit(it.alpha);
    cairo_save(cr_);
    cairo_set_source(cr_, pattern.get());
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
    if (alpha >= 1.0f) {
      cairo_fill(cr_);
    } else {
      cairo_clip(cr_);
      cairo_paint_with_alpha(cr_, alpha);
    }
    cairo_restore(cr_);
    ++report_.drawn;
    return true;
  }

  bool draw(const scene::TextRun& it) {
    if (dead_ > 0 || it.text.empty() || !(it.size > 0.0f && it.size <= text_render::TextRenderer::kMaxSize)) {
      return false;
    }
    if (it.max_width && !std::isfinite(*it.max_width)) return false;
    const Affine m = scale_ * it.transform;
    if (!usable(m)) return false;
    const text_render::LaidText& laid = engine().layout(it.text, it.size, it.weight, it.max_width);
    const double line = text_render::TextRenderer::line_height(it.size);
    // Text reaching past the limit is far outside any surface: leave it out.
    BezPath box;
    box.move_to({0, 0}).line_to({laid.width, 0}).line_to({laid.width, line}).line_to({0, line});
    const std::optional<Rect> bounds = render_detail::device_bounds(box, m);
    if (!bounds || !bounds->is_finite() || !inside_limit(*bounds, kCoordLimit)) return false;
    const cairo_matrix_t cm = to_cairo(m);
    cairo_new_path(cr_);
    cairo_set_matrix(cr_, &cm);
    cairo_move_to(cr_, 0.0, 0.5 * (line - laid.height));
    set_color(cr_, it.color);
    pango_cairo_show_layout(cr_, laid.layout);
    cairo_new_path(cr_);
    ++report_.drawn;
    return true;
  }

  text_render::TextEngine& engine() {
    if (engine_ == nullptr) {
      own_engine_ = std::make_unique<text_render::TextEngine>();
      engine_ = own_engine_.get();
    }
    return *engine_;
  }

  struct Layer {
    bool group = false;
    float alpha = 1.0f;
  };

  handles::CairoContext owned_;  // empty when drawing on a caller's context
  cairo_t* cr_;
  cairo_surface_t* own_surface_ = nullptr;
  Affine scale_;
  Rect view_;
  text_render::TextEngine* engine_ = nullptr;
  std::unique_ptr<text_render::TextEngine> own_engine_;
  std::vector<Layer> layers_;
  int dead_ = 0;  // depth inside a layer whose clip was refused
  ReplayReport report_;
};

bool valid_scale(double s) { return std::isfinite(s) && s > 0.0 && s <= 64.0; }

}  // namespace

base::Result<ReplayReport> replay(cairo_t* cr, const Scene& scene, double device_scale,
                                  const text_render::TextRenderer* text) {
  if (cr == nullptr || cairo_status(cr) != CAIRO_STATUS_SUCCESS) return base::err("cairo context unusable");
  if (!valid_scale(device_scale)) return base::err("invalid device scale");
  Replayer r(cr, device_scale, text);
  return r.run(scene);
}

base::Result<ReplayReport> replay_to_surface(cairo_surface_t* surface, const Scene& scene, double device_scale,
                                             const text_render::TextRenderer* text, std::size_t first) {
  if (surface == nullptr || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    return base::err("cairo surface unusable");
  }
  if (!valid_scale(device_scale)) return base::err("invalid device scale");
  base::Result<ReplayReport> result = base::err("cairo replay did not run");
  {
    Replayer r(surface, device_scale, text);
    result = r.run(scene, first);
  }
  cairo_surface_flush(surface);
  return result;
}

std::optional<std::size_t> covering_item(const Scene& scene, double device_scale, std::uint32_t width,
                                         std::uint32_t height) {
  if (!valid_scale(device_scale)) return std::nullopt;
  const Affine scale = Affine::scale(device_scale);
  // Axis-aligned, so that the rectangle stays one; the edges must hold the target's whole pixels.
  const auto covers = [&](const Shape& shape, const Affine& transform) {
    const Rect* r = std::get_if<Rect>(&shape);
    const Affine m = scale * transform;
    if (r == nullptr || m.b != 0.0 || m.c != 0.0 || !m.is_finite()) return false;
    const Rect d = Rect{m.a * r->x0 + m.e, m.d * r->y0 + m.f, m.a * r->x1 + m.e, m.d * r->y1 + m.f}.abs();
    return d.x0 <= 0.0 && d.y0 <= 0.0 && d.x1 >= static_cast<double>(width) && d.y1 >= static_cast<double>(height);
  };
  std::optional<std::size_t> found;
  int depth = 0;
  const auto& items = scene.items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const scene::Item& item = items[i];
    if (std::holds_alternative<scene::PushLayer>(item)) {
      ++depth;
    } else if (std::holds_alternative<scene::PopLayer>(item)) {
      // An unbalanced pop ends nothing the target sees; the replay refuses it.
      if (depth > 0) --depth;
    } else if (depth == 0) {
      if (const auto* f = std::get_if<scene::Fill>(&item)) {
        if (f->color.a >= 1.0f && covers(f->shape, f->transform)) found = i;
      } else if (const auto* im = std::get_if<scene::DrawImage>(&item)) {
        // Pad extension spreads an image over its whole shape.
        if (im->image.opaque() && im->alpha >= 1.0f && usable(im->brush_transform) &&
            covers(im->shape, im->transform)) {
          found = i;
        }
      }
    }
  }
  return found;
}

Image render_to_image(const Scene& scene, std::uint32_t width, std::uint32_t height, double device_scale,
                      const text_render::TextRenderer* text) {
  ImageBuilder builder(width, height);
  if (!builder.ok() || !replay_to_surface(builder.surface(), scene, device_scale, text)) return {};
  return builder.finish();
}

Image render_opaque_in_bands(base::WorkPool& pool, const Image& previous, std::int32_t dx, std::int32_t dy,
                             std::span<const Rect> fresh, const Scene& scene, std::uint32_t width, std::uint32_t height,
                             double device_scale) {
  ImageBuilder builder(width, height, ImageBuilder::Content::Opaque);
  if (!builder.ok() || !valid_scale(device_scale)) return {};
  for (const Rect& r : fresh) {
    if (!r.is_finite()) return {};
  }
  cairo_surface_t* target = builder.surface();
  unsigned char* data = cairo_image_surface_get_data(target);
  const int stride = cairo_image_surface_get_stride(target);
  cairo_surface_t* old = previous.cairo_surface();
  const unsigned char* old_data = old ? cairo_image_surface_get_data(old) : nullptr;
  const int old_stride = old ? cairo_image_surface_get_stride(old) : 0;
  const auto w = static_cast<std::int64_t>(width), h = static_cast<std::int64_t>(height);
  // Enough bands that a slow one does not hold up the rest.
  const std::int64_t bands = std::min<std::int64_t>(h, 2 * static_cast<std::int64_t>(pool.threads() + 1));
  std::vector<char> failed(static_cast<std::size_t>(bands), 0);
  std::vector<std::function<void()>> pieces;
  for (std::int64_t b = 0; b < bands; ++b) {
    pieces.push_back([&, b] {
      const std::int64_t y0 = h * b / bands, y1 = h * (b + 1) / bands;
      // The old pixels are copied as they are; the two share one layout of 32 bits a pixel.
      if (old_data != nullptr) {
        const std::int64_t ow = previous.width(), oh = previous.height();
        const std::int64_t x0 = std::max<std::int64_t>(0, dx), x1 = std::min<std::int64_t>(w, dx + ow);
        for (std::int64_t y = y0; y < y1 && x0 < x1; ++y) {
          const std::int64_t sy = y - dy;
          if (sy < 0 || sy >= oh) continue;
          std::memcpy(data + y * stride + 4 * x0, old_data + sy * old_stride + 4 * (x0 - dx),
                      static_cast<std::size_t>(4 * (x1 - x0)));
        }
      }
      const handles::CairoSurface band(cairo_image_surface_create_for_data(
          data + y0 * stride, CAIRO_FORMAT_RGB24, static_cast<int>(w), static_cast<int>(y1 - y0), stride));
      const handles::CairoContext cr(cairo_create(band.get()));
      if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
        failed[static_cast<std::size_t>(b)] = 1;
        return;
      }
      const Vec2 offset{0.0, -static_cast<double>(y0)};
      for (const Rect& r : fresh) {
        const Rect part = r.translate(offset).intersect({0, 0, static_cast<double>(w), static_cast<double>(y1 - y0)});
        if (!(part.x1 > part.x0 && part.y1 > part.y0)) continue;
        cairo_save(cr.get());
        cairo_rectangle(cr.get(), part.x0, part.y0, part.width(), part.height());
        cairo_clip(cr.get());
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr.get());
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_OVER);
        Replayer replayer(cr.get(), device_scale, nullptr, offset);
        const bool drawn = replayer.run(scene).is_ok();
        cairo_restore(cr.get());
        if (!drawn) failed[static_cast<std::size_t>(b)] = 1;
      }
      cairo_surface_flush(band.get());
    });
  }
  pool.run_all(std::move(pieces));
  if (std::find(failed.begin(), failed.end(), 1) != failed.end()) return {};
  return builder.finish();
}

Image render_to_image_reusing(const Image& previous, std::int32_t dx, std::int32_t dy, std::span<const Rect> fresh,
                              const Scene& scene, std::uint32_t width, std::uint32_t height, double device_scale,
                              const text_render::TextRenderer* text, ImageBuilder::Content content) {
  ImageBuilder builder(width, height, content);
  if (!builder.ok() || !valid_scale(device_scale)) return {};
  {
    const handles::CairoContext cr(cairo_create(builder.surface()));
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) return {};
    if (cairo_surface_t* old = previous.cairo_surface()) {
      cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
      cairo_set_source_surface(cr.get(), old, dx, dy);
      cairo_rectangle(cr.get(), dx, dy, previous.width(), previous.height());
      cairo_fill(cr.get());
      cairo_set_operator(cr.get(), CAIRO_OPERATOR_OVER);
    }
    for (const Rect& r : fresh) {
      if (!r.is_finite()) return {};
      cairo_save(cr.get());
      cairo_rectangle(cr.get(), r.x0, r.y0, r.width(), r.height());
      cairo_clip(cr.get());
      cairo_set_operator(cr.get(), CAIRO_OPERATOR_CLEAR);
      cairo_paint(cr.get());
      cairo_set_operator(cr.get(), CAIRO_OPERATOR_OVER);
      const bool drawn = replay(cr.get(), scene, device_scale, text).is_ok();
      cairo_restore(cr.get());
      if (!drawn) return {};
    }
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) return {};
  }
  cairo_surface_flush(builder.surface());
  return builder.finish();
}

}  // namespace zarn_ui::render
