#pragma once
// The search box's step of the frame tick.

namespace maps {

class MapsApp;

// Once the typing deadline has passed, a query that is not blank is searched: one more job is
// pending (in every state; only a live state starts it) and the status says so.
void fire_search_deadline(MapsApp& app);

}  // namespace maps
