#pragma once
// The offline maps panel over the map: the scrim, the card with its area search, detail stepper,
// download status and progress, the downloaded areas and the two buttons, and the suggestion
// list on top. It records its press areas and places its field every frame it draws.

#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/widget.hpp"

namespace maps {

class MapsApp;

// The estimate a download shows before it starts.
inline constexpr std::uint64_t kEstimatedTileBytes = 18000;
// Regions listed in the panel; the rest are counted as "+N more".
inline constexpr std::size_t kMaxListedRegions = 4;

// Draws only while the panel is open; the hit list is emptied first either way.
void paint_offline_panel(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                         const zarn_ui::widget::PaintCtx& ctx);

}  // namespace maps
