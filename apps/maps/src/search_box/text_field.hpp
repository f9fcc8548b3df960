#pragma once
// The framework text field as the search box and the route endpoint fields use it: how one is
// built, and how a key reaches it.

#include <cstdint>
#include <string>

#include "zarn_ui/events.hpp"
#include "zarn_ui/widgets.hpp"

namespace maps {

// A single-line local field of kind 2 that selects its text on focus and reports Enter.
zarn_ui::widgets::TextInput new_search_text_input(std::string placeholder, float text_size);

// A focused field edits its text with typed keys (the changed text is then taken with
// TextInput::take_dirty); the result says whether the field reported Enter.
bool text_input_event(zarn_ui::widgets::TextInput& input, const zarn_ui::widget::Event& event, std::uint32_t modifiers,
                      std::uint8_t extra, double scale);

// An inactive field shows no caret and no pending edit.
void deactivate_text_input(zarn_ui::widgets::TextInput& input);

}  // namespace maps
