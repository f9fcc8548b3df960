#pragma once
// The directions page and its endpoint editor in the window: what they read built from the app,
// their keys, presses and typing pause handed the app's session.

#include <cstdint>

#include "directions/directions_panel.hpp"
#include "directions/endpoint_editor.hpp"
#include "draw_kit/primitives.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

class MapsApp;

DirectionsInputs directions_inputs(const MapsApp& app);
// The edited field's suggestion card (the overlay's layer above the side panel).
void paint_endpoint_suggestions(MapsApp& app, Scene& scene, const Affine& transform, const TextRenderer& text,
                                const zarn_ui::theme::Theme& theme);
// A key, or composed text, while a field is being edited.
void endpoint_field_key(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                        std::uint32_t modifiers, zarn_ui::state::State& state, double scale);
void endpoint_field_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale);
// One of the editor's areas activated without a pointer (the accessibility tree).
void activate_endpoint_hit(MapsApp& app, const EndpointHit& hit, zarn_ui::state::State& state);
// A press at `p`; false when none of the editor's areas is under it.
bool endpoint_editor_press(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale,
                           zarn_ui::Point p, zarn_ui::state::State& state);
// The editor's steps of the frame tick: the model's query texts reach it; its typing pause.
void sync_endpoint_texts(MapsApp& app);
void fire_endpoint_deadline(MapsApp& app);

}  // namespace maps
