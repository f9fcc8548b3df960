#pragma once
// The offline maps panel: its area search field and the candidates found for it, whether it is
// open, the text last seen in the field, the typing deadline, the cache size it shows and the
// press areas its painter records.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/mono_clock.hpp"
#include "base/result.hpp"
#include "model/records.hpp"
#include "offline_panel/offline_command.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/widgets.hpp"

namespace maps {

class OfflinePanel {
 public:
  OfflinePanel();

  bool is_open() const { return open_; }
  const zarn_ui::widgets::Autocomplete& area_input() const { return area_input_; }
  const std::string& last_text() const { return last_text_; }
  const std::vector<AreaCandidate>& candidates() const { return candidates_; }
  const std::optional<MonoTime>& deadline() const { return deadline_; }
  std::uint64_t disk_usage() const { return disk_usage_; }
  const std::vector<OfflineHit>& hits() const { return hits_; }
  // While open, the panel's scrim (the first area its painter records) is the window's modal area.
  std::optional<zarn_ui::Rect> modal_rect() const;

  // Opens the panel with the cache size to show, the field empty and editing.
  void begin_area_search(std::uint64_t disk_usage);
  // Closes the panel; the search is reset and the press areas are dropped.
  void end_area_search();
  // The field empty, its dropdown closed and empty, no candidates, no deadline.
  void reset_area_search();
  // True when the field took the event.
  bool area_search_event(const zarn_ui::widget::Event& event, std::uint32_t modifiers, std::uint8_t extra,
                         double scale);

  void set_disk_usage(std::uint64_t bytes) { disk_usage_ = bytes; }
  // The field's text as last seen, and when it is to be searched.
  void set_last_text(std::string text) { last_text_ = std::move(text); }
  void arm_deadline(MonoTime at) { deadline_ = at; }
  // The trimmed text to search once the typing deadline has passed; none before, or for a blank text.
  std::optional<std::string> take_due_query(MonoTime now);
  // An area-search answer: while open and still for the text shown (both trimmed), the candidates
  // replace the old ones and their names fill the dropdown, open when there are any. A failed
  // search empties them.
  void apply_area_search(const std::string& query, base::Result<std::vector<AreaCandidate>> result);

  void clear_hits() { hits_.clear(); }
  void add_hit(OfflineHit hit) { hits_.push_back(std::move(hit)); }

 private:
  zarn_ui::widgets::Autocomplete area_input_;
  bool open_ = false;
  std::string last_text_;
  std::vector<AreaCandidate> candidates_;
  std::optional<MonoTime> deadline_;
  std::uint64_t disk_usage_ = 0;
  std::vector<OfflineHit> hits_;
};

}  // namespace maps
