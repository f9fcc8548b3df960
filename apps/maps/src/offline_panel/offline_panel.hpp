#pragma once
// The offline maps panel: its area search field and the candidates found for it, the area picked
// from them, whether it is open, the text last seen in the field, the typing deadline, the zoom
// levels of detail a download adds, the cache size it shows and the press areas its painter
// records.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/mono_clock.hpp"
#include "base/result.hpp"
#include "messages/offline_command.hpp"
#include "model/records.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/widgets.hpp"

namespace maps {

inline constexpr std::chrono::milliseconds kAreaSearchPause{280};
inline constexpr std::uint8_t kMaxDownloadDetail = 6;

// A cache job the panel started on the tile store, and what its answer reports.
struct OfflineCacheWork {
  enum class Report { RegionRemoved, CacheCleared };
  std::uint64_t job = 0;
  Report report = Report::RegionRemoved;
  std::string region_name;  // RegionRemoved
  bool operator==(const OfflineCacheWork&) const = default;
};

class OfflinePanel {
 public:
  OfflinePanel();

  bool is_open() const { return open_; }
  zarn_ui::widgets::Autocomplete& area_input() { return area_input_; }
  const zarn_ui::widgets::Autocomplete& area_input() const { return area_input_; }
  const std::string& last_text() const { return last_text_; }
  const std::vector<AreaCandidate>& candidates() const { return candidates_; }
  const std::optional<AreaCandidate>& chosen_area() const { return chosen_area_; }
  const std::optional<base::MonoTime>& deadline() const { return deadline_; }
  std::uint64_t disk_usage() const { return disk_usage_; }
  std::uint8_t download_detail() const { return download_detail_; }
  const std::optional<zarn_ui::Rect>& search_field_rect() const { return search_field_rect_; }
  const std::vector<OfflineHit>& hits() const { return hits_; }
  // While open, the panel's scrim (the first area its painter records) is the window's modal area.
  std::optional<zarn_ui::Rect> modal_rect() const;

  // Opens the panel with the cache size to show, the field empty and editing.
  void begin_area_search(std::uint64_t disk_usage);
  // Closes the panel; the search is reset and the press areas are dropped.
  void end_area_search();
  // The field empty, its dropdown closed and empty, no candidates, no chosen area, no deadline
  // and no field rectangle.
  void reset_area_search();
  // One event for the field (pointer positions physical, as the framework gives them). A text
  // that changed arms the typing deadline (or, when blank, empties the suggestions); a chosen
  // suggestion becomes the chosen area; an edit, a submit or a close shuts the dropdown. An event
  // that leaves no outcome (the pointer moving over the suggestions) leaves the dropdown open.
  // True when the field took the event.
  bool area_search_event(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx,
                         base::MonoTime now);

  // Adds `delta` levels of detail, kept within 0 ..= 6.
  void change_download_detail(int delta);
  void set_disk_usage(std::uint64_t bytes) { disk_usage_ = bytes; }
  // The panel's cache jobs waiting for their answer.
  void expect_cache_job(OfflineCacheWork work) { cache_work_.push_back(std::move(work)); }
  std::optional<OfflineCacheWork> take_cache_work(std::uint64_t job);
  const std::vector<OfflineCacheWork>& cache_work() const { return cache_work_; }
  // What the last deletion or clearing did ("Removed “…” · 1.2 MB freed"), shown in the panel's
  // status line in place of the download before it; a new download drops it.
  const std::optional<std::string>& cache_report() const { return cache_report_; }
  void set_cache_report(std::optional<std::string> report) { cache_report_ = std::move(report); }
  // The field's text as last seen, and when it is to be searched.
  void set_last_text(std::string text) { last_text_ = std::move(text); }
  void arm_deadline(base::MonoTime at) { deadline_ = at; }
  // A demonstration shows the panel as if the text had been typed and answered.
  void show_demonstration(std::string text, std::vector<AreaCandidate> candidates, std::uint64_t disk_usage);
  // The trimmed text to search once the typing deadline has passed; none before, or for a blank text.
  std::optional<std::string> take_due_query(base::MonoTime now);
  // An area-search answer: while open and still for the text shown (both trimmed), the candidates
  // replace the old ones and fill the dropdown, open when there are any. A failed search empties
  // both.
  void apply_area_search(const std::string& query, base::Result<std::vector<AreaCandidate>> result);

  // The painter places the field every frame it draws the panel.
  void place_search_field(const zarn_ui::Rect& rect);
  void clear_hits() { hits_.clear(); }
  void add_hit(OfflineHit hit) { hits_.push_back(std::move(hit)); }

 private:
  void set_candidates(std::vector<AreaCandidate> candidates);

  zarn_ui::widgets::Autocomplete area_input_;
  bool open_ = false;
  std::string last_text_;
  std::vector<AreaCandidate> candidates_;
  std::optional<AreaCandidate> chosen_area_;
  std::optional<base::MonoTime> deadline_;
  std::optional<zarn_ui::Rect> search_field_rect_;
  std::optional<zarn_ui::Point> pointer_;  // logical
  std::uint64_t disk_usage_ = 0;
  std::uint8_t download_detail_ = 2;
  std::vector<OfflineHit> hits_;
  std::vector<OfflineCacheWork> cache_work_;
  std::optional<std::string> cache_report_;
};

// A candidate as a suggestion row: its name as label and id, its label as the detail line.
zarn_ui::widgets::ListItem area_suggestion_item(const AreaCandidate& candidate);

}  // namespace maps
