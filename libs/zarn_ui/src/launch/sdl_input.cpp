#include "sdl_input.hpp"

#include <algorithm>
#include <cmath>
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

// The text a printable key stands for when no text event comes with it: shortcuts (Control,
// Super, Alt), releases, and every key while text input is off. `typing` is a press that types:
// letters then follow Shift and Caps Lock, and the keypad gives its characters. Other shifted
// characters are the key's own (the layout's unshifted one), as SDL knows no more without text
// input.
std::optional<std::string> key_text(SDL_Keycode k, std::uint16_t mod, bool typing) {
  if (k >= 'a' && k <= 'z' && typing) {
    const bool upper = ((mod & KMOD_SHIFT) != 0) != ((mod & KMOD_CAPS) != 0);
    return std::string(1, static_cast<char>(upper ? k - 'a' + 'A' : k));
  }
  if (k >= 32 && k < 127) return std::string(1, static_cast<char>(k));
  if (!typing) return std::nullopt;
  switch (k) {
    case SDLK_KP_DIVIDE: return "/";
    case SDLK_KP_MULTIPLY: return "*";
    case SDLK_KP_MINUS: return "-";
    case SDLK_KP_PLUS: return "+";
    case SDLK_KP_EQUALS: return "=";
    default: break;
  }
  if ((mod & KMOD_NUM) == 0) return std::nullopt;
  if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return std::string(1, static_cast<char>('1' + (k - SDLK_KP_1)));
  if (k == SDLK_KP_0) return "0";
  if (k == SDLK_KP_PERIOD) return ".";
  return std::nullopt;
}

int to_sdl_coordinate(double v) { return static_cast<int>(std::clamp(std::isfinite(v) ? v : 0.0, -1e6, 1e6)); }

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
  return translate_sdl_event(e, scale, SDL_IsTextInputActive() == SDL_TRUE);
}

std::optional<TranslatedEvent> translate_sdl_event(const SDL_Event& e, double scale, bool text_input_active) {
  const std::uint32_t mods = modifiers_from_sdl(static_cast<std::uint16_t>(SDL_GetModState()));
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const bool pressed = e.type == SDL_KEYDOWN;
      const std::uint32_t m = modifiers_from_sdl(e.key.keysym.mod);
      if (auto k = named_key(e.key.keysym.sym)) return TranslatedEvent{widget::Key{*k, pressed}, m};
      // With text input on, printable keys arrive as SDL_TEXTINPUT presses; only shortcuts
      // (Control, Super, Alt) and releases come through here.
      const bool shortcut =
          (m & (widget::modifiers::kControl | widget::modifiers::kSuper | widget::modifiers::kAlt)) != 0;
      const bool typing = pressed && !shortcut;
      if (typing && text_input_active) return std::nullopt;
      if (auto t = key_text(e.key.keysym.sym, e.key.keysym.mod, typing)) {
        return TranslatedEvent{widget::Key{*t, pressed}, m};
      }
      return std::nullopt;
    }
    // Typed text is no shortcut: Alt is dropped from its modifiers, since Alt Gr may report as
    // the right Alt key.
    case SDL_TEXTINPUT:
      return TranslatedEvent{widget::Key{std::string(e.text.text), true}, mods & ~widget::modifiers::kAlt};
    case SDL_TEXTEDITING:
      return TranslatedEvent{widget::TextEditing{std::string(e.edit.text), e.edit.start, e.edit.length}, mods};
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

void TextInputSync::update(const std::optional<Rect>& caret) {
  if (!caret) {
    if (SDL_IsTextInputActive()) SDL_StopTextInput();
    placed_.reset();
    return;
  }
  if (placed_ != caret) {
    const int x = to_sdl_coordinate(std::floor(caret->x0)), y = to_sdl_coordinate(std::floor(caret->y0));
    SDL_Rect r{x, y, std::max(to_sdl_coordinate(std::ceil(caret->x1)) - x, 1),
               std::max(to_sdl_coordinate(std::ceil(caret->y1)) - y, 1)};
    SDL_SetTextInputRect(&r);
    placed_ = caret;
  }
  if (!SDL_IsTextInputActive()) SDL_StartTextInput();
}

}  // namespace zarn_ui::launch
