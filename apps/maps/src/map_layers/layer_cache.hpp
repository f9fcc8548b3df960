#pragma once
// What the map layers keep between frames: the vector city with its traffic, rasterised into a
// picture that reaches past the view. While only the centre moves by whole device pixels the
// picture is drawn shifted instead of stroking every street again. It is filled as the view
// needs it: a new picture holds just the view (so making one costs what drawing the layers
// directly does), a move towards an unfilled part fills a band there with some room to spare,
// and a move past the picture starts one around the view that keeps the pixels the two share.
// A change of zoom, size, device scale, colours, city or traffic, or a move by a fraction of a
// device pixel, starts a new picture. A new zoom alone, or a move past the picture, is made off
// the window's thread: until it is done the picture at hand is shown scaled or moved, over land
// where it does not reach. Pictures are drawn in bands on a small pool of
// threads.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "base/work_pool.hpp"
#include "map_layers/picture_job.hpp"
#include "map_layers/pin_images.hpp"

#include "draw_kit/palette.hpp"
#include "draw_kit/primitives.hpp"
#include "geo/geo.hpp"
#include "model/vector_map.hpp"
#include "zarn_ui/image.hpp"

namespace maps {

class MapLayers {
 public:
  // Logical pixels of picture beyond each side of the view.
  static constexpr double kMargin = 256.0;
  // Logical pixels filled beyond the view's edge when a move needs an unfilled part.
  static constexpr double kLookahead = 128.0;

  // The vector city in `bounds`, and the traffic over it when `traffic` is given.
  void paint_city(Scene& scene, const Affine& transform, const Rect& bounds, const Camera& camera, const VectorMap& map,
                  const std::vector<TrafficSegment>* traffic, const MapPalette& palette, double device_scale);

  // Off: every frame draws the layers directly (what the picture is compared with).
  void set_caching(bool on);
  // Off: a new zoom or a move past the picture makes its picture at once, in the frame that
  // needs it.
  void set_background_pictures(bool on) { background_ = on; }
  // A picture is being made off the window's thread, or one is shown scaled: frames must go on
  // until it is in place.
  bool picture_pending() const { return job_.running() || scaled_; }
  // Blocks until the picture being made off the window's thread is done (tests, benchmarks).
  void wait_for_picture() const { job_.wait(); }
  bool caching() const { return caching_; }
  // Frees the picture, for frames that do not show the city.
  void release_picture();

  // The pins kept as images for crowded views.
  PinImages& pin_images() { return pins_; }

  // Pictures started, filled further, and moved along with the view.
  std::uint64_t rebuilds() const { return rebuilds_; }
  std::uint64_t extensions() const { return extensions_; }
  std::uint64_t scrolls() const { return scrolls_; }
  // The picture in use, empty before the first or while caching is off.
  const zarn_ui::Image& picture() const { return picture_; }
  // Its filled part, in its own pixels.
  const Rect& filled() const { return filled_; }

 private:
  // What the picture shows, besides where the centre is.
  struct Key {
    double zoom = 0.0;
    double width = 0.0;
    double height = 0.0;
    double device_scale = 0.0;
    MapPalette palette;
    bool traffic = false;
    bool operator==(const Key&) const = default;
  };
  // One frame's request.
  struct View {
    Key key;
    const Affine& transform;
    const Rect& bounds;
    const Camera& camera;
    const VectorMap& map;
    const std::vector<TrafficSegment>* traffic;
    const MapPalette& palette;
  };

  // Where the picture's top-left pixel lands on the target in this view, when the picture shows
  // what this view needs (same key and content) at a whole-pixel shift.
  std::optional<Point> corner(const View& v) const;
  // The view on the target, in device pixels, out to whole pixels.
  static Rect view_pixels(const View& v);
  // Brings the picture to where it holds the view; false when no picture can serve it.
  bool prepare(const View& v);
  bool start_picture(const View& v, std::optional<Point> old_corner);
  bool fill(const View& v, const Rect& want);
  // Where a new picture around this view lies (its corner and size on the target, device pixels)
  // and the part of it the view needs.
  struct Placement {
    double left = 0, top = 0, width = 0, height = 0;
    Rect need;
  };
  static std::optional<Placement> place(const View& v);
  // The picture shows this view's city at another zoom, near enough to stand in for it.
  bool shows_other_zoom(const View& v) const;
  // The view has moved past the picture: it shows part of it at a whole-pixel shift.
  bool moves_past(const View& v) const;
  void paint_scaled(Scene& scene, const View& v);
  // Takes the picture made off the thread, when it is done and still shows this city.
  void take_background_picture(const View& v);
  void start_background_picture(const View& v);
  base::WorkPool& pool();
  // The key, map and traffic a picture was made for, and where its corner lies in the world.
  void keep_view(const View& v, double left, double top);
  // The layers of this view as the scene of a picture of width x height device pixels whose
  // top-left lands at `corner` on the target.
  // Only what reaches `fresh` (the picture's pixels to be drawn) is in it.
  Scene picture_scene(const View& v, Point corner, double width, double height, const std::vector<Rect>& fresh) const;

  bool caching_ = true;
  bool background_ = true;
  bool scaled_ = false;  // the last frame showed the picture scaled
  std::unique_ptr<base::WorkPool> pool_;
  PictureJob job_;
  // What the job being made is for.
  struct Pending {
    Key key;
    Point world_origin;
    Rect filled;
  };
  std::optional<Pending> pending_;
  PinImages pins_;
  std::uint64_t rebuilds_ = 0;
  std::uint64_t extensions_ = 0;
  std::uint64_t scrolls_ = 0;
  zarn_ui::Image picture_;
  Rect filled_;
  Key key_;
  VectorMap map_;
  std::vector<TrafficSegment> traffic_;
  // World position (logical pixels at the key's zoom) of the picture's top-left corner.
  Point world_origin_;
};

}  // namespace maps
