#include "offline_panel/offline_panel_tick.hpp"

namespace maps {

std::optional<UiMessage> offline_panel_tick(OfflinePanel& panel, base::MonoTime now) {
  auto query = panel.take_due_query(now);
  if (!query) return std::nullopt;
  return UiMessage{msg::AskAreaSearch{std::move(*query)}};
}

}  // namespace maps
