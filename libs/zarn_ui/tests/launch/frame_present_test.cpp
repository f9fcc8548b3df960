#include "frame_present.hpp"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

namespace zarn_ui::launch {
namespace {

constexpr int kW = 40, kH = 30;

SdlSurface surface_of(Uint32 format) {
  SdlSurface s(SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, format));
  // What the window showed before: a frame must not let it through where it paints nothing.
  if (s) SDL_FillRect(s.get(), nullptr, SDL_MapRGB(s->format, 90, 160, 30));
  return s;
}

std::array<Uint8, 3> rgb_at(SDL_Surface* s, int x, int y) {
  Uint32 px = 0;
  std::memcpy(&px, static_cast<Uint8*>(s->pixels) + y * s->pitch + 4 * x, 4);
  std::array<Uint8, 3> out{};
  SDL_GetRGB(px, s->format, &out[0], &out[1], &out[2]);
  return out;
}

// Straight into pixels of Cairo's own layout, or drawn apart and converted: the same colours,
// black where nothing is painted, and nothing of what the window held before.
TEST(FramePainter, PaintsTheSameIntoEitherKindOfWindowSurface) {
  Scene covered;
  covered.fill(Rect{0, 0, kW, kH}, Color::rgba(1, 0, 0));
  covered.fill(Rect{0, 0, 20, kH}, Color::rgba(0, 0, 1, 0.5f));
  Scene partial;
  partial.fill(Rect{0, 0, 20, kH}, Color::rgba(0, 0, 1, 0.5f));
  struct Case {
    const char* what;
    const Scene* scene;
    std::array<Uint8, 3> left, right;
  };
  const Case cases[] = {{"covered", &covered, {127, 0, 128}, {255, 0, 0}},
                        {"partial", &partial, {0, 0, 128}, {0, 0, 0}}};
  for (Uint32 format : {SDL_PIXELFORMAT_RGB888, SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_ABGR8888}) {
    for (const Case& c : cases) {
      SdlSurface target = surface_of(format);
      ASSERT_TRUE(target);
      FramePainter painter;
      ASSERT_TRUE(painter.paint_into(target.get(), *c.scene, 1.0, nullptr).is_ok());
      EXPECT_EQ(painter.direct(), format != SDL_PIXELFORMAT_ABGR8888) << SDL_GetPixelFormatName(format);
      EXPECT_EQ(rgb_at(target.get(), 5, 5), c.left) << c.what << " " << SDL_GetPixelFormatName(format);
      EXPECT_EQ(rgb_at(target.get(), 35, 25), c.right) << c.what << " " << SDL_GetPixelFormatName(format);
    }
  }
}

}  // namespace
}  // namespace zarn_ui::launch
