#pragma once
// The offline maps panel over the map: the scrim, the card with its area search, detail stepper,
// download status and progress, the downloaded areas and the two buttons, and the suggestion
// list on top. It records its press areas and places its field every frame it draws.

#include <cstddef>
#include <cstdint>

#include "model/records.hpp"
#include "offline_panel/offline_panel.hpp"
#include "tiles/tile_store.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/widget.hpp"

namespace maps {

// What the panel's painter reads of the rest of the window.
struct OfflinePanelInputs {
  // The downloaded regions, and the view's centre and zoom a download of the view covers.
  const MapModel& model;
  const zarn_ui::Rect& bounds;
  // The running download's figures.
  const TileStore& tiles;
};

// The estimate a download shows before it starts.
inline constexpr std::uint64_t kEstimatedTileBytes = 18000;
// Regions listed in the panel; the rest are counted as "+N more".
inline constexpr std::size_t kMaxListedRegions = 4;

// Draws only while the panel is open; the hit list is emptied first either way. Writes only the
// panel's own press areas and field rectangle.
void paint_offline_panel(OfflinePanel& panel, const OfflinePanelInputs& in, zarn_ui::Scene& scene,
                         const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx);

}  // namespace maps
