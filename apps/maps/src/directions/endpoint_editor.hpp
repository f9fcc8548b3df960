#pragma once
// The route endpoint editor of the directions panel: the origin and destination fields, the
// suggestions of each, which field is being edited, the editor's copies of the two query texts,
// the typing deadline, and the press areas its painters record.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/mono_clock.hpp"
#include "draw_kit/suggest_field.hpp"
#include "messages/endpoint_event.hpp"
#include "messages/endpoint_field.hpp"
#include "model/records.hpp"
#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/widget.hpp"
#include "zarn_ui/widgets.hpp"

namespace maps {

enum class EndpointHitKind : std::uint8_t {
  FieldBox,
  SuggestionRow,
  SwapButton,
  SuggestionCard,  // only absorbs presses
};

// One press area of the editor. Emptied at the start of every draw and tested from the last to
// the first, like the frame's hit targets.
struct EndpointHit {
  zarn_ui::Rect rect;
  EndpointHitKind kind = EndpointHitKind::FieldBox;
  EndpointField field = EndpointField::Origin;
  std::uint64_t index = 0;  // suggestion row
  bool operator==(const EndpointHit&) const = default;
};

class EndpointEditor {
 public:
  EndpointEditor();

  // The field being edited; None while neither is.
  EndpointField active() const { return active_; }
  bool editing() const { return active_ != EndpointField::None; }
  // The field's text input and suggestions; None reads the destination's.
  const zarn_ui::widgets::TextInput& input(EndpointField field) const;
  const std::vector<Place>& suggestions(EndpointField field) const;
  // The editor's copy of the field's query text.
  const std::string& text(EndpointField field) const;
  const std::optional<base::MonoTime>& deadline() const { return deadline_; }
  const std::vector<EndpointHit>& hits() const { return hits_; }
  // The suggestion row of the edited field that the arrow keys point at; none until they are
  // used, and again whenever the list, the text or the edited field changes.
  const std::optional<std::uint64_t>& highlighted() const { return field(active_).highlighted(); }
  // Down (+1) and Up (-1) through the edited field's shown suggestions, wrapping.
  void move_highlight(int delta);

  void set_endpoint_suggestions(EndpointField field, std::vector<Place> places);
  // The search for `query` in the field came back with no place, or failed. While the field's
  // text, trimmed, is still that query, its card says so instead of "Searching…".
  void set_endpoint_search_unanswered(EndpointField field, std::string query, bool failed);
  // "No matching places" or "Search failed" for the field's current text, when its search ended so.
  std::optional<std::string_view> no_suggestions_text(EndpointField field) const;
  // The suggestion of the field's row `index`; taking it empties that field's list. None (and the
  // list kept) when there is no such row.
  std::optional<Place> take_suggestion(EndpointField field, std::uint64_t index);
  // Given the model's two query texts every frame: a changed text replaces the copy, and the field
  // being edited shows it.
  void set_endpoint_texts(const std::string& origin, const std::string& dest);
  // Starts editing `field` (None counts as the destination): the field empties and takes the keys.
  void begin_endpoint_edit(EndpointField field);
  // Ends editing; neither field shows a caret.
  void reset_endpoint_editor();

  void arm_deadline(base::MonoTime at) { deadline_ = at; }
  // True once, when the typing deadline has passed.
  bool take_due_deadline(base::MonoTime now) { return base::take_due(deadline_, now); }

  // An event for the field being edited (a key, composed text): Enter submits its trimmed copy
  // (and clears the deadline); a change replaces the copy and arms the deadline a typing pause
  // after `now` (none for a blank text). Nothing when the event changed nothing.
  std::optional<EndpointEvent> field_key(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx,
                                         base::MonoTime now);
  // Hands an event to both fields.
  void route_to_fields(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx);
  // Hands an event to one field.
  void field_event(EndpointField field, const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx);
  // Shows `text` in the field at `rect`, focused while it is being edited, and draws it.
  void draw_field(EndpointField field, const std::string& text, const zarn_ui::Rect& rect, zarn_ui::Scene& scene,
                  const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx);

  void set_boxes(std::optional<zarn_ui::Rect> origin, std::optional<zarn_ui::Rect> dest) {
    origin_box_ = origin;
    dest_box_ = dest;
  }
  // The field's box as last painted; none before the directions panel drew it.
  const std::optional<zarn_ui::Rect>& box(EndpointField field) const {
    return field == EndpointField::Origin ? origin_box_ : dest_box_;
  }
  // Emptied at the start of every draw, with the boxes: a field not painted anchors nothing.
  void clear_hits() {
    hits_.clear();
    origin_box_.reset();
    dest_box_.reset();
  }
  void add_hit(EndpointHit hit) { hits_.push_back(std::move(hit)); }

 private:
  // None reads the destination's, as the public readers do.
  SuggestField& field(EndpointField field) { return field == EndpointField::Origin ? origin_ : dest_; }
  const SuggestField& field(EndpointField field) const { return field == EndpointField::Origin ? origin_ : dest_; }
  void clear_highlights() {
    origin_.clear_highlight();
    dest_.clear_highlight();
  }

  SuggestField origin_;
  SuggestField dest_;
  EndpointField active_ = EndpointField::None;
  std::optional<base::MonoTime> deadline_;
  std::string origin_text_;
  std::string dest_text_;
  // The query each field's last search ended without places for, and whether it failed.
  struct Unanswered {
    std::string query;
    bool failed = false;
  };
  std::optional<Unanswered> origin_unanswered_;
  std::optional<Unanswered> dest_unanswered_;
  std::vector<EndpointHit> hits_;
  std::optional<zarn_ui::Rect> origin_box_;
  std::optional<zarn_ui::Rect> dest_box_;
};

}  // namespace maps
