#pragma once
// The search box's step of the frame tick.

#include <optional>
#include <string>

#include "base/mono_clock.hpp"
#include "messages/ui_message.hpp"
#include "search_box/search_box.hpp"

namespace maps {

// Once the typing deadline has passed, a query that is not blank asks to be searched.
std::optional<UiMessage> search_box_tick(SearchBox& box, const std::string& query, base::MonoTime now);

}  // namespace maps
