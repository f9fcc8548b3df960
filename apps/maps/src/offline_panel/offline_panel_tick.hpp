#pragma once
// The offline maps panel's steps of the frame tick.

#include "net/worker_result.hpp"

namespace maps {

class MapsApp;

// Once the typing deadline has passed, a text that is not blank is searched as an area: one more
// job is pending (in every state; only a live state starts it).
void fire_area_search_deadline(MapsApp& app);
// An area-search answer reaches the panel.
void on_area_search(MapsApp& app, worker::AreaSearch result);
// The tile store's answers to cache jobs: each gives the cache size; a deleted area and a
// cleared cache report what they freed.
void apply_offline_cache_jobs(MapsApp& app);

}  // namespace maps
