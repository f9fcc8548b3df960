#include "offline_panel/offline_panel.hpp"

#include <algorithm>
#include <utility>

#include "base/text.hpp"

namespace maps {

using zarn_ui::widgets::AutocompleteOutcome;
using zarn_ui::widgets::ListItem;

ListItem area_suggestion_item(const AreaCandidate& candidate) {
  ListItem item = ListItem::create(candidate.name, candidate.name);
  if (!candidate.label.empty()) item = std::move(item).with_detail(candidate.label);
  return item;
}

OfflinePanel::OfflinePanel()
    : area_input_(zarn_ui::widgets::Autocomplete::create()
                      .with_id("maps_download_search")
                      .with_placeholder("Search a city or place to download")) {
  area_input_.text_size = 14.0f;
}

std::optional<zarn_ui::Rect> OfflinePanel::modal_rect() const {
  if (open_ && !hits_.empty()) return hits_.front().rect;
  return std::nullopt;
}

void OfflinePanel::begin_area_search(std::uint64_t disk_usage) {
  disk_usage_ = disk_usage;
  open_ = true;
  reset_area_search();
  area_input_.begin_edit();
}

void OfflinePanel::end_area_search() {
  open_ = false;
  reset_area_search();
  hits_.clear();
}

void OfflinePanel::reset_area_search() {
  area_input_.set_text("");
  area_input_.close();
  area_input_.set_suggestions({});
  candidates_.clear();
  deadline_.reset();
  chosen_area_.reset();
  search_field_rect_.reset();
}

bool OfflinePanel::area_search_event(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx,
                                     base::MonoTime now) {
  using zarn_ui::widget::MouseButton;
  using zarn_ui::widget::MouseButtonEvent;
  if (const auto* moved = std::get_if<zarn_ui::widget::PointerMoved>(&event)) {
    pointer_ = moved->position * ctx.inverse_scale();
  } else if (std::holds_alternative<zarn_ui::widget::PointerLeft>(event)) {
    pointer_.reset();
  }
  if (const auto* button = std::get_if<MouseButtonEvent>(&event);
      button && button->pressed && button->button == MouseButton::Primary && pointer_ && search_field_rect_ &&
      search_field_rect_->contains(*pointer_) && !area_input_.editing()) {
    area_input_.begin_edit();
  }

  const bool handled = area_input_.handle_event(event, ctx);

  if (area_input_.text() != last_text_) {
    last_text_ = area_input_.text();
    chosen_area_.reset();
    if (!base::trim_white_space(last_text_).empty()) {
      deadline_ = now + kAreaSearchPause;
    } else {
      deadline_.reset();
      candidates_.clear();
      area_input_.set_suggestions({});
    }
  }

  // No outcome (the pointer moved over the list, the highlight moved) leaves the dropdown alone.
  if (std::optional<AutocompleteOutcome> outcome = area_input_.take_outcome()) {
    if (const AutocompleteOutcome::Chosen* chosen = outcome->chosen()) {
      auto it = std::find_if(candidates_.begin(), candidates_.end(),
                             [&](const AreaCandidate& c) { return c.name == chosen->id; });
      if (it != candidates_.end()) {
        area_input_.set_text(it->name);
        last_text_ = it->name;
        chosen_area_ = *it;
      }
      deadline_.reset();
    }
    area_input_.set_suggestions_open(false);
  }
  return handled;
}

void OfflinePanel::change_download_detail(int delta) {
  download_detail_ = static_cast<std::uint8_t>(std::clamp(int{download_detail_} + delta, 0, int{kMaxDownloadDetail}));
}

void OfflinePanel::show_demonstration(std::string text, std::vector<AreaCandidate> candidates,
                                      std::uint64_t disk_usage) {
  open_ = true;
  disk_usage_ = disk_usage;
  area_input_.set_text(text);
  area_input_.begin_edit();
  last_text_ = std::move(text);
  set_candidates(std::move(candidates));
  area_input_.set_suggestions_open(true);
}

std::optional<std::string> OfflinePanel::take_due_query(base::MonoTime now) {
  if (!base::take_due(deadline_, now)) return std::nullopt;
  std::string query(base::trim_white_space(last_text_));
  if (query.empty()) return std::nullopt;
  return query;
}

void OfflinePanel::set_candidates(std::vector<AreaCandidate> candidates) {
  std::vector<ListItem> items;
  items.reserve(candidates.size());
  for (const AreaCandidate& c : candidates) items.push_back(area_suggestion_item(c));
  area_input_.set_suggestion_items(std::move(items));
  candidates_ = std::move(candidates);
}

void OfflinePanel::apply_area_search(const std::string& query, base::Result<std::vector<AreaCandidate>> result) {
  // Only the answer to the text the panel still shows counts.
  if (!open_) return;
  if (base::trim_white_space(query) != base::trim_white_space(last_text_)) return;
  std::vector<AreaCandidate> candidates;
  if (result.is_ok()) candidates = std::move(result).value();
  const bool any = !candidates.empty();
  set_candidates(std::move(candidates));
  area_input_.set_suggestions_open(any);
}

std::optional<OfflineCacheWork> OfflinePanel::take_cache_work(std::uint64_t job) {
  auto it = std::find_if(cache_work_.begin(), cache_work_.end(), [&](const auto& w) { return w.job == job; });
  if (it == cache_work_.end()) return std::nullopt;
  OfflineCacheWork work = std::move(*it);
  cache_work_.erase(it);
  return work;
}

void OfflinePanel::place_search_field(const zarn_ui::Rect& rect) {
  search_field_rect_ = rect;
  area_input_.set_rect(rect);
}

}  // namespace maps
