#pragma once
// What the framework's widgets get beside an event.

#include <cstdint>

#include "zarn_ui/clipboard.hpp"
#include "zarn_ui/events.hpp"

namespace zarn_ui::widgets {

struct EventCtx {
  std::uint32_t modifiers = 0;                // widget::modifiers bits
  double scale = 1.0;                         // physical pixels per logical pixel; pointer events are physical
  clipboard::Clipboard* clipboard = nullptr;  // none: cut, copy and paste do nothing

  // The factor that turns a physical pointer position into a logical one.
  double inverse_scale() const { return scale > 0.0 && scale < 1e6 ? 1.0 / scale : 1.0; }
  bool shift() const { return (modifiers & widget::modifiers::kShift) != 0; }
  // Control or Super: the shortcut modifiers.
  bool command() const { return (modifiers & (widget::modifiers::kControl | widget::modifiers::kSuper)) != 0; }
};

}  // namespace zarn_ui::widgets
