#pragma once
// The framework's themes: named colours and a few sizes that every painter reads.

#include "zarn_ui/color.hpp"

namespace zarn_ui::theme {

// The text scales a theme honours; the launcher refuses others.
inline constexpr float kMinTextScale = 0.5f;
inline constexpr float kMaxTextScale = 4.0f;

struct Theme {
  // Status and emphasis.
  Color success;
  Color warning;
  Color danger;
  Color info;
  Color shadow;
  Color control;  // button faces
  Color tone_1;
  Color tone_2;
  Color tone_3;
  Color tone_4;
  Color foreground;
  Color muted;
  Color border;
  Color background;
  Color surface;
  Color hover;
  Color focus;
  Color text;
  Color text_secondary;
  Color accent;

  float spacing = 16.0f;
  float corner_radius = 14.0f;
  // Unscaled; painters multiply sizes by text_scale themselves.
  float title_size = 18.0f;
  float text_scale = 1.0f;
  bool reduce_motion = false;

  bool operator==(const Theme&) const = default;

  static Theme light();
  static Theme dark();
  // Dark, with stronger foregrounds and borders.
  static Theme high_contrast();
  // The same theme with `text_scale` = scale; a scale that is not a positive finite number
  // keeps 1, and the scale is held within kMinTextScale .. kMaxTextScale.
  Theme with_text_scale(float scale) const;
};

// Luminance 0.2126 R + 0.7152 G + 0.0722 B of a colour's 8-bit channels (0 .. 255).
double luminance8(const Color& c);

// How far two opaque colours stand out from each other, 1 to 21 (WCAG's contrast ratio of their
// relative luminances); alpha is ignored.
double contrast_ratio(const Color& a, const Color& b);
// `top` laid over an opaque `below`, opaque.
Color composite(const Color& top, const Color& below);
// The label colour for text on an opaque `fill`: white or near black, whichever stands out more.
Color label_on(const Color& fill);
// `color` (laid over `fill`) as it is when it stands out `least` : 1 from the opaque `fill`,
// else moved toward black or white, whichever needs the smaller step, just far enough to; the
// hue stays. Normal text needs 4.5 : 1.
Color readable_on(const Color& color, const Color& fill, double least = 4.5);

}  // namespace zarn_ui::theme
