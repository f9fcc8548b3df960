#pragma once
// The framework text field as the search box and the route endpoint fields use it: how one is
// built, how an event reaches it, and how it is placed and put to rest.

#include <chrono>
#include <string>

#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/widgets.hpp"

namespace maps {

// How long typing must pause before a field's text is searched.
inline constexpr std::chrono::milliseconds kTypingPause{280};

// A single-line local field of kind 2 that reports Enter.
zarn_ui::widgets::TextInput new_search_text_input(std::string placeholder, float text_size);

// Hands an event to the field (keys edit only a focused field; the changed text is then taken
// with TextInput::take_dirty). True when the field reported Enter.
bool text_input_event(zarn_ui::widgets::TextInput& input, const zarn_ui::widget::Event& event,
                      const zarn_ui::widgets::EventCtx& ctx);

// Moves the field to `rect`; its laid-out text moves with it.
void place_text_input(zarn_ui::widgets::TextInput& input, const zarn_ui::Rect& rect);

// An inactive field shows no caret, no selection and no composition.
void deactivate_text_input(zarn_ui::widgets::TextInput& input);

}  // namespace maps
