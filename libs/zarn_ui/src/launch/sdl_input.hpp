#pragma once
// SDL2 events to the framework's widget events.

#include <SDL.h>

#include <cstdint>
#include <optional>

#include "zarn_ui/events.hpp"

namespace zarn_ui::launch {

struct TranslatedEvent {
  widget::Event event;
  std::uint32_t modifiers = 0;
};

std::uint32_t modifiers_from_sdl(std::uint16_t mod);
// The widget event for one SDL event, or nothing for events widgets do not see.
std::optional<TranslatedEvent> translate_sdl_event(const SDL_Event& e, double scale);

}  // namespace zarn_ui::launch
