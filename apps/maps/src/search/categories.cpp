#include "search/categories.hpp"

#include <array>
#include <cstddef>

namespace maps::search {
namespace {

struct CategoryWords {
  std::string_view label;
  std::array<std::string_view, 5> keywords;
  std::size_t keyword_count;
};

// One row per category, in the enumeration's order.
constexpr std::array<CategoryWords, 11> kCategoryWords = {{
    {"Landmark", {"sight", "landmark", "tourist"}, 3},
    {"Café", {"coffee", "cafe", "café", "espresso", "breakfast"}, 5},
    {"Restaurant", {"food", "eat", "lunch", "dinner", "restaurant"}, 5},
    {"Bar", {"beer", "drink", "pub", "bar", "biergarten"}, 5},
    {"Museum", {"art", "museum", "gallery", "history"}, 4},
    {"Park", {"park", "green", "garden", "nature"}, 4},
    {"Transit stop", {"station", "train", "metro", "transit", "bahnhof"}, 5},
    {"Hotel", {"hotel", "stay", "sleep", "room"}, 4},
    {"Shop", {"shop", "market", "store", "buy"}, 4},
    {"Hospital", {}, 0},
    {"Place", {}, 0},
}};

// A value outside the enumeration (from a cast) reads as Other.
const CategoryWords& words_of(Category category) {
  const auto i = static_cast<std::size_t>(category);
  return i < kCategoryWords.size() ? kCategoryWords[i] : kCategoryWords.back();
}

}  // namespace

std::string_view category_label(Category category) { return words_of(category).label; }

std::span<const std::string_view> category_keywords(Category category) {
  const CategoryWords& w = words_of(category);
  return {w.keywords.data(), w.keyword_count};
}

bool matches_category_keywords(std::string_view lower_query, Category category) {
  for (std::string_view k : category_keywords(category)) {
    if (lower_query.find(k) != std::string_view::npos || k.find(lower_query) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace maps::search
