#include "sdl_input.hpp"

#include <string>

namespace zarn_ui::launch {
namespace {

using widget::NamedKey;

std::optional<NamedKey> named_key(SDL_Keycode k) {
  switch (k) {
    case SDLK_ESCAPE: return NamedKey::Escape;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return NamedKey::Enter;
    case SDLK_TAB: return NamedKey::Tab;
    case SDLK_BACKSPACE: return NamedKey::Backspace;
    case SDLK_DELETE: return NamedKey::Delete;
    case SDLK_LEFT: return NamedKey::ArrowLeft;
    case SDLK_RIGHT: return NamedKey::ArrowRight;
    case SDLK_UP: return NamedKey::ArrowUp;
    case SDLK_DOWN: return NamedKey::ArrowDown;
    case SDLK_HOME: return NamedKey::Home;
    case SDLK_END: return NamedKey::End;
    case SDLK_PAGEUP: return NamedKey::PageUp;
    case SDLK_PAGEDOWN: return NamedKey::PageDown;
    default: return std::nullopt;
  }
}

// The text a printable key stands for when no text event comes with it (Control or Super held,
// and key releases).
std::optional<std::string> key_text(SDL_Keycode k) {
  if (k >= 32 && k < 127) return std::string(1, static_cast<char>(k));
  return std::nullopt;
}

}  // namespace

std::uint32_t modifiers_from_sdl(std::uint16_t mod) {
  std::uint32_t out = 0;
  if (mod & KMOD_SHIFT) out |= widget::modifiers::kShift;
  if (mod & KMOD_ALT) out |= widget::modifiers::kAlt;
  if (mod & KMOD_CTRL) out |= widget::modifiers::kControl;
  if (mod & KMOD_GUI) out |= widget::modifiers::kSuper;
  return out;
}

std::optional<TranslatedEvent> translate_sdl_event(const SDL_Event& e, double scale) {
  const std::uint32_t mods = modifiers_from_sdl(static_cast<std::uint16_t>(SDL_GetModState()));
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const bool pressed = e.type == SDL_KEYDOWN;
      const std::uint32_t m = modifiers_from_sdl(e.key.keysym.mod);
      if (auto k = named_key(e.key.keysym.sym)) return TranslatedEvent{widget::Key{*k, pressed}, m};
      // Printable keys arrive as SDL_TEXTINPUT presses; only shortcuts (Control, Super, Alt) and
      // releases come through here.
      const bool shortcut =
          (m & (widget::modifiers::kControl | widget::modifiers::kSuper | widget::modifiers::kAlt)) != 0;
      if (e.key.keysym.sym == SDLK_SPACE && pressed && !shortcut) return std::nullopt;
      if (!pressed || shortcut) {
        if (auto t = key_text(e.key.keysym.sym)) return TranslatedEvent{widget::Key{*t, pressed}, m};
      }
      return std::nullopt;
    }
    case SDL_TEXTINPUT: return TranslatedEvent{widget::Key{std::string(e.text.text), true}, mods};
    case SDL_MOUSEMOTION:
      // SDL reports window coordinates; the framework's pointer events are physical pixels.
      return TranslatedEvent{widget::PointerMoved{{e.motion.x * scale, e.motion.y * scale}}, mods};
    case SDL_MOUSEWHEEL: {
      double dy = e.wheel.preciseY, dx = e.wheel.preciseX;
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) {
        dy = -dy;
        dx = -dx;
      }
      return TranslatedEvent{widget::Wheel{widget::Wheel::Unit::Lines, dx, dy}, mods};
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      widget::MouseButton b = widget::MouseButton::Other;
      if (e.button.button == SDL_BUTTON_LEFT)
        b = widget::MouseButton::Primary;
      else if (e.button.button == SDL_BUTTON_RIGHT)
        b = widget::MouseButton::Secondary;
      else if (e.button.button == SDL_BUTTON_MIDDLE)
        b = widget::MouseButton::Middle;
      return TranslatedEvent{widget::MouseButtonEvent{b, e.type == SDL_MOUSEBUTTONDOWN}, mods};
    }
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_LEAVE) return TranslatedEvent{widget::PointerLeft{}, mods};
      return std::nullopt;
    default: return std::nullopt;
  }
}

}  // namespace zarn_ui::launch
