#include "zarn_ui/theme.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zarn_ui::theme {
namespace {

constexpr Color hex(std::uint32_t rgb, float alpha = 1.0f) {
  return Color::from_rgba8(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                           static_cast<std::uint8_t>(rgb))
      .with_alpha(alpha);
}

}  // namespace

Theme Theme::light() {
  Theme t;
  t.success = hex(0x2f9e5b);
  t.warning = hex(0xe0a11b);
  t.danger = hex(0xd64541);
  t.info = hex(0x2d7fd3);
  t.shadow = hex(0x000000, 0.35f);
  t.control = hex(0xeceef2);
  t.tone_1 = hex(0x7a5cc9);
  t.tone_2 = hex(0xc95c9f);
  t.tone_3 = hex(0x2aa3a3);
  t.tone_4 = hex(0x8f6b3e);
  t.foreground = hex(0x1b1e24);
  t.muted = hex(0x686c75);
  t.border = hex(0xd4d8df);
  t.background = hex(0xf4f5f7);
  t.surface = hex(0xffffff);
  t.hover = hex(0xe6e9ee);
  t.focus = hex(0x2563eb);
  t.text = hex(0x1b1e24);
  t.text_secondary = hex(0x5b6270);
  t.accent = hex(0x2563eb);
  return t;
}

Theme Theme::dark() {
  Theme t;
  t.success = hex(0x3fbf74);
  t.warning = hex(0xf0b43c);
  t.danger = hex(0xef5b57);
  t.info = hex(0x4a9ff0);
  t.shadow = hex(0x000000, 0.6f);
  t.control = hex(0x2b3039);
  t.tone_1 = hex(0x9b82e6);
  t.tone_2 = hex(0xe07fb8);
  t.tone_3 = hex(0x4cc2c2);
  t.tone_4 = hex(0xc39a64);
  t.foreground = hex(0xe8eaee);
  t.muted = hex(0x9298a3);
  t.border = hex(0x3a404b);
  t.background = hex(0x17191e);
  t.surface = hex(0x22262d);
  t.hover = hex(0x2f343d);
  t.focus = hex(0x5b8cff);
  t.text = hex(0xe8eaee);
  t.text_secondary = hex(0xa3a9b5);
  t.accent = hex(0x5b8cff);
  return t;
}

Theme Theme::high_contrast() {
  Theme t = dark();
  t.success = hex(0x4be38a);
  t.warning = hex(0xffd23f);
  t.danger = hex(0xff6b66);
  t.info = hex(0x6cb8ff);
  t.shadow = hex(0x000000, 0.8f);
  t.control = hex(0x1a1a1a);
  t.foreground = hex(0xffffff);
  t.muted = hex(0xc8c8c8);
  t.border = hex(0xffffff);
  t.background = hex(0x000000);
  t.surface = hex(0x0d0d0d);
  t.hover = hex(0x333333);
  t.focus = hex(0xffd23f);
  t.text = hex(0xffffff);
  t.text_secondary = hex(0xe0e0e0);
  t.accent = hex(0xffd23f);
  return t;
}

Theme Theme::with_text_scale(float scale) const {
  Theme t = *this;
  t.text_scale = (std::isfinite(scale) && scale > 0.0f) ? std::clamp(scale, kMinTextScale, kMaxTextScale) : 1.0f;
  return t;
}

double luminance8(const Color& c) {
  return 0.2126 * channel_to_u8(c.r) + 0.7152 * channel_to_u8(c.g) + 0.0722 * channel_to_u8(c.b);
}

namespace {

double linear(float c) {
  const double v = std::clamp(static_cast<double>(c), 0.0, 1.0);
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double relative_luminance(const Color& c) { return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b); }

Color toward(const Color& c, const Color& target, float t) {
  return {c.r + (target.r - c.r) * t, c.g + (target.g - c.g) * t, c.b + (target.b - c.b) * t, 1.0f};
}

constexpr Color kNearBlack = Color::from_rgba8(0x11, 0x11, 0x11);

}  // namespace

double contrast_ratio(const Color& a, const Color& b) {
  const double la = relative_luminance(a), lb = relative_luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color composite(const Color& top, const Color& below) {
  const float a = std::clamp(top.a, 0.0f, 1.0f);
  return {top.r * a + below.r * (1 - a), top.g * a + below.g * (1 - a), top.b * a + below.b * (1 - a), 1.0f};
}

Color label_on(const Color& fill) {
  return contrast_ratio(Color::white(), fill) >= contrast_ratio(kNearBlack, fill) ? Color::white() : kNearBlack;
}

Color readable_on(const Color& color, const Color& fill, double least) {
  const Color shown = composite(color, fill);
  if (contrast_ratio(shown, fill) >= least) return color;
  // The smallest step toward either end that reaches `least`; the better end when none does.
  constexpr int kSteps = 40;
  for (int i = 1; i <= kSteps; ++i) {
    const float t = static_cast<float>(i) / kSteps;
    for (const Color& end : {Color::white(), Color::black()}) {
      const Color c = toward(shown, end, t);
      if (contrast_ratio(c, fill) >= least) return c;
    }
  }
  return label_on(fill);
}

}  // namespace zarn_ui::theme
