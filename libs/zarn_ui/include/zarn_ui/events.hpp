#pragma once
// Window input events as the framework delivers them to widgets.

#include <cstdint>
#include <string>
#include <variant>

#include "zarn_ui/geometry.hpp"

namespace zarn_ui::widget {

// Modifier bits of the 32-bit mask handed to handle_event.
namespace modifiers {
inline constexpr std::uint32_t kShift = 0x1;
inline constexpr std::uint32_t kAlt = 0x8;
inline constexpr std::uint32_t kControl = 0x20;
inline constexpr std::uint32_t kSuper = 0x800;
}  // namespace modifiers

enum class NamedKey : std::uint8_t {
  Escape,
  Enter,
  Tab,
  Backspace,
  Delete,
  ArrowLeft,
  ArrowRight,
  ArrowUp,
  ArrowDown,
  Home,
  End,
  PageUp,
  PageDown,
  Space
};

// A key is either named or the text it types.
struct Key {
  std::variant<NamedKey, std::string> key;
  bool pressed = true;
  bool operator==(const Key&) const = default;

  bool is(NamedKey k) const { return std::holds_alternative<NamedKey>(key) && std::get<NamedKey>(key) == k; }
  const std::string* text() const { return std::get_if<std::string>(&key); }
};

// Pointer position in physical pixels; handle_event gets the scale factor beside it.
struct PointerMoved {
  Point position;
  bool operator==(const PointerMoved&) const = default;
};

struct Wheel {
  enum class Unit : std::uint8_t { Lines, Pixels };
  Unit unit = Unit::Lines;
  double dx = 0.0;
  double dy = 0.0;  // positive: away from the user (scroll up / zoom in)
  bool operator==(const Wheel&) const = default;
};

enum class MouseButton : std::uint8_t { Primary, Secondary, Middle, Other };

struct MouseButtonEvent {
  MouseButton button = MouseButton::Primary;
  bool pressed = true;
  bool operator==(const MouseButtonEvent&) const = default;
};

struct PointerLeft {
  bool operator==(const PointerLeft&) const = default;
};

// Text an input method is composing: shown at the caret of the focused field, not yet part of
// its text. `cursor` and `length` count code points within `text`; an empty text ends the
// composition. The composed text itself arrives as a Key with that text.
struct TextEditing {
  std::string text;
  std::int32_t cursor = 0;
  std::int32_t length = 0;
  bool operator==(const TextEditing&) const = default;
};

using Event = std::variant<Key, PointerMoved, Wheel, MouseButtonEvent, PointerLeft, TextEditing>;

}  // namespace zarn_ui::widget
