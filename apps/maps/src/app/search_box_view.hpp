#pragma once
// The search box in the window: what it reads built from the app, its hits taken into the
// frame's list where it paints, its keys handed the app's session, its typing pause routed.

#include <cstdint>
#include <optional>

#include "draw_kit/primitives.hpp"
#include "messages/ui_message.hpp"
#include "search_box/search_box_paint.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/widget.hpp"

namespace maps {

class MapsApp;

SearchBoxInputs search_box_inputs(const MapsApp& app);
// Each layer paints, and its press areas join the frame's hit targets.
void paint_search_box(MapsApp& app, Scene& scene, const Affine& transform, const zarn_ui::widget::PaintCtx& ctx);
void paint_search_suggestions(MapsApp& app, Scene& scene, const Affine& transform, const TextRenderer& text,
                              const zarn_ui::theme::Theme& theme);
// A key while the list is open; returns what the window is to do with a chosen suggestion.
std::optional<UiMessage> search_box_key(MapsApp& app, const zarn_ui::widget::Event& event,
                                        const zarn_ui::widget::Key& key, std::uint32_t modifiers,
                                        zarn_ui::state::State& state, double scale);
void search_box_field_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers,
                            zarn_ui::state::State* state, double scale);
// The typing pause: once it is over, the query is searched.
void fire_search_deadline(MapsApp& app, zarn_ui::state::State& state);

}  // namespace maps
