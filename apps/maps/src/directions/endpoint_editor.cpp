#include "directions/endpoint_editor.hpp"

#include <utility>

#include "base/text.hpp"
#include "draw_kit/text_field.hpp"

namespace maps {
namespace {

bool is_origin(EndpointField field) { return field == EndpointField::Origin; }

}  // namespace

EndpointEditor::EndpointEditor() : origin_("Choose starting point", 13.0f), dest_("Choose destination", 13.0f) {}

const zarn_ui::widgets::TextInput& EndpointEditor::input(EndpointField f) const { return field(f).input(); }

const std::vector<Place>& EndpointEditor::suggestions(EndpointField f) const { return field(f).suggestions(); }

const std::string& EndpointEditor::text(EndpointField field) const {
  return is_origin(field) ? origin_text_ : dest_text_;
}

void EndpointEditor::set_endpoint_suggestions(EndpointField f, std::vector<Place> places) {
  field(f).set_suggestions(std::move(places));
}

void EndpointEditor::set_endpoint_search_unanswered(EndpointField f, std::string query, bool failed) {
  (is_origin(f) ? origin_unanswered_ : dest_unanswered_) = Unanswered{std::move(query), failed};
}

std::optional<std::string_view> EndpointEditor::no_suggestions_text(EndpointField f) const {
  const std::optional<Unanswered>& ended = is_origin(f) ? origin_unanswered_ : dest_unanswered_;
  if (!ended || ended->query != base::trim_white_space(text(f))) return std::nullopt;
  return ended->failed ? std::string_view("Search failed") : std::string_view("No matching places");
}

void EndpointEditor::move_highlight(int delta) {
  if (!editing()) return;
  field(active_).move_highlight(delta);
}

std::optional<Place> EndpointEditor::take_suggestion(EndpointField f, std::uint64_t index) {
  SuggestField& list = field(f);
  auto place = list.suggestion(index);
  if (place) list.clear_suggestions();
  return place;
}

void EndpointEditor::set_endpoint_texts(const std::string& origin, const std::string& dest) {
  if (origin != origin_text_) {
    origin_text_ = origin;
    if (active_ == EndpointField::Origin) origin_.input().set_text(origin);
  }
  if (dest != dest_text_) {
    dest_text_ = dest;
    if (active_ == EndpointField::Destination) dest_.input().set_text(dest);
  }
}

void EndpointEditor::begin_endpoint_edit(EndpointField f) {
  const bool origin = is_origin(f);
  deadline_.reset();
  (origin ? origin_text_ : dest_text_).clear();
  active_ = origin ? EndpointField::Origin : EndpointField::Destination;
  clear_highlights();
  SuggestField& active = field(active_);
  active.clear_suggestions();
  deactivate_text_input(field(origin ? EndpointField::Destination : EndpointField::Origin).input());
  active.input().focused = true;
  active.input().set_text("");
}

void EndpointEditor::reset_endpoint_editor() {
  active_ = EndpointField::None;
  deadline_.reset();
  clear_highlights();
  deactivate_text_input(origin_.input());
  deactivate_text_input(dest_.input());
}

std::optional<EndpointEvent> EndpointEditor::field_key(const zarn_ui::widget::Event& event,
                                                       const zarn_ui::widgets::EventCtx& ctx, base::MonoTime now) {
  const EndpointField edited = is_origin(active_) ? EndpointField::Origin : EndpointField::Destination;
  SuggestField& f = field(edited);
  auto& input = f.input();
  std::string& copy = is_origin(edited) ? origin_text_ : dest_text_;
  input.focused = true;
  if (f.event(event, ctx)) {
    deadline_.reset();
    return EndpointEvent{EndpointEvent::Submitted{std::string(base::trim_white_space(copy)), edited}};
  }
  auto text = input.take_dirty();
  if (!text) return std::nullopt;
  copy = *text;
  f.clear_highlight();
  if (base::trim_white_space(copy).empty()) {
    deadline_.reset();
  } else {
    deadline_ = now + kTypingPause;
  }
  return EndpointEvent{EndpointEvent::TextEdited{copy, edited}};
}

void EndpointEditor::route_to_fields(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx) {
  origin_.event(event, ctx);
  dest_.event(event, ctx);
}

void EndpointEditor::field_event(EndpointField f, const zarn_ui::widget::Event& event,
                                 const zarn_ui::widgets::EventCtx& ctx) {
  field(f).event(event, ctx);
}

void EndpointEditor::draw_field(EndpointField f, const std::string& text, const zarn_ui::Rect& rect,
                                zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                                const zarn_ui::widget::PaintCtx& ctx) {
  field(f).draw(text, active_ == f, rect, scene, transform, ctx);
}

}  // namespace maps
