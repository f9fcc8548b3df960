#pragma once
// SDL2 events to the framework's widget events.

#include <SDL.h>

#include <cstdint>
#include <optional>

#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"

namespace zarn_ui::launch {

struct TranslatedEvent {
  widget::Event event;
  std::uint32_t modifiers = 0;
};

std::uint32_t modifiers_from_sdl(std::uint16_t mod);
// The widget event for one SDL event, or nothing for events widgets do not see. While SDL's
// text input is on, typed characters come as SDL_TEXTINPUT (and composition as
// SDL_TEXTEDITING); while it is off, a printable key's press brings its character itself.
std::optional<TranslatedEvent> translate_sdl_event(const SDL_Event& e, double scale, bool text_input_active);
// The same, with SDL's own text-input state.
std::optional<TranslatedEvent> translate_sdl_event(const SDL_Event& e, double scale);

// SDL's text input follows the focused field: on, with the input method's candidates at the
// caret, while a field reports its caret for the frame; off otherwise, so that keys outside a
// field are not taken by an input method.
class TextInputSync {
 public:
  void update(const std::optional<Rect>& caret);

 private:
  std::optional<Rect> placed_;
};

}  // namespace zarn_ui::launch
