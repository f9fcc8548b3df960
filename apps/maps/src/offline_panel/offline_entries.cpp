#include "offline_panel/offline_entries.hpp"

#include <algorithm>
#include <optional>

#include <fmt/format.h>

#include "offline_panel/offline_panel.hpp"

namespace maps {

namespace {

bool has_area(const zarn_ui::Rect& r) { return r.width() > 0.0 && r.height() > 0.0; }

// The label and id of a hit entry's command; none for Close, FocusSearch and other zoom steps.
std::optional<std::pair<std::string, std::string>> described(const OfflineCommand& command) {
  if (const auto* zoom = std::get_if<OfflineCommand::Zoom>(&command.value)) {
    if (zoom->delta == -1)
      return std::pair<std::string, std::string>{"Decrease download detail", "maps.offline.zoom-out"};
    if (zoom->delta == 1)
      return std::pair<std::string, std::string>{"Increase download detail", "maps.offline.zoom-in"};
    return std::nullopt;
  }
  if (std::holds_alternative<OfflineCommand::Download>(command.value)) {
    return std::pair<std::string, std::string>{"Download selected area", "maps.offline.download"};
  }
  if (const auto* del = std::get_if<OfflineCommand::DeleteRegion>(&command.value)) {
    return std::pair<std::string, std::string>{"Delete downloaded area",
                                               fmt::format("maps.offline.region:{}:delete", del->id)};
  }
  if (std::holds_alternative<OfflineCommand::ClearCache>(command.value)) {
    return std::pair<std::string, std::string>{"Clear offline map cache", "maps.offline.clear"};
  }
  return std::nullopt;
}

}  // namespace

std::vector<OfflineEntry> offline_panel_entries(const OfflinePanel& panel) {
  std::vector<OfflineEntry> out;
  if (const auto& field = panel.search_field_rect(); field && has_area(*field)) {
    out.push_back({OfflineCommand{OfflineCommand::FocusSearch{}}, "Area to download", "maps.offline.search", *field});
  }
  // The close button is the smallest of the Close areas (the scrim is one too).
  const OfflineHit* close = nullptr;
  for (const OfflineHit& hit : panel.hits()) {
    if (!std::holds_alternative<OfflineCommand::Close>(hit.command.value) || !has_area(hit.rect)) continue;
    if (!close || hit.rect.area() < close->rect.area()) close = &hit;
  }
  if (close) out.push_back({close->command, "Close offline maps", "maps.offline.close", close->rect});
  for (const OfflineHit& hit : panel.hits()) {
    if (!has_area(hit.rect)) continue;
    auto d = described(hit.command);
    if (!d) continue;
    const bool seen = std::any_of(out.begin(), out.end(), [&](const OfflineEntry& e) { return e.id == d->second; });
    if (seen) continue;
    out.push_back({hit.command, std::move(d->first), std::move(d->second), hit.rect});
  }
  return out;
}

}  // namespace maps
