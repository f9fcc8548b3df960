#include "draw_kit/text_field.hpp"

#include <utility>

namespace maps {

zarn_ui::widgets::TextInput new_search_text_input(std::string placeholder, float text_size) {
  auto input = zarn_ui::widgets::TextInput::local();
  input.text_size = text_size;
  input.submit_on_enter = true;
  input.set_placeholder(std::move(placeholder));
  return input;
}

bool text_input_event(zarn_ui::widgets::TextInput& input, const zarn_ui::widget::Event& event,
                      const zarn_ui::widgets::EventCtx& ctx) {
  input.handle_event(event, ctx);
  return input.take_submitted();
}

void place_text_input(zarn_ui::widgets::TextInput& input, const zarn_ui::Rect& rect) { input.set_rect(rect); }

void deactivate_text_input(zarn_ui::widgets::TextInput& input) { input.focused = false; }

}  // namespace maps
