#include "offline_panel/offline_panel.hpp"

#include <utility>

#include "base/text.hpp"

namespace maps {

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
}

// The field takes no event; its text changes only through the panel's own operations.
bool OfflinePanel::area_search_event(const zarn_ui::widget::Event&, std::uint32_t, std::uint8_t, double) {
  return false;
}

std::optional<std::string> OfflinePanel::take_due_query(MonoTime now) {
  if (!take_due(deadline_, now)) return std::nullopt;
  std::string query(base::trim_white_space(last_text_));
  if (query.empty()) return std::nullopt;
  return query;
}

void OfflinePanel::apply_area_search(const std::string& query, base::Result<std::vector<AreaCandidate>> result) {
  // Only the answer to the text the panel still shows counts.
  if (!open_) return;
  if (base::trim_white_space(query) != base::trim_white_space(last_text_)) return;
  std::vector<AreaCandidate> candidates;
  if (result.is_ok()) candidates = std::move(result).value();
  std::vector<std::string> items;
  items.reserve(candidates.size());
  for (const AreaCandidate& c : candidates) items.push_back(c.name);
  const bool any = !items.empty();
  area_input_.set_suggestions(std::move(items));
  area_input_.set_suggestions_open(any);
  candidates_ = std::move(candidates);
}

}  // namespace maps
