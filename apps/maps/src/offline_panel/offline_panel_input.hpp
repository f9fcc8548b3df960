#pragma once
// The offline maps panel's input while it is open: presses, keys and the events of its
// area-search field.

#include <optional>

#include "base/mono_clock.hpp"
#include "messages/ui_message.hpp"
#include "offline_panel/offline_panel.hpp"
#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"

namespace maps {

// What a press did: whether the panel took it, and what the area it landed on asks for.
struct OfflinePress {
  bool handled = false;
  std::optional<UiMessage> message;
};

// The field first, then the panel's areas, the last recorded first: an area asks for its
// command (`msg::Offline`). Not handled when neither took it.
OfflinePress offline_panel_press(OfflinePanel& panel, const zarn_ui::widget::Event& event,
                                 const zarn_ui::widgets::EventCtx& ctx, base::MonoTime now, zarn_ui::Point p);
// A key: Escape closes the panel, every other key goes to the field.
void offline_panel_key(OfflinePanel& panel, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                       const zarn_ui::widgets::EventCtx& ctx, base::MonoTime now);

}  // namespace maps
