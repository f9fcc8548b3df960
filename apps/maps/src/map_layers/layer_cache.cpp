#include "map_layers/layer_cache.hpp"

#include <algorithm>
#include <cmath>

#include "draw_kit/primitives.hpp"
#include "map_layers/traffic.hpp"
#include "map_layers/vector_map.hpp"
#include "zarn_ui/render.hpp"

namespace maps {

namespace {

// A shift this close to whole device pixels is taken as whole: centres read back from latitude
// and longitude carry rounding errors far below it, and Cairo places geometry in 1/256 pixel.
constexpr double kPixelSnap = 1e-4;
constexpr double kMaxSide = 32767.0;  // Cairo's limit for image surfaces
// Zoom levels apart beyond which a scaled picture says too little to stand in for the view.
constexpr double kMaxScaledZoomStep = 2.0;
// Threads the pictures are drawn with, besides the window's.
constexpr std::size_t kMaxPictureThreads = 7;

bool is_translation(const Affine& t) {
  return t.a == 1.0 && t.b == 0.0 && t.c == 0.0 && t.d == 1.0 && std::isfinite(t.e) && std::isfinite(t.f);
}

void paint_direct(Scene& scene, const Affine& transform, const Rect& bounds, const Camera& camera, const VectorMap& map,
                  const std::vector<TrafficSegment>* traffic, const MapPalette& palette,
                  const std::optional<Rect>& reach = std::nullopt) {
  paint_vector_map(scene, transform, bounds, camera, map, palette, reach);
  if (traffic) paint_traffic(scene, transform, camera, *traffic, palette);
}

bool is_empty(const Rect& r) { return !(r.x1 > r.x0 && r.y1 > r.y0); }

bool holds(const Rect& outer, const Rect& inner) {
  return inner.x0 >= outer.x0 && inner.y0 >= outer.y0 && inner.x1 <= outer.x1 && inner.y1 <= outer.y1;
}

Rect intersect(const Rect& a, const Rect& b) {
  return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

Rect shifted(const Rect& r, double dx, double dy) { return {r.x0 + dx, r.y0 + dy, r.x1 + dx, r.y1 + dy}; }

// `have` grown to hold `need`, with `room` to spare on each side where it had to grow.
Rect grown(const Rect& have, const Rect& need, double room) {
  Rect r = have;
  if (need.x0 < have.x0) r.x0 = need.x0 - room;
  if (need.y0 < have.y0) r.y0 = need.y0 - room;
  if (need.x1 > have.x1) r.x1 = need.x1 + room;
  if (need.y1 > have.y1) r.y1 = need.y1 + room;
  return r;
}

// The parts of `whole` outside `hole`, which it holds, as up to four bands.
std::vector<Rect> outside(const Rect& whole, const Rect& hole) {
  std::vector<Rect> out;
  const auto add = [&](Rect r) {
    if (!is_empty(r)) out.push_back(r);
  };
  add({whole.x0, whole.y0, whole.x1, hole.y0});
  add({whole.x0, hole.y1, whole.x1, whole.y1});
  add({whole.x0, hole.y0, hole.x0, hole.y1});
  add({hole.x1, hole.y0, whole.x1, hole.y1});
  return out;
}

}  // namespace

void MapLayers::set_caching(bool on) {
  caching_ = on;
  if (!on) release_picture();
}

void MapLayers::release_picture() {
  picture_ = {};
  filled_ = {};
  map_ = {};
  traffic_.clear();
  job_.forget();
  pending_.reset();
  scaled_ = false;
}

base::WorkPool& MapLayers::pool() {
  if (!pool_) pool_ = std::make_unique<base::WorkPool>(base::WorkPool::threads_for_cores(kMaxPictureThreads));
  return *pool_;
}

void MapLayers::paint_city(Scene& scene, const Affine& transform, const Rect& bounds, const Camera& camera,
                           const VectorMap& map, const std::vector<TrafficSegment>* traffic, const MapPalette& palette,
                           double device_scale) {
  const View v{Key{camera.zoom, bounds.width(), bounds.height(), device_scale, palette, traffic != nullptr},
               transform,
               bounds,
               camera,
               map,
               traffic,
               palette};
  scaled_ = false;
  if (caching_ && is_translation(transform)) {
    take_background_picture(v);
    if (background_ && (shows_other_zoom(v) || moves_past(v))) {
      paint_scaled(scene, v);
      start_background_picture(v);
      return;
    }
  }
  const std::optional<Point> at = caching_ && is_translation(transform) && prepare(v) ? corner(v) : std::nullopt;
  if (!at) {
    paint_direct(scene, transform, bounds, camera, map, traffic, palette);
    return;
  }
  // Picture pixels to the transform's space: one device pixel each, the top-left at `at`.
  const double s = device_scale;
  const Affine brush = Affine::translate(at->x / s - transform.e, at->y / s - transform.f) * Affine::scale(1.0 / s);
  scene.draw_image(picture_, brush, bounds, transform);
}

std::optional<Point> MapLayers::corner(const View& v) const {
  if (picture_.empty() || !(v.key == key_) || !(v.map == map_)) return std::nullopt;
  if (v.traffic && !(*v.traffic == traffic_)) return std::nullopt;
  const double s = v.key.device_scale;
  const double x = s * (v.transform.e + world_origin_.x - (v.camera.world_x - v.camera.screen_x));
  const double y = s * (v.transform.f + world_origin_.y - (v.camera.world_y - v.camera.screen_y));
  const double rx = std::round(x);
  const double ry = std::round(y);
  if (!(std::abs(x - rx) <= kPixelSnap && std::abs(y - ry) <= kPixelSnap)) return std::nullopt;
  return Point{rx, ry};
}

Rect MapLayers::view_pixels(const View& v) {
  const double s = v.key.device_scale;
  return {std::floor(s * (v.transform.e + v.bounds.x0)), std::floor(s * (v.transform.f + v.bounds.y0)),
          std::ceil(s * (v.transform.e + v.bounds.x1)), std::ceil(s * (v.transform.f + v.bounds.y1))};
}

bool MapLayers::prepare(const View& v) {
  const std::optional<Point> at = corner(v);
  if (!at) return start_picture(v, std::nullopt);
  const Rect view = shifted(view_pixels(v), -at->x, -at->y);
  if (holds(filled_, view)) return true;
  const Rect whole{0.0, 0.0, static_cast<double>(picture_.width()), static_cast<double>(picture_.height())};
  if (!holds(whole, view)) return start_picture(v, at);
  return fill(v, intersect(grown(filled_, view, kLookahead * v.key.device_scale), whole));
}

Scene MapLayers::picture_scene(const View& v, Point corner, double width, double height,
                               const std::vector<Rect>& fresh) const {
  // The picture's corner in the transform's space; its own camera draws the city from there.
  const double s = v.key.device_scale;
  Camera own = v.camera;
  own.screen_x = v.camera.screen_x - (corner.x / s - v.transform.e);
  own.screen_y = v.camera.screen_y - (corner.y / s - v.transform.f);
  Scene layers;
  // Only the fresh parts are drawn: what cannot reach them stays out of the scene.
  std::optional<Rect> reach;
  for (const Rect& r : fresh) {
    const Rect l{r.x0 / s, r.y0 / s, r.x1 / s, r.y1 / s};
    reach = reach ? Rect{std::min(reach->x0, l.x0), std::min(reach->y0, l.y0), std::max(reach->x1, l.x1),
                         std::max(reach->y1, l.y1)}
                  : l;
  }
  paint_direct(layers, Affine::identity(), {0.0, 0.0, width / s, height / s}, own, v.map, v.traffic, v.palette, reach);
  return layers;
}

bool MapLayers::fill(const View& v, const Rect& want) {
  const std::optional<Point> at = corner(v);
  if (!at) return false;
  const double w = picture_.width();
  const double h = picture_.height();
  const std::vector<Rect> fresh = outside(want, filled_);
  zarn_ui::Image picture =
      zarn_ui::render::render_opaque_in_bands(pool(), picture_, 0, 0, fresh, picture_scene(v, *at, w, h, fresh),
                                              picture_.width(), picture_.height(), v.key.device_scale);
  if (picture.empty()) return false;
  picture_ = std::move(picture);
  filled_ = want;
  ++extensions_;
  return true;
}

std::optional<MapLayers::Placement> MapLayers::place(const View& v) {
  const double s = v.key.device_scale;
  if (!(std::isfinite(s) && s > 0.0 && v.bounds.width() > 0.0 && v.bounds.height() > 0.0)) return std::nullopt;
  // The view and the margin around it, out to whole device pixels.
  const Rect view = view_pixels(v);
  Placement p;
  p.left = std::floor(s * (v.transform.e + v.bounds.x0 - kMargin));
  p.top = std::floor(s * (v.transform.f + v.bounds.y0 - kMargin));
  p.width = std::ceil(s * (v.transform.e + v.bounds.x1 + kMargin)) - p.left;
  p.height = std::ceil(s * (v.transform.f + v.bounds.y1 + kMargin)) - p.top;
  if (!(view.is_finite() && std::isfinite(p.left) && std::isfinite(p.top) && p.width >= 1.0 && p.height >= 1.0 &&
        p.width <= kMaxSide && p.height <= kMaxSide)) {
    return std::nullopt;
  }
  p.need = intersect(shifted(view, -p.left, -p.top), {0.0, 0.0, p.width, p.height});
  return p;
}

void MapLayers::keep_view(const View& v, double left, double top) {
  const double s = v.key.device_scale;
  key_ = v.key;
  if (!(map_ == v.map)) map_ = v.map;
  if (v.traffic) {
    if (!(traffic_ == *v.traffic)) traffic_ = *v.traffic;
  } else {
    traffic_.clear();
  }
  world_origin_ = {left / s - v.transform.e + (v.camera.world_x - v.camera.screen_x),
                   top / s - v.transform.f + (v.camera.world_y - v.camera.screen_y)};
}

bool MapLayers::start_picture(const View& v, std::optional<Point> old_corner) {
  const std::optional<Placement> p = place(v);
  if (!p) return false;
  const double s = v.key.device_scale;
  const Rect whole{0.0, 0.0, p->width, p->height};
  // What the old picture holds of the new one, at a whole-pixel offset.
  double dx = 0.0;
  double dy = 0.0;
  Rect kept;
  if (old_corner && !picture_.empty()) {
    dx = old_corner->x - p->left;
    dy = old_corner->y - p->top;
    if (std::abs(dx) < kMaxSide && std::abs(dy) < kMaxSide) kept = intersect(shifted(filled_, dx, dy), whole);
  }
  const bool keeps = !is_empty(kept);
  const Rect want = keeps ? intersect(grown(kept, p->need, kLookahead * s), whole) : p->need;
  const std::vector<Rect> fresh = keeps ? outside(want, kept) : std::vector<Rect>{want};
  const auto w = static_cast<std::uint32_t>(p->width);
  const auto h = static_cast<std::uint32_t>(p->height);
  zarn_ui::Image picture = zarn_ui::render::render_opaque_in_bands(
      pool(), keeps ? picture_ : zarn_ui::Image{}, static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy), fresh,
      picture_scene(v, {p->left, p->top}, p->width, p->height, fresh), w, h, s);
  if (picture.empty()) return false;
  picture_ = std::move(picture);
  filled_ = want;
  keep_view(v, p->left, p->top);
  // A picture being made for an older view would now only replace this one.
  job_.forget();
  pending_.reset();
  ++(keeps ? scrolls_ : rebuilds_);
  return true;
}

bool MapLayers::moves_past(const View& v) const {
  const std::optional<Point> at = corner(v);
  if (!at) return false;
  const Rect view = shifted(view_pixels(v), -at->x, -at->y);
  return !holds({0.0, 0.0, static_cast<double>(picture_.width()), static_cast<double>(picture_.height())}, view);
}

bool MapLayers::shows_other_zoom(const View& v) const {
  if (picture_.empty() || !std::isfinite(v.key.zoom) || v.key.zoom == key_.zoom) return false;
  if (std::abs(v.key.zoom - key_.zoom) > kMaxScaledZoomStep) return false;
  Key same = v.key;
  same.zoom = key_.zoom;
  if (!(same == key_) || !(v.map == map_)) return false;
  return !v.traffic || *v.traffic == traffic_;
}

void MapLayers::paint_scaled(Scene& scene, const View& v) {
  // A world point at the picture's zoom lies f times as far out at the view's.
  const double f = std::exp2(v.key.zoom - key_.zoom);
  const double s = v.key.device_scale;
  const double ox = world_origin_.x * f - (v.camera.world_x - v.camera.screen_x);
  const double oy = world_origin_.y * f - (v.camera.world_y - v.camera.screen_y);
  const double k = f / s;
  const Rect shown =
      intersect({ox + filled_.x0 * k, oy + filled_.y0 * k, ox + filled_.x1 * k, oy + filled_.y1 * k}, v.bounds);
  if (!holds(shown, v.bounds)) fill_rect(scene, v.transform, v.bounds, v.palette.land);
  if (!is_empty(shown)) {
    scene.draw_image(picture_, Affine::translate(ox, oy) * Affine::scale(k), shown, v.transform, 1.0f,
                     zarn_ui::scene::Sampling::Fast);
  }
  scaled_ = true;
}

void MapLayers::start_background_picture(const View& v) {
  if (job_.running() && pending_ && pending_->key == v.key) return;
  // One at a time: the newest view is asked for once the running one is done.
  if (job_.running()) return;
  const std::optional<Placement> p = place(v);
  if (!p) return;
  const double s = v.key.device_scale;
  job_.start(pool(), picture_scene(v, {p->left, p->top}, p->width, p->height, {p->need}),
             static_cast<std::uint32_t>(p->width), static_cast<std::uint32_t>(p->height), s, p->need);
  pending_ = Pending{v.key,
                     {p->left / s - v.transform.e + (v.camera.world_x - v.camera.screen_x),
                      p->top / s - v.transform.f + (v.camera.world_y - v.camera.screen_y)},
                     p->need};
}

void MapLayers::take_background_picture(const View& v) {
  std::optional<zarn_ui::Image> made = job_.take();
  if (!made || !pending_) return;
  const Pending done = *pending_;
  pending_.reset();
  // A picture that could not be made, or of a city that changed meanwhile, is dropped; the view
  // then makes its own.
  Key same = v.key;
  same.zoom = done.key.zoom;
  if (made->empty() || !(same == done.key) || !(v.map == map_) || (v.traffic && !(*v.traffic == traffic_))) return;
  picture_ = std::move(*made);
  filled_ = done.filled;
  key_ = done.key;
  world_origin_ = done.world_origin;
  ++rebuilds_;
}

}  // namespace maps
