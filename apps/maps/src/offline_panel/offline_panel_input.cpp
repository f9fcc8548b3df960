#include "offline_panel/offline_panel_input.hpp"

#include "geo/screen_view.hpp"

namespace maps {

OfflinePress offline_panel_press(OfflinePanel& panel, const zarn_ui::widget::Event& event,
                                 const zarn_ui::widgets::EventCtx& ctx, base::MonoTime now, zarn_ui::Point p) {
  if (panel.area_search_event(event, ctx, now)) return {true, std::nullopt};
  const auto& hits = panel.hits();
  for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
    if (rect_contains_point(it->rect, p.x, p.y)) return {true, UiMessage{msg::Offline{it->command}}};
  }
  return {};
}

void offline_panel_key(OfflinePanel& panel, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                       const zarn_ui::widgets::EventCtx& ctx, base::MonoTime now) {
  if (key.is(zarn_ui::widget::NamedKey::Escape)) {
    panel.end_area_search();
  } else {
    panel.area_search_event(event, ctx, now);
  }
}

}  // namespace maps
