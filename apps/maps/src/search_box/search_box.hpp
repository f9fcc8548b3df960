#pragma once
// The search box at the top left: its text field, the suggestions under it, whether the list is
// open, and the typing deadline after which the typed text is searched.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/mono_clock.hpp"
#include "draw_kit/suggest_field.hpp"
#include "model/records.hpp"
#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/widget.hpp"
#include "zarn_ui/widgets.hpp"

namespace maps {

enum class SearchHitKind : std::uint8_t {
  Box,
  ClearButton,
  SuggestionRow,
  ListBackground,  // only absorbs presses
};

// One press area of the box or its list, recorded by its painters and then taken by the window
// into the frame's hit targets.
struct SearchHit {
  zarn_ui::Rect rect;
  SearchHitKind kind = SearchHitKind::Box;
  std::uint64_t index = 0;  // suggestion row
  bool operator==(const SearchHit&) const = default;
};

class SearchBox {
 public:
  SearchBox();

  const zarn_ui::widgets::TextInput& input() const { return field_.input(); }
  const std::vector<Place>& suggestions() const { return field_.suggestions(); }
  bool is_open() const { return open_; }
  const std::optional<base::MonoTime>& deadline() const { return deadline_; }
  // The list shows while open, with a query that is not blank and at least one suggestion.
  bool suggestions_showing(std::string_view query) const;

  void open() { open_ = true; }
  // Closes the list and keeps its suggestions (a submit asks for new ones).
  void close() {
    open_ = false;
    field_.clear_highlight();
  }
  // Empties the suggestions and clears the deadline.
  void clear_search_suggestions();
  void set_search_suggestions(std::vector<Place> places);
  // Closes the list, then clear_search_suggestions.
  void close_search_suggestions();
  // The suggestion at `index`, if there is one.
  std::optional<Place> suggestion(std::uint64_t index) const { return field_.suggestion(index); }
  // The row the arrow keys point at; none until they are used, and again after the list changes.
  const std::optional<std::uint64_t>& highlighted() const { return field_.highlighted(); }
  // Down (+1) and Up (-1) through the shown rows, wrapping; Up from none starts at the last row.
  void move_highlight(int delta) { field_.move_highlight(delta); }

  // Typed text, trimmed: `local` becomes the suggestions and the deadline is armed a typing pause
  // after `now`; a blank text empties the list and clears the deadline.
  void typed(std::string_view trimmed_query, std::vector<Place> local, base::MonoTime now);
  void arm_deadline(base::MonoTime at) { deadline_ = at; }
  // True once, when the typing deadline has passed.
  bool take_due_deadline(base::MonoTime now) { return base::take_due(deadline_, now); }

  // The field takes the keys from now on.
  void focus() { field_.input().focused = true; }
  // Hands an event to the field; true when it reported Enter.
  bool field_event(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx);
  // The field's new text once per change.
  std::optional<std::string> take_edited_text() { return field_.input().take_dirty(); }
  // Shows `query` in the field at `rect`, focused while the list is open, and draws it.
  void draw_field(const std::string& query, const zarn_ui::Rect& rect, zarn_ui::Scene& scene,
                  const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx);

  const std::vector<SearchHit>& hits() const { return hits_; }
  void clear_hits() { hits_.clear(); }
  void add_hit(SearchHit hit) { hits_.push_back(hit); }
  // The hits recorded since the last take, in order; the list is left empty.
  std::vector<SearchHit> take_hits() { return std::exchange(hits_, {}); }

 private:
  SuggestField field_;
  bool open_ = false;
  std::optional<base::MonoTime> deadline_;
  std::vector<SearchHit> hits_;
};

}  // namespace maps
