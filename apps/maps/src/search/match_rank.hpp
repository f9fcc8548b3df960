#pragma once
// How well a name answers a query, compared after folding both.

#include <cstdint>
#include <string_view>

namespace maps::search {

// Smaller is better.
enum class MatchRank : std::uint8_t { Exact = 0, Prefix = 1, Substring = 2, Other = 3 };

// An empty folded query ranks every name Exact, so ordering falls back to distance alone.
MatchRank match_rank(std::string_view query, std::string_view name);

}  // namespace maps::search
