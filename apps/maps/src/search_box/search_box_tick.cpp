#include "search_box/search_box_tick.hpp"

#include <utility>

#include "base/text.hpp"

namespace maps {

std::optional<UiMessage> search_box_tick(SearchBox& box, const std::string& query, base::MonoTime now) {
  if (!box.take_due_deadline(now)) return std::nullopt;
  std::string trimmed(base::trim_white_space(query));
  if (trimmed.empty()) return std::nullopt;
  return UiMessage{msg::AskPlaceSearch{std::move(trimmed)}};
}

}  // namespace maps
