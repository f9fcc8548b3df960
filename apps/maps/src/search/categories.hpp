#pragma once
// What each place category is called and the words a search for it may use.

#include <span>
#include <string_view>

#include "model/enums.hpp"

namespace maps::search {

// The label shown in the panels and matched by local search ("Café", "Transit stop", "Place").
std::string_view category_label(Category category);
// The category's search keywords; Hospital and Other have none.
std::span<const std::string_view> category_keywords(Category category);
// True when the lower-cased query contains one of the category's keywords or is contained in one.
bool matches_category_keywords(std::string_view lower_query, Category category);

}  // namespace maps::search
