#pragma once
// What the offline maps panel's commands do: close, change the detail, download the area, delete
// one region (only the tiles no other region needs) or clear the cache.

#include "messages/offline_command.hpp"
#include "offline_panel/offline_panel.hpp"
#include "transitions/session.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

// Opens the panel showing the last measured cache size; the tile worker measures the cache again
// and the figure follows when it answers, so a large cache never holds up the window.
void open_offline_panel(OfflinePanel& panel, Session& s);
// Lasting changes are committed as actions at once. The files of a deletion or a clear go on the
// tile worker; the status tells what they freed when it answers.
void offline_panel_command(OfflinePanel& panel, Session& s, zarn_ui::state::State& state,
                           const OfflineCommand& command);
// The tile store's answers to cache jobs: each gives the cache size; a deleted area and a
// cleared cache report what they freed.
void apply_offline_cache_jobs(OfflinePanel& panel, Session& s);

}  // namespace maps
