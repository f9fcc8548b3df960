#include "directions/endpoint_editor.hpp"

#include <utility>

#include "base/text.hpp"
#include "draw_kit/suggestion_rows.hpp"
#include "draw_kit/text_field.hpp"

namespace maps {
namespace {

bool is_origin(EndpointField field) { return field == EndpointField::Origin; }

}  // namespace

EndpointEditor::EndpointEditor()
    : origin_input_(new_search_text_input("Choose starting point", 13.0f)),
      dest_input_(new_search_text_input("Choose destination", 13.0f)) {}

const zarn_ui::widgets::TextInput& EndpointEditor::input(EndpointField field) const {
  return is_origin(field) ? origin_input_ : dest_input_;
}

zarn_ui::widgets::TextInput& EndpointEditor::input_of(EndpointField field) {
  return is_origin(field) ? origin_input_ : dest_input_;
}

const std::vector<Place>& EndpointEditor::suggestions(EndpointField field) const {
  return is_origin(field) ? origin_suggestions_ : dest_suggestions_;
}

const std::string& EndpointEditor::text(EndpointField field) const {
  return is_origin(field) ? origin_text_ : dest_text_;
}

void EndpointEditor::set_endpoint_suggestions(EndpointField field, std::vector<Place> places) {
  (is_origin(field) ? origin_suggestions_ : dest_suggestions_) = std::move(places);
  if (field == active_) highlighted_.reset();
}

void EndpointEditor::move_highlight(int delta) {
  if (!editing()) return;
  highlighted_ = step_highlight(highlighted_, suggestions(active_).size(), delta);
}

std::optional<Place> EndpointEditor::take_suggestion(EndpointField field, std::uint64_t index) {
  auto& list = is_origin(field) ? origin_suggestions_ : dest_suggestions_;
  if (index >= list.size()) return std::nullopt;
  Place place = list[index];
  list.clear();
  if (field == active_) highlighted_.reset();
  return place;
}

void EndpointEditor::set_endpoint_texts(const std::string& origin, const std::string& dest) {
  if (origin != origin_text_) {
    origin_text_ = origin;
    if (active_ == EndpointField::Origin) origin_input_.set_text(origin);
  }
  if (dest != dest_text_) {
    dest_text_ = dest;
    if (active_ == EndpointField::Destination) dest_input_.set_text(dest);
  }
}

void EndpointEditor::begin_endpoint_edit(EndpointField field) {
  const bool origin = is_origin(field);
  deadline_.reset();
  (origin ? origin_text_ : dest_text_).clear();
  active_ = origin ? EndpointField::Origin : EndpointField::Destination;
  (origin ? origin_suggestions_ : dest_suggestions_).clear();
  highlighted_.reset();
  auto& active = origin ? origin_input_ : dest_input_;
  deactivate_text_input(origin ? dest_input_ : origin_input_);
  active.focused = true;
  active.set_text("");
}

void EndpointEditor::reset_endpoint_editor() {
  active_ = EndpointField::None;
  deadline_.reset();
  highlighted_.reset();
  deactivate_text_input(origin_input_);
  deactivate_text_input(dest_input_);
}

std::optional<EndpointEvent> EndpointEditor::field_key(const zarn_ui::widget::Event& event,
                                                       const zarn_ui::widgets::EventCtx& ctx, base::MonoTime now) {
  const EndpointField field = is_origin(active_) ? EndpointField::Origin : EndpointField::Destination;
  auto& input = input_of(field);
  std::string& copy = is_origin(field) ? origin_text_ : dest_text_;
  input.focused = true;
  if (text_input_event(input, event, ctx)) {
    deadline_.reset();
    return EndpointEvent{EndpointEvent::Submitted{std::string(base::trim_white_space(copy)), field}};
  }
  auto text = input.take_dirty();
  if (!text) return std::nullopt;
  copy = *text;
  highlighted_.reset();
  if (base::trim_white_space(copy).empty()) {
    deadline_.reset();
  } else {
    deadline_ = now + kTypingPause;
  }
  return EndpointEvent{EndpointEvent::TextEdited{copy, field}};
}

void EndpointEditor::route_to_fields(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx) {
  text_input_event(origin_input_, event, ctx);
  text_input_event(dest_input_, event, ctx);
}

void EndpointEditor::field_event(EndpointField field, const zarn_ui::widget::Event& event,
                                 const zarn_ui::widgets::EventCtx& ctx) {
  text_input_event(input_of(field), event, ctx);
}

void EndpointEditor::draw_field(EndpointField field, const std::string& text, const zarn_ui::Rect& rect,
                                zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                                const zarn_ui::widget::PaintCtx& ctx) {
  auto& input = input_of(field);
  input.set_text(text);
  if (active_ == field) {
    input.focused = true;
  } else {
    deactivate_text_input(input);
  }
  place_text_input(input, rect);
  input.draw(scene, transform, ctx);
}

}  // namespace maps
